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
//    sequence, becomes '?', one per character.
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

// True when every byte is below 0x80: such text is the same in Shift-JIS and UTF-8.
[[nodiscard]] bool is_ascii(std::string_view bytes);

// True for a byte that starts a Shift-JIS double-byte character.
[[nodiscard]] inline bool is_sjis_lead(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
