#include "toolkit/text/bcl_str.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include "toolkit/text/iconv_handle.h"
#include "toolkit/text/utf32.h"

bool is_ascii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

namespace {

// One iconv descriptor per direction and thread, opened on first use: opening costs
// far more than converting a short name.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(to, from) {}

    // Converts `in`; at each byte that cannot be converted, appends `replacement`
    // and skips `skip(rest)` bytes.
    template <typename Skip>
    std::string convert(std::string_view in, std::string_view replacement, Skip skip)
    {
        std::string out;
        out.reserve(in.size() * 3 / 2 + 8);
        char chunk[1024];
        char* src = const_cast<char*>(in.data());  // iconv's signature; it does not write
        std::size_t src_left = in.size();
        iconv(cd_.get(), nullptr, nullptr, nullptr, nullptr);
        while (src_left > 0) {
            char* dst = chunk;
            std::size_t dst_left = sizeof chunk;
            const std::size_t r = iconv(cd_.get(), &src, &src_left, &dst, &dst_left);
            out.append(chunk, static_cast<std::size_t>(dst - chunk));
            if (r != static_cast<std::size_t>(-1) || errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (a sequence cut short at the end): replace and go on.
            const std::size_t n = std::min(src_left, skip(std::string_view(src, src_left)));
            out.append(replacement);
            src += n;
            src_left -= n;
            iconv(cd_.get(), nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    Iconv_handle cd_;
};

std::size_t one_byte(std::string_view) { return 1; }

// Length of the malformed or unmappable UTF-8 character at the start of `s`.
std::size_t utf8_char_length(std::string_view s)
{
    const auto lead = static_cast<unsigned char>(s[0]);
    std::size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
    std::size_t i = 1;
    while (i < n && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

// `utf8` with every JIS form replaced by its CP932 form. All of them are two-byte
// sequences led by 0xC2 or three-byte ones led by 0xE2 or 0xE3.
std::string with_cp932_forms(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = lead == 0xC2 ? 2 : lead == 0xE2 || lead == 0xE3 ? 3 : 1;
        if (n > 1 && i + n <= utf8.size()) {
            const std::u32string c = utf32_from_utf8(utf8.substr(i, n));
            if (c.size() == 1 && cp932_form(c[0]) != c[0]) {
                const char32_t mapped = cp932_form(c[0]);
                out += utf8_from_utf32(std::u32string_view(&mapped, 1));
                i += n;
                continue;
            }
        }
        out += utf8[i++];
    }
    return out;
}

} // namespace

char32_t cp932_form(char32_t c)
{
    switch (c) {
    case U'\u301C':
        return U'\uFF5E';
    case U'\u2212':
        return U'\uFF0D';
    case U'\u2014':
        return U'\u2015';
    case U'\u2016':
        return U'\u2225';
    case U'\u00A2':
        return U'\uFFE0';
    case U'\u00A3':
        return U'\uFFE1';
    case U'\u00AC':
        return U'\uFFE2';
    default:
        return c;
    }
}

Bcl_str Bcl_str::from_utf8(std::string_view utf8)
{
    if (is_ascii(utf8))
        return Bcl_str(utf8);
    thread_local Converter to_sjis("CP932", "UTF-8");
    return Bcl_str(to_sjis.convert(with_cp932_forms(utf8), "?", utf8_char_length));
}

std::string Bcl_str::to_utf8() const
{
    if (is_ascii(bytes_))
        return bytes_;
    thread_local Converter to_utf8("UTF-8", "CP932");
    return to_utf8.convert(bytes_, "\xEF\xBF\xBD", one_byte);
}

bool Bcl_str::converts_losslessly() const
{
    return is_ascii(bytes_) || from_utf8(to_utf8()) == *this;
}
