#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/files/file_path.h"
#include "toolkit/gui/bcl_menu.h"
#include "toolkit/gui/bcl_wnd.h"

// One accelerator: a key ("Ctrl+N") and the command it dispatches.
struct Bcl_accelerator {
    std::string key;
    int id;
};

// The top-level window with a menu bar, accelerators, a toolbar and status bar, and
// the message loop. Every command (menu, toolbar, accelerator, popup, test) arrives
// through command(id).
class Bcl_sdi : public Bcl_wnd {
public:
    Bcl_sdi();
    ~Bcl_sdi() override;

    void set_title(std::string_view utf8);
    [[nodiscard]] std::string title() const;
    // Puts a new menu bar on the window (the old one is destroyed).
    void set_menu(const std::vector<Bcl_menu_item>& bar);
    void enable_menu_item(int id, bool enabled);
    // Shows or clears a check mark beside the item (a click on it then shows the
    // opposite until the program sets it again).
    void check_menu_item(int id, bool checked);
    // The items of the current menu bar's submenus, for checks: id or 0 for a separator.
    [[nodiscard]] std::vector<int> menu_ids() const;
    [[nodiscard]] bool menu_item_enabled(int id) const;
    [[nodiscard]] bool menu_item_checked(int id) const;

    // Creates the window at the system's default place and size and shows it;
    // `class_name` names it for the window system. False when it cannot be created.
    bool create(std::string_view class_name);
    // False (after the toolkit's message) when a key cannot be read; the window then
    // has no accelerators.
    bool load_accelerators(std::span<const Bcl_accelerator> accelerators);
    // The window that fills the space between the toolbar and the status bar.
    void set_client(Bcl_wnd& client);
    void accept_files(bool accept);
    void bring_to_front();
    [[nodiscard]] int client_width() const;
    [[nodiscard]] int client_height() const;

    // Dispatches a command; ignored while a long operation lets the window repaint.
    void command(int id);
    // Asks the window to close, as its close box does.
    void close();
    // Destroys the window for good; the message loop ends.
    void destroy();
    [[nodiscard]] bool destroyed() const { return destroyed_; }

    // Runs the message loop until the window is destroyed; its exit code.
    int run();

protected:
    virtual void on_command(int) {}
    // The close box, Alt+F4 or close(): destroys the window unless overridden.
    virtual void on_close() { destroy(); }
    // F1.
    virtual void on_help() {}
    virtual void on_files_dropped(const std::vector<File_path>&) {}
    virtual void on_size(int, int) {}

private:
    friend struct Bcl_sdi_access;
    bool destroyed_ = false;
    bool running_ = false;
};
