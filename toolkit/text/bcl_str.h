#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>

// A byte string holding Shift-JIS text: every name, expression, message and path
// of the program. Compared byte for byte (as unsigned bytes), never by locale.
//
// Conversion to Unicode happens only at the edges (terminal, GUI, JSON):
//  - Shift-JIS -> UTF-8: a byte that does not start a valid CP932 character is
//    shown as U+FFFD, one replacement per unconvertible byte, so nothing vanishes.
//  - UTF-8 -> Shift-JIS: a character that CP932 cannot hold, or a malformed UTF-8
//    sequence, becomes '?', one per character. The JIS forms of the characters
//    that CP932 holds under other code points are stored as CP932's (see
//    cp932_form), so "〜" typed by an input method is 0x8160.
class Bcl_str {
public:
    Bcl_str() = default;
    explicit Bcl_str(std::string bytes) : bytes_(std::move(bytes)) {}
    explicit Bcl_str(std::string_view bytes) : bytes_(bytes) {}
    explicit Bcl_str(const char* bytes) : bytes_(bytes) {}

    [[nodiscard]] static Bcl_str from_utf8(std::string_view utf8);
    [[nodiscard]] std::string to_utf8() const;
    // True when the text survives Shift-JIS -> UTF-8 -> Shift-JIS unchanged.
    [[nodiscard]] bool converts_losslessly() const;

    [[nodiscard]] const std::string& bytes() const { return bytes_; }
    [[nodiscard]] std::string_view view() const { return bytes_; }
    [[nodiscard]] const char* data() const { return bytes_.data(); }
    [[nodiscard]] std::size_t size() const { return bytes_.size(); }
    [[nodiscard]] bool empty() const { return bytes_.empty(); }
    [[nodiscard]] unsigned char operator[](std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

    Bcl_str& operator+=(const Bcl_str& other) { bytes_ += other.bytes_; return *this; }
    Bcl_str& operator+=(std::string_view raw) { bytes_ += raw; return *this; }
    Bcl_str& operator+=(char c) { bytes_ += c; return *this; }

    friend Bcl_str operator+(Bcl_str a, const Bcl_str& b) { a += b; return a; }
    friend Bcl_str operator+(Bcl_str a, std::string_view raw) { a += raw; return a; }

    // std::string compares through char_traits<char>, which orders as unsigned bytes.
    friend bool operator==(const Bcl_str&, const Bcl_str&) = default;
    friend std::strong_ordering operator<=>(const Bcl_str& a, const Bcl_str& b) { return a.bytes_.compare(b.bytes_) <=> 0; }
    friend bool operator==(const Bcl_str& a, std::string_view b) { return a.view() == b; }
    friend std::strong_ordering operator<=>(const Bcl_str& a, std::string_view b) { return a.view().compare(b) <=> 0; }

private:
    std::string bytes_;
};

// Input methods and JIS tables give some characters in their JIS form, which CP932
// holds under another code point: 〜 U+301C (CP932 ～ U+FF5E), − U+2212 (－ U+FF0D),
// — U+2014 (― U+2015), ‖ U+2016 (∥ U+2225), ¢ U+00A2 (￠ U+FFE0), £ U+00A3
// (￡ U+FFE1), ¬ U+00AC (￢ U+FFE2). Gives the CP932 form of such a character, any
// other character itself: text entering the program is mapped so, and then reads
// back from its Shift-JIS bytes as what is shown.
[[nodiscard]] char32_t cp932_form(char32_t c);

// True when every byte is below 0x80: such text is the same in Shift-JIS and UTF-8.
[[nodiscard]] bool is_ascii(std::string_view bytes);

// True for a byte that starts a Shift-JIS double-byte character.
[[nodiscard]] inline bool is_sjis_lead(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
