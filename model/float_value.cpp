#include "model/float_value.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

template <typename Float>
std::string shortest_text(Float value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return {text, result.ptr};
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::uint64_t load_float_bits(const std::uint8_t* bytes, int width, Byte_order order)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < width; ++i) {
        const int from = order == Byte_order::little_endian ? width - 1 - i : i;
        bits = (bits << 8) | bytes[from];
    }
    return bits;
}

std::string float_text(std::uint64_t bits, int width)
{
    if (width == 8)
        return shortest_text(std::bit_cast<double>(bits));
    return shortest_text(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
}

std::string stored_float_text(double value, int width)
{
    return width == 8 ? shortest_text(value) : shortest_text(static_cast<float>(value));
}

std::string float_bytes(double value, int width, Byte_order order)
{
    const std::uint64_t bits = width == 8 ? std::bit_cast<std::uint64_t>(value)
                                          : std::bit_cast<std::uint32_t>(static_cast<float>(value));
    std::string bytes(static_cast<std::size_t>(width), '\0');
    for (int i = 0; i < width; ++i) {
        const int shift = order == Byte_order::little_endian ? 8 * i : 8 * (width - 1 - i);
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((bits >> shift) & 0xFF);
    }
    return bytes;
}

std::optional<double> parse_float(std::string_view text, int width)
{
    text = trimmed(text);
    if (text == "inf")
        return std::numeric_limits<double>::infinity();
    if (text == "-inf")
        return -std::numeric_limits<double>::infinity();
    if (text == "nan")
        return std::numeric_limits<double>::quiet_NaN();
    // A leading '+' is a sign from_chars does not take.
    if (text.starts_with('+') && !text.starts_with("+-"))
        text.remove_prefix(1);
    double value = 0;
    const char* const end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (text.empty() || result.ptr != end || result.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    // A 4-byte float takes the nearest value; past its largest it would become inf.
    if (width != 8 && std::isinf(static_cast<float>(value)))
        return std::nullopt;
    return value;
}
