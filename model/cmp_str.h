#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "model/component.h"
#include "model/def_str.h"
#include "model/limits.h"

// The three string kinds. Their value text is read from the data on first use and
// never runs past the end of the data; an edit replaces the bytes through the
// document (recorded for undo) and makes the first new byte the start. A string in
// another encoding than Shift-JIS has as value text its characters in Shift-JIS,
// each one Shift-JIS cannot hold as sjis_replacement, and as value_utf8() its own
// characters, bytes that do not decode as stand-ins (see text_encoding.h).

class Cmp_fix_str : public Component {
public:
    Cmp_fix_str(Def_fix_str* def, std::uint32_t length, Data_node* start)
        : Component(start), def_(def), length_(length)
    {
    }

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] const Bcl_str& name() const override { return def_->name(); }
    // The bytes from start, at most the string's length, ending at the first NUL.
    [[nodiscard]] const Bcl_str& value_text() const override;
    [[nodiscard]] std::string value_utf8() const override;
    [[nodiscard]] bool has_children() const override { return false; }

    [[nodiscard]] Def_fix_str* def() const { return def_; }
    // The length in bytes, the constant or the expression's value where it began.
    [[nodiscard]] std::uint32_t length() const { return length_; }
    // Writes exactly the string's length of bytes: `s` cut to the length or padded
    // with 0 bytes, in place of the bytes the string covers; when the data ended
    // inside the string (or before it), the rest is appended at the end. The value
    // text is then read from the new bytes.
    void set_text(const Bcl_str& s);

private:
    Def_fix_str* def_;
    std::uint32_t length_;
};

class Cmp_flex_str : public Component {
public:
    Cmp_flex_str(Def_flex_str* def, std::uint32_t length, Data_node* start)
        : Component(start), def_(def), length_(length) {}

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] const Bcl_str& name() const override { return def_->name(); }
    // After the prefix: at most `length` bytes, ending at the first 0 byte.
    [[nodiscard]] const Bcl_str& value_text() const override;
    [[nodiscard]] std::string value_utf8() const override;
    [[nodiscard]] bool has_children() const override { return false; }

    [[nodiscard]] Def_flex_str* def() const { return def_; }
    // The value of the length prefix, taken as unsigned.
    [[nodiscard]] std::uint32_t length() const { return length_; }
    // Replaces prefix and body by a prefix holding the byte length of `s` (document
    // byte order) followed by `s`.
    void set_text(const Bcl_str& s);

private:
    Def_flex_str* def_;
    std::uint32_t length_;
};

class Cmp_null_str : public Component {
public:
    Cmp_null_str(Def_null_str* def, Data_node* start) : Component(start), def_(def) {}

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] const Bcl_str& name() const override { return def_->name(); }
    // The bytes up to the first NUL or the end of the data.
    [[nodiscard]] const Bcl_str& value_text() const override;
    [[nodiscard]] std::string value_utf8() const override;
    [[nodiscard]] bool has_children() const override { return false; }

    [[nodiscard]] Def_null_str* def() const { return def_; }
    // Replaces text and terminator by `s` followed by a NUL (two 0 bytes in UTF-16).
    void set_text(const Bcl_str& s);

private:
    Def_null_str* def_;
};

// The prefix width of a length-prefixed string item, held to 1 ... 4.
[[nodiscard]] inline int prefix_width(const Def_flex_str& item)
{
    return std::clamp(item.prefix_size(), 1, 4);
}
// The constant byte length of a fixed-length string item, held to 0 ...
// limits::max_fixed_string_length.
[[nodiscard]] inline int fixed_length(const Def_fix_str& item)
{
    return std::clamp(item.length(), 0, limits::max_fixed_string_length);
}

// The bytes of a string's text from `node`: at most `limit` of them, up to the first
// NUL (a pair of 0 bytes at an even offset in UTF-16) or the end of the data.
[[nodiscard]] std::string text_bytes(const Data_node* node, std::uint64_t limit, Text_encoding encoding);
