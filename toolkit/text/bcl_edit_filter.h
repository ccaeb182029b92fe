#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What a validated edit field asks about each key press, typed character, paste,
// focus and click, free of any window: the window's edit control hands its events to
// a filter and does what it answers. The rules themselves are the program's (the
// input states of the dialogs' fields).
//
// Texts are UTF-32, one element per character, so that a Shift-JIS character typed
// or composed is judged whole; positions count characters.

struct Field_text {
    std::u32string text;
    std::size_t start = 0;  // the selection, start <= end; the caret when equal
    std::size_t end = 0;

    friend bool operator==(const Field_text&, const Field_text&) = default;
};

// The keys a filter looks at; every other key is `other`.
enum class Field_key { left, right, up, down, home, end, backspace, delete_key, other };

struct Field_outcome {
    enum Kind { pass, refuse, set };
    Kind kind = pass;
    Field_text after;  // for `set`: the new text and selection
    // What the user is told in the window's status bar (UTF-8), such as what a paste
    // left out; empty for nothing.
    std::string note;

    friend bool operator==(const Field_outcome&, const Field_outcome&) = default;
};

// The edit control hands every key press to key() first and every typed character
// to typed(): `pass` lets the control do what it always does, `refuse` swallows the
// event, `set` replaces the field's text and selection by `after`. After the control
// processed a key it was passed, a focus-in or a left button release, after_key(),
// after_focus() and after_click() give the selection to put. Pasted text (and text
// an input method commits) goes to pasted(); cutting is copying followed by
// key(backspace) on the selection. A filtered field has no context menu.
//
// A field of several lines is constrained by the same filter, but cannot ask it
// before each event: such a control edits in too many ways of its own (Enter, text
// dragged inside it, undo and redo, an input method) for each to be caught first.
// It asks after each change instead, as the range the change replaced and what it
// put there: one character goes to typed(), more to pasted(), a deletion stands; a
// refused change is taken back and a `set` replaces what was put. key(), the
// after_...() calls and free_text() are not asked there.
class Bcl_edit_filter {
public:
    virtual ~Bcl_edit_filter() = default;

    [[nodiscard]] virtual Field_outcome typed(const Field_text& field, char32_t c) const = 0;
    [[nodiscard]] virtual Field_outcome key(const Field_text& field, Field_key key) const = 0;
    [[nodiscard]] virtual Field_text after_key(const Field_text& field, Field_key key) const = 0;
    [[nodiscard]] virtual Field_text after_focus(const Field_text& field) const = 0;
    [[nodiscard]] virtual Field_text after_click(const Field_text& field) const = 0;
    [[nodiscard]] virtual Field_outcome pasted(const Field_text& field, std::u32string_view pasted) const = 0;
    // Whether the field takes text of any script (names): an input method may then
    // compose into it, and the control's own editing keys (deleting a word, undo)
    // work. Otherwise (numbers, hexadecimal digits) the text changes only as the
    // filter says.
    [[nodiscard]] virtual bool free_text() const = 0;
};
