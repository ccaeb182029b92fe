#include "toolkit/text/utf32.h"

namespace {

constexpr char32_t replacement = 0xFFFD;

bool is_character(char32_t c) { return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF); }

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

} // namespace

std::string utf8_from_utf32(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (!is_character(c))
            c = replacement;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u32string utf32_from_utf8(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                                 : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        std::size_t k = 1;
        for (; k < length && i + k < text.size() && is_continuation(static_cast<unsigned char>(text[i + k])); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        // Cut short, overlong or no character: one replacement for what was read.
        static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (length == 0 || k < length || c < smallest[length] || !is_character(c)) {
            out += replacement;
            i += length == 0 ? 1 : k;
            continue;
        }
        out += c;
        i += length;
    }
    return out;
}
