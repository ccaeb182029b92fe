#include "ui/readings_panel.h"

#include <array>

#include "document/data_mgr.h"
#include "toolkit/gui/bcl_clipboard.h"
#include "toolkit/gui/bcl_menu.h"
#include "ui/core/commands.h"
#include "ui/core/byte_readings.h"
#include "ui/menu_items.h"

namespace {

constexpr int inspector_list_id = 2120;

} // namespace

void Readings_panel::create(Bcl_wnd& parent, std::function<bool(const Bcl_key_event&)> focus_key)
{
    list_.create(parent, inspector_list_id);
    list_.add_column("型", 125);
    list_.add_column("リトルエンディアン", 135);
    list_.add_column("ビッグエンディアン", 135);
    // The rows are the same for every offset: made once, their cells filled later.
    for (const Byte_reading& row : byte_readings({}))
        list_.insert_row(-1, {row.label, {}, {}});
    list_.set_context_handler([this](Bcl_point) { popup(); });
    list_.set_key_handler([this, focus_key = std::move(focus_key)](const Bcl_key_event& key) {
        if (key.key == Bcl_key::tab)
            return focus_key(key);
        if (key.key != Bcl_key::letter_c || !key.ctrl)
            return false;
        copy_selected();
        return true;
    });
}

void Readings_panel::show_at(std::uint32_t offset)
{
    std::array<std::uint8_t, inspector_bytes> bytes{};
    std::size_t count = 0;
    for (const Data_node* node = document_.node_at(offset); node && count < bytes.size(); node = node->next())
        bytes[count++] = node->value;
    offset_ = offset;
    fill(std::span(bytes).first(count));
}

void Readings_panel::clear()
{
    offset_.reset();
    fill({});
}

void Readings_panel::fill(std::span<const std::uint8_t> bytes)
{
    const std::vector<Byte_reading> rows = byte_readings(bytes);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        list_.set_cell(static_cast<int>(i), 1, rows[i].little);
        list_.set_cell(static_cast<int>(i), 2, rows[i].big);
    }
}

void Readings_panel::copy_selected()
{
    const int row = list_.selected();
    if (row < 0)
        return;
    set_clipboard_text(list_.cell(row, 0) + '\t' + list_.cell(row, 1) + '\t' + list_.cell(row, 2));
}

void Readings_panel::popup()
{
    Bcl_menu menu(menu_items(menu_name::inspector_popup));
    menu.enable(cmd::inspector_copy, list_.selected() >= 0);
    if (menu.track() == cmd::inspector_copy)
        copy_selected();
}
