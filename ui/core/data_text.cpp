#include "ui/core/data_text.h"

#include "toolkit/text/bcl_str.h"
#include "toolkit/text/utf32.h"
#include "ui/core/field_rules.h"

namespace {

constexpr char32_t nul_picture = 0x2205;  // "∅": control pictures are missing from common fonts
constexpr char32_t byte_patterns = 0x2800;

void append_char(std::string& utf8, char32_t c) { utf8 += utf8_from_utf32(std::u32string_view(&c, 1)); }

// The character at the start of `bytes` when it is one that converts to Unicode and
// back to the same bytes; empty otherwise.
std::string convertible_char(std::string_view bytes)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const std::size_t length = is_sjis_lead(lead) && bytes.size() > 1 ? 2 : 1;
    const Bcl_str piece(bytes.substr(0, length));
    std::string utf8 = piece.to_utf8();
    if (utf8.find("\xEF\xBF\xBD") != std::string::npos || Bcl_str::from_utf8(utf8) != piece)
        return {};
    return utf8;
}

// The byte a stand-in character means, or -1 for any other character.
int stand_in_byte(char32_t c)
{
    if (c == nul_picture)
        return 0;
    if (c > byte_patterns && c <= byte_patterns + 0xFF)
        return static_cast<int>(c - byte_patterns);
    return -1;
}

} // namespace

std::string field_text_of_bytes(std::string_view bytes, Field_lines lines)
{
    std::string utf8;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (lines == Field_lines::several && byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            utf8 += '\n';
            i += 2;
        } else if (byte == 0) {
            append_char(utf8, nul_picture);
            ++i;
        } else if (byte < 0x20 || byte == 0x7F) {
            append_char(utf8, byte_patterns + byte);
            ++i;
        } else if (byte < 0x80) {
            utf8 += static_cast<char>(byte);
            ++i;
        } else if (const std::string c = convertible_char(bytes.substr(i)); !c.empty()) {
            utf8 += c;
            i += is_sjis_lead(byte) ? 2 : 1;
        } else {
            append_char(utf8, byte_patterns + byte);
            ++i;
        }
    }
    return utf8;
}

std::string bytes_of_field_text(std::string_view utf8)
{
    std::string bytes;
    std::u32string run;  // characters converted together
    const auto flush = [&] {
        bytes += Bcl_str::from_utf8(utf8_from_utf32(run)).bytes();
        run.clear();
    };
    for (const char32_t c : utf32_from_utf8(utf8)) {
        if (const int byte = stand_in_byte(c); byte >= 0) {
            flush();
            bytes += static_cast<char>(byte);
        } else if (c == U'\n') {
            flush();
            bytes += "\r\n";
        } else {
            run += c;
        }
    }
    flush();
    return bytes;
}

std::size_t field_char_bytes(char32_t c)
{
    if (stand_in_byte(c) >= 0)
        return 1;
    if (c == U'\n')
        return 2;
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || !sjis_can_hold(c))
        return 0;
    return sjis_length(std::u32string_view(&c, 1));
}

namespace {

std::string replaced(std::string_view text, std::string_view from, std::string_view to)
{
    std::string result;
    for (std::size_t at = 0;;) {
        const std::size_t found = text.find(from, at);
        result.append(text.substr(at, found - at));
        if (found == std::string_view::npos)
            return result;
        result.append(to);
        at = found + from.size();
    }
}

} // namespace

std::string field_text_of_text(std::string_view utf8) { return replaced(utf8, "\r\n", "\n"); }
std::string text_of_field_text(std::string_view field) { return replaced(field, "\n", "\r\n"); }
