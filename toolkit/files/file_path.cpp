#include "toolkit/files/file_path.h"

namespace {

// Length of the valid UTF-8 sequence at the start of `s`, or 0 when it is not one
// (overlong forms, surrogates and code points past U+10FFFF included).
std::size_t utf8_sequence_length(std::string_view s)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < length)
        return 0;
    if (byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

}  // namespace

std::string File_path::display() const
{
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(bytes_.size());
    std::string_view rest = bytes_;
    while (!rest.empty()) {
        const std::size_t n = utf8_sequence_length(rest);
        if (n == 0) {
            out += replacement;
            rest.remove_prefix(1);
        } else {
            out.append(rest.substr(0, n));
            rest.remove_prefix(n);
        }
    }
    return out;
}
