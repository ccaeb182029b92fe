#pragma once

#include <functional>

#include "toolkit/gui/bcl_findbar.h"
#include "ui/core/find_choice.h"

class Data_mgr;
class Data_page;

// The find bar under the data page: searches the components by name or value, or
// the data for bytes or a text, forwards or backwards from the page's selection, and
// shows the hit as go to shows a place.
class Find_bar {
public:
    Find_bar(Data_mgr& document, Data_page& page) : document_(document), page_(page) {}
    Find_bar(const Find_bar&) = delete;
    Find_bar& operator=(const Find_bar&) = delete;

    // `focus_key` takes Tab out of the bar and Ctrl+Tab.
    void create(Bcl_wnd& parent, std::function<bool(const Bcl_key_event&)> focus_key);
    [[nodiscard]] Bcl_findbar& window() { return bar_; }

    // Ctrl+F: shows the bar with its text selected.
    void open();
    // F3 and Shift+F3; with nothing to search for the bar opens instead.
    void find(Find_direction direction);
    // Escape or the close button: the focus goes back to the page.
    void close();

private:
    Data_mgr& document_;
    Data_page& page_;
    Bcl_findbar bar_;
    // Escape and the close button wait for a search to end.
    bool searching_ = false;
};
