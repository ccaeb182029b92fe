#pragma once

class Bcl_str;
class Bcl_wnd;

// What a page of the main window asks of the window around it.
class Page_frame {
public:
    virtual ~Page_frame() = default;
    // The window that owns the page's dialogs and popups.
    [[nodiscard]] virtual Bcl_wnd& owner() = 0;
    // A command chosen in the page's popup, run as the menu bar runs it.
    virtual void run_command(int id) = 0;
    virtual void set_status_text(const Bcl_str& text) = 0;
    // After a change of the document: the title and the commands' states follow it.
    virtual void document_changed() = 0;
    // After the data was analysed again from its start: the data page shows it anew.
    virtual void data_analysed() = 0;
};
