#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "toolkit/gui/bcl_wnd.h"

class Bcl_dlg;
class Bcl_edit_filter;

// A control of a dialog, found by its id in the dialog's template. Valid while the
// dialog is open (from its on_init_dialog until it ends).
class Bcl_ctrl : public Bcl_wnd {
public:
    // False when the template has no control with that id.
    bool attach(Bcl_dlg& dialog, int id);
};

// A text field, one line or several.
class Bcl_edit : public Bcl_ctrl {
public:
    void set_read_only(bool read_only);
    // Constrains what the user can put into the field by `filter` (null: nothing),
    // the one way every text field is constrained (see Bcl_edit_filter for how each
    // kind of field applies it). A field of one line hands its keys, typed and pasted
    // text, focus and clicks to the filter, which decides what they do, and has no
    // context menu; a field of several lines has each change judged after it is
    // made. Text set by the program is not checked (for a field of several lines:
    // text set before the filter). The filter must stay until it is taken away or
    // the dialog ends.
    void set_filter(const Bcl_edit_filter* filter);
    // Called after every change of the text, by the user or the program.
    void set_change_handler(std::function<void()> handler);
    void select_all();
};

// A push button, radio button or check box. Clicks reach the dialog's on_command
// with the button's id.
class Bcl_button : public Bcl_ctrl {
public:
    void set_checked(bool checked);
    [[nodiscard]] bool checked() const;
};

// A drop-down list.
class Bcl_combbox : public Bcl_ctrl {
public:
    void add(std::string_view utf8);
    void clear();
    void select(int index);
    // The selected entry, or -1.
    [[nodiscard]] int selected() const;
    [[nodiscard]] int count() const;
};
