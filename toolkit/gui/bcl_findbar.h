#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/gui/bcl_wnd.h"

// A bar for one search: a labelled text field (the label its buddy), a button to
// search forwards and one backwards and a close button; under them radio buttons
// saying what the text is, and a note. Not modal: the page around it keeps working.
// Enter in the field searches forwards; Escape anywhere in the bar closes it. Tab
// goes round the field, the buttons and the checked kind; past either end it is
// the window's (focus_key), as is Ctrl+Tab. The focus given to the bar goes to the
// field.
class Bcl_findbar : public Bcl_wnd {
public:
    // UTF-8, mnemonics marked with '&'.
    struct Texts {
        std::string_view label;
        std::vector<std::string_view> kinds;
        std::string_view next;
        std::string_view previous;
        // Tooltips, saying the keys.
        std::string_view next_tip;
        std::string_view previous_tip;
        std::string_view close_tip;
    };
    struct Handlers {
        std::function<void()> next;
        std::function<void()> previous;
        std::function<void()> close;
        // Tab out of the bar and Ctrl+Tab: true when used.
        std::function<bool(const Bcl_key_event&)> focus_key;
    };

    // Hidden until shown.
    void create(Bcl_wnd& parent, int id, const Texts& texts, Handlers handlers);
    // The field's text, UTF-8.
    [[nodiscard]] std::string query() const;
    // The checked radio button, in the order of Texts::kinds.
    [[nodiscard]] int kind() const;
    void set_note(std::string_view utf8);
    [[nodiscard]] std::string note() const;
    // Gives the text field the focus with its text selected.
    void focus_query();
    // Gives the last Tab stop (the checked kind) the focus, as Shift+Tab into the bar does.
    void focus_last();
};
