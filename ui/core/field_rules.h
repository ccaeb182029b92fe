#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The input rules of the validated edit fields, free of any window: what a key
// press, a typed character or pasted text does to a field's text and selection.
//
// Texts are UTF-32, one element per character, so that a Shift-JIS character typed
// or composed is judged whole; positions count characters. Lengths that the stored
// text is limited to are counted in Shift-JIS bytes.
//
// The window hands every key press to key() first and every typed character to
// typed(): `pass` lets the control do what it always does, `refuse` swallows the
// event, `set` replaces the field's text and selection by `after`. After the control
// processed a key it was passed, a focus-in or a left button release, after_key(),
// after_focus() and after_click() give the selection to put. Pasted text (and text
// an input method commits) goes to pasted(); cutting is copying followed by
// key(backspace) on the selection. None of the fields has a context menu.

struct Field_text {
    std::u32string text;
    std::size_t start = 0;  // the selection, start <= end; the caret when equal
    std::size_t end = 0;

    friend bool operator==(const Field_text&, const Field_text&) = default;
};

// The keys the rules look at; every other key is `other`.
enum class Field_key { left, right, up, down, home, end, backspace, delete_key, other };

struct Field_outcome {
    enum Kind { pass, refuse, set };
    Kind kind = pass;
    Field_text after;  // for `set`: the new text and selection

    friend bool operator==(const Field_outcome&, const Field_outcome&) = default;
};

class Field_rules {
public:
    virtual ~Field_rules() = default;

    // A typed character. Never `pass`: the field's text only changes as the rules
    // say, so that no character reaches the text unchecked.
    [[nodiscard]] virtual Field_outcome typed(const Field_text& field, char32_t c) const = 0;
    [[nodiscard]] virtual Field_outcome key(const Field_text& field, Field_key key) const;
    [[nodiscard]] virtual Field_text after_key(const Field_text& field, Field_key key) const;
    [[nodiscard]] virtual Field_text after_focus(const Field_text& field) const;
    [[nodiscard]] virtual Field_text after_click(const Field_text& field) const;

    // The text that typing `pasted` character by character gives, or `refuse` when
    // typing would refuse any of its characters: a paste never puts into the field
    // what typing could not, and never half of what was pasted.
    [[nodiscard]] Field_outcome pasted(const Field_text& field, std::u32string_view pasted) const;
};

// A decimal number between `minimum` and `maximum` (compared as signed and as
// unsigned 32-bit values, so that 0 ... 4294967295 can be allowed). Digits are
// appended at the end of the text whatever the caret, as they are judged; a lone
// "0" or "-0" is replaced by the first digit; Backspace and Delete leave "0" rather
// than an empty field.
class Num_field_rules : public Field_rules {
public:
    Num_field_rules(std::int32_t minimum, std::uint32_t maximum) : minimum_(minimum), maximum_(maximum) {}

    [[nodiscard]] Field_outcome typed(const Field_text& field, char32_t c) const override;
    [[nodiscard]] Field_outcome key(const Field_text& field, Field_key key) const override;
    [[nodiscard]] Field_text after_focus(const Field_text& field) const override;
    [[nodiscard]] Field_text after_click(const Field_text& field) const override;

    [[nodiscard]] std::int32_t minimum() const { return minimum_; }
    [[nodiscard]] std::uint32_t maximum() const { return maximum_; }

private:
    [[nodiscard]] bool digit_allowed(const std::u32string& text, int digit) const;
    [[nodiscard]] Field_outcome backspace(const Field_text& field) const;
    [[nodiscard]] bool in_range(const std::u32string& text) const;

    std::int32_t minimum_;
    std::uint32_t maximum_;
};

// Hexadecimal digits in a field of fixed width: a digit overwrites the character at
// the caret (upper case) and moves the caret on; nothing can be typed at the end,
// and nothing deleted.
class Hex_field_rules : public Field_rules {
public:
    [[nodiscard]] Field_outcome typed(const Field_text& field, char32_t c) const override;
    [[nodiscard]] Field_outcome key(const Field_text& field, Field_key key) const override;
    [[nodiscard]] Field_text after_key(const Field_text& field, Field_key key) const override;
    [[nodiscard]] Field_text after_focus(const Field_text& field) const override;
    [[nodiscard]] Field_text after_click(const Field_text& field) const override;
};

// Plain text that is stored as Shift-JIS in at most `max_bytes` bytes: characters
// that Shift-JIS cannot hold, control characters and anything past the limit are
// refused.
class Text_field_rules : public Field_rules {
public:
    explicit Text_field_rules(std::size_t max_bytes) : max_bytes_(max_bytes) {}

    [[nodiscard]] Field_outcome typed(const Field_text& field, char32_t c) const override;

    [[nodiscard]] std::size_t max_bytes() const { return max_bytes_; }

private:
    std::size_t max_bytes_;
};

// A variable name: as plain text, and it does not start with a digit nor hold any
// of the 18 characters that the expression language reads as operators or
// separators (space ! " % & ' ( ) * + - / = [ ] { | }).
class Var_field_rules : public Text_field_rules {
public:
    explicit Var_field_rules(std::size_t max_bytes = 255) : Text_field_rules(max_bytes) {}

    [[nodiscard]] Field_outcome typed(const Field_text& field, char32_t c) const override;
    [[nodiscard]] Field_text after_click(const Field_text& field) const override;
};

// The number of bytes `text` takes in Shift-JIS (a character Shift-JIS cannot hold
// counts as the one "?" it would become).
[[nodiscard]] std::size_t sjis_length(std::u32string_view text);
// True when Shift-JIS has a code for `c`.
[[nodiscard]] bool sjis_can_hold(char32_t c);
