#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/gui/bcl_input.h"

// The base of every window wrapper: one window-system window, with the operations
// every kind has. A wrapper that made a top-level window destroys it with itself; a
// child window belongs to its parent.
class Bcl_wnd {
public:
    Bcl_wnd();
    virtual ~Bcl_wnd();
    Bcl_wnd(const Bcl_wnd&) = delete;
    Bcl_wnd& operator=(const Bcl_wnd&) = delete;

    // True while the window exists.
    [[nodiscard]] bool exists() const;
    void show(bool visible = true);
    [[nodiscard]] bool is_visible() const;
    void enable(bool enabled = true);
    [[nodiscard]] bool is_enabled() const;
    void set_focus();
    // True when the window or one of its children has the keyboard focus.
    [[nodiscard]] bool has_focus() const;
    virtual void move(int x, int y, int width, int height);
    [[nodiscard]] int width() const;
    [[nodiscard]] int height() const;
    // The window's text (the title of a top-level window, the text of a control), UTF-8.
    void set_text(std::string_view utf8);
    [[nodiscard]] std::string text() const;
    void set_cursor(Bcl_cursor cursor);

    // Key presses reach `handler` before the window handles them; a handler that
    // returns true has used the key and the window never sees it.
    void set_key_handler(std::function<bool(const Bcl_key_event&)> handler);

protected:
    // After the window was created.
    virtual void on_create() {}

private:
    friend struct Bcl_widget_access;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
