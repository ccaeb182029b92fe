#include "document/undefined_lines.h"

#include <algorithm>
#include <cstring>

#include "toolkit/text/number_text.h"

namespace {

constexpr std::size_t offset_digits = 8;
constexpr std::size_t index_start = offset_digits + 12 + 1;  // after the spaces and "["
constexpr std::string_view before_byte = "]    0x";

} // namespace

Undefined_lines::Undefined_lines(std::uint64_t first_offset, std::string_view line_end)
    : line_end_size_(std::min<std::size_t>(line_end.size(), sizeof line_end_)),
      text_(std::make_unique<char[]>(block_bytes * longest_line + copy_size))
{
    line_end.copy(line_end_, line_end_size_);
    put_hex_digits(line_, first_offset, offset_digits);
    std::memset(line_ + offset_digits, ' ', index_start - 1 - offset_digits);
    line_[index_start - 1] = '[';
    line_[index_start] = '0';
    index_end_ = index_start + 1;
    put_tail();
}

void Undefined_lines::put_tail()
{
    before_byte.copy(line_ + index_end_, before_byte.size());
    const std::size_t byte_at = index_end_ + before_byte.size();
    std::memcpy(line_ + byte_at + 2, line_end_, line_end_size_);
    length_ = byte_at + 2 + line_end_size_;
}

// Hexadecimal digits count 0-9, then A-F; a carry past the first digit is dropped,
// as only the offset's lowest 8 digits are shown.
void Undefined_lines::count_up_offset()
{
    for (std::size_t i = offset_digits; i-- > 0;) {
        char& digit = line_[i];
        if (digit == 'F') {
            digit = '0';
            continue;
        }
        digit = digit == '9' ? 'A' : static_cast<char>(digit + 1);
        return;
    }
}

// Decimal digits; a carry past the first digit makes the index one digit longer
// ("[99]" becomes "[100]"), which moves the rest of the line.
void Undefined_lines::count_up_index()
{
    for (std::size_t i = index_end_; i-- > index_start;) {
        char& digit = line_[i];
        if (digit == '9') {
            digit = '0';
            continue;
        }
        ++digit;
        return;
    }
    line_[index_start] = '1';
    line_[index_end_++] = '0';
    put_tail();
}

std::string_view Undefined_lines::format(std::span<const std::uint8_t> bytes)
{
    const std::size_t count = std::min(bytes.size(), block_bytes);
    char* out = text_.get();
    for (std::size_t i = 0; i < count; ++i) {
        put_hex_digits(line_ + index_end_ + before_byte.size(), bytes[i], 2);
        std::memcpy(out, line_, copy_size);
        out += length_;
        count_up_offset();
        count_up_index();
    }
    return {text_.get(), static_cast<std::size_t>(out - text_.get())};
}
