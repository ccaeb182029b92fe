#pragma once

#include <string_view>

#include "toolkit/gui/bcl_wnd.h"

class Bcl_sdi;

// The standard images a toolbar offers.
enum class Bcl_std_image { file_new, file_open, file_save, undo, redo, properties };

// The main window's toolbar. A button click dispatches its command id to the owner.
// Button texts are their tooltips.
class Bcl_toolbar : public Bcl_wnd {
public:
    void create(Bcl_sdi& owner, int id);
    // The image index of a standard image: from the icon theme when it has one, else
    // the style's.
    [[nodiscard]] int standard_image(Bcl_std_image image);
    // Adds the `count` images of bitmap resource `resource_id` (side by side, 16 pixels
    // wide each); returns the index of the first.
    int add_bitmap(int resource_id, int count);
    void add_button(int image, int command_id, bool enabled, std::string_view text);
    void add_separator();
    void enable_button(int command_id, bool enabled);
    void show_button(int command_id, bool visible);
    [[nodiscard]] bool button_enabled(int command_id) const;
    [[nodiscard]] bool button_visible(int command_id) const;

private:
    Bcl_sdi* owner_ = nullptr;
};
