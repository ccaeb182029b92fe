#pragma once

#include <memory>
#include <string>
#include <vector>

// One item of a menu as the program describes it: a command (id, text with its
// mnemonic, its accelerator's key "Ctrl+N", shown beside it), a separator (id 0, no
// text) or a submenu (its text and children).
struct Bcl_menu_item {
    int id = 0;
    std::string text;
    std::string key;
    std::vector<Bcl_menu_item> children;
    bool separator = false;
};

// A popup menu shown at the mouse cursor.
class Bcl_menu {
public:
    explicit Bcl_menu(const std::vector<Bcl_menu_item>& items);
    ~Bcl_menu();
    Bcl_menu(const Bcl_menu&) = delete;
    Bcl_menu& operator=(const Bcl_menu&) = delete;

    void enable(int id, bool enabled);
    // Shows the menu until the user chooses or dismisses it; the chosen command's id,
    // or 0.
    [[nodiscard]] int track();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
