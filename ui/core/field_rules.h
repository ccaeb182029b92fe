#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/text/bcl_edit_filter.h"

// The input states of the validated edit fields, free of any window: what a key
// press, a typed character or pasted text does to a field's text and selection (see
// Bcl_edit_filter for how the edit control asks). Lengths that the stored text is
// limited to are counted in Shift-JIS bytes.
class Ctrl_edit_state : public Bcl_edit_filter {
public:
    // A typed character. Never `pass`: the field's text only changes as the rules
    // say, so that no character reaches the text unchecked.
    [[nodiscard]] Field_outcome typed(const Field_text& field, char32_t c) const override = 0;
    [[nodiscard]] Field_outcome key(const Field_text& field, Field_key key) const override;
    [[nodiscard]] Field_text after_key(const Field_text& field, Field_key key) const override;
    [[nodiscard]] Field_text after_focus(const Field_text& field) const override;
    [[nodiscard]] Field_text after_click(const Field_text& field) const override;

    // The text that typing `pasted` character by character gives, or `refuse` when
    // typing would refuse any of its characters: a paste never puts into the field
    // what typing could not, and never half of a number.
    [[nodiscard]] Field_outcome pasted(const Field_text& field, std::u32string_view pasted) const override;
    // Numbers and hexadecimal digits change only as their rules say.
    [[nodiscard]] bool free_text() const override { return false; }
};

// A decimal number between `minimum` and `maximum` (compared as signed and as
// unsigned 32-bit values, so that 0 ... 4294967295 can be allowed). Digits are
// appended at the end of the text whatever the caret, as they are judged; a lone
// "0" or "-0" is replaced by the first digit; Backspace and Delete leave "0" rather
// than an empty field.
class Ctrl_edit_num_state : public Ctrl_edit_state {
public:
    Ctrl_edit_num_state(std::int64_t minimum, std::uint64_t maximum) : minimum_(minimum), maximum_(maximum) {}

    [[nodiscard]] Field_outcome typed(const Field_text& field, char32_t c) const override;
    [[nodiscard]] Field_outcome key(const Field_text& field, Field_key key) const override;
    [[nodiscard]] Field_text after_focus(const Field_text& field) const override;
    [[nodiscard]] Field_text after_click(const Field_text& field) const override;

    [[nodiscard]] std::int64_t minimum() const { return minimum_; }
    [[nodiscard]] std::uint64_t maximum() const { return maximum_; }

private:
    [[nodiscard]] bool digit_allowed(const std::u32string& text, int digit) const;
    [[nodiscard]] Field_outcome backspace(const Field_text& field) const;
    [[nodiscard]] bool in_range(const std::u32string& text) const;

    std::int64_t minimum_;
    std::uint64_t maximum_;
};

// Hexadecimal digits in a field of fixed width: a digit overwrites the character at
// the caret (upper case) and moves the caret on; nothing can be typed at the end,
// and nothing deleted.
class Ctrl_edit_hex_state : public Ctrl_edit_state {
public:
    [[nodiscard]] Field_outcome typed(const Field_text& field, char32_t c) const override;
    [[nodiscard]] Field_outcome key(const Field_text& field, Field_key key) const override;
    [[nodiscard]] Field_text after_key(const Field_text& field, Field_key key) const override;
    [[nodiscard]] Field_text after_focus(const Field_text& field) const override;
    [[nodiscard]] Field_text after_click(const Field_text& field) const override;
};

// Plain text that is stored as Shift-JIS in at most `max_bytes` bytes, shown in the
// notation of field_text_of_bytes() (one line), so that bytes with no Unicode form
// stay as they were around an edit. A character enters in its CP932 form
// (cp932_form); characters that Shift-JIS cannot hold, control characters and
// anything past the limit are refused.
class Ctrl_edit_text_state : public Ctrl_edit_state {
public:
    explicit Ctrl_edit_text_state(std::size_t max_bytes) : max_bytes_(max_bytes) {}

    [[nodiscard]] Field_outcome typed(const Field_text& field, char32_t c) const override;
    // Puts in what fits, unlike a number: the pasted characters in order, leaving out
    // each one typing refuses whatever the length, and cut before the first that
    // would pass the limit. The outcome's note says what was left out; a paste of
    // which nothing fits is refused, with the note.
    [[nodiscard]] Field_outcome pasted(const Field_text& field, std::u32string_view pasted) const override;
    [[nodiscard]] bool free_text() const override { return true; }

    [[nodiscard]] std::size_t max_bytes() const { return max_bytes_; }

protected:
    // Whether `c` (in its CP932 form) may go at character `position`, leaving the
    // length aside.
    [[nodiscard]] virtual bool takes(std::size_t position, char32_t c) const;

private:
    std::size_t max_bytes_;
};

// A variable name: as plain text, and it does not start with a digit nor hold any
// of the 18 characters that the expression language reads as operators or
// separators (space ! " % & ' ( ) * + - / = [ ] { | }).
class Ctrl_edit_var_state : public Ctrl_edit_text_state {
public:
    explicit Ctrl_edit_var_state(std::size_t max_bytes = 255) : Ctrl_edit_text_state(max_bytes) {}

    [[nodiscard]] Field_text after_click(const Field_text& field) const override;

protected:
    [[nodiscard]] bool takes(std::size_t position, char32_t c) const override;
};

// The text of a field of several lines, stored as Shift-JIS in at most `max_bytes`
// bytes and shown in the notation of field_text_of_bytes(): as plain text, and a
// line break ("\n", stored as CR LF, two bytes) is taken too. A paste puts in what
// fits and says what it left out, as in a field of one line.
class Ctrl_edit_lines_state : public Ctrl_edit_text_state {
public:
    explicit Ctrl_edit_lines_state(std::size_t max_bytes) : Ctrl_edit_text_state(max_bytes) {}

    // A CR LF pasted is one line break, as the field shows it.
    [[nodiscard]] Field_outcome pasted(const Field_text& field, std::u32string_view pasted) const override;

protected:
    [[nodiscard]] bool takes(std::size_t position, char32_t c) const override;
};

// The status bar's note on a paste into a text field that left out the characters
// `refused` (in order, repeats allowed) and cut `cut_off` characters at the end for
// the field's length; empty when it left out nothing.
[[nodiscard]] std::string paste_note(std::u32string_view refused, std::size_t cut_off);

// The number of bytes `text` takes in Shift-JIS (a character Shift-JIS cannot hold
// counts as the one "?" it would become).
[[nodiscard]] std::size_t sjis_length(std::u32string_view text);
// True when Shift-JIS has a code for `c` that reads back as `c`: a character that
// the conversion maps onto another one ("¥" becomes the byte 0x5C, which reads back
// as a backslash) would be changed silently when stored.
[[nodiscard]] bool sjis_can_hold(char32_t c);
