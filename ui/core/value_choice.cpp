#include "ui/core/value_choice.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "document/place_path.h"
#include "toolkit/text/number_text.h"

Value_choice value_choice(std::int64_t value, const Named_values* values)
{
    Value_choice choice;
    if (!values || values->empty())
        return choice;
    choice.named_allowed = true;
    const auto found = values->find(value);
    choice.named = found != values->end();
    choice.entry = choice.named ? static_cast<int>(std::distance(values->begin(), found)) : 0;
    return choice;
}

std::optional<std::int64_t> named_value_at(const Named_values* values, int entry)
{
    if (!values || entry < 0 || entry >= static_cast<int>(values->size()))
        return std::nullopt;
    return std::next(values->begin(), entry)->first;
}

std::string hex_field_text(std::uint64_t value, int byte_count)
{
    std::string text;
    append_hex_digits(text, value, 2 * byte_count);
    return text;
}

std::string position_field_text(std::uint32_t position) { return hex_field_text(position, 4); }

namespace {

std::optional<std::uint32_t> read_field(std::string_view text, int base)
{
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || at != end)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::uint32_t> read_hex_field(std::string_view text) { return read_field(text, 16); }
std::optional<std::uint32_t> read_decimal_field(std::string_view text) { return read_field(text, 10); }

std::int64_t value_key(std::uint64_t bits, int byte_count)
{
    return byte_count > 4 ? static_cast<std::int64_t>(bits) : std::int64_t{static_cast<std::int32_t>(bits)};
}

std::optional<std::int64_t> decimal_field_value(std::string_view text, std::int64_t minimum, std::uint64_t maximum)
{
    // Negative texts read signed, the others unsigned, so that the whole 64-bit
    // range of either sign is readable.
    const char* end = text.data() + text.size();
    std::uint64_t bits = 0;
    bool in_range = false;
    if (!text.empty() && text[0] == '-') {
        std::int64_t value = 0;
        const auto [at, error] = std::from_chars(text.data(), end, value);
        in_range = error == std::errc() && at == end && value >= minimum;
        bits = static_cast<std::uint64_t>(value);
    } else {
        const auto [at, error] = std::from_chars(text.data(), end, bits);
        in_range = !text.empty() && error == std::errc() && at == end && bits <= maximum &&
                   (minimum <= 0 || bits >= static_cast<std::uint64_t>(minimum));
    }
    if (!in_range)
        return std::nullopt;
    return value_key(bits, maximum > 0xFFFFFFFFu ? 8 : 4);
}

std::optional<std::uint64_t> hex_field_value(std::string_view text, int byte_count)
{
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value, 16);
    if (text.empty() || error != std::errc() || at != end ||
        (byte_count < 8 && value >> (8 * std::max(byte_count, 0)) != 0))
        return std::nullopt;
    return value;
}

bool byte_range_confirmable(std::string_view position, std::string_view size)
{
    return hex_field_value(position, 4) && decimal_field_value(size, 1, 0xFFFFFFFFu);
}

Offset_field offset_field_state(std::string_view text, std::uint32_t data_size)
{
    if (text.find_first_not_of(' ') == std::string_view::npos)
        return Offset_field::empty;
    const std::optional<std::uint64_t> offset = parse_offset(text);
    if (!offset)
        return Offset_field::unreadable;
    return *offset < data_size ? Offset_field::inside : Offset_field::past_end;
}
