#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "toolkit/gui/bcl_listview.h"

class Data_mgr;

// The inspector: the bytes at one offset of the data read as each common type, in
// both byte orders side by side (see ui/core/byte_readings.h). A row's values are copied
// with Ctrl+C or the popup's "コピー".
class Readings_panel {
public:
    explicit Readings_panel(const Data_mgr& document) : document_(document) {}
    Readings_panel(const Readings_panel&) = delete;
    Readings_panel& operator=(const Readings_panel&) = delete;

    // `focus_key` takes the Tab keys.
    void create(Bcl_wnd& parent, std::function<bool(const Bcl_key_event&)> focus_key);
    [[nodiscard]] Bcl_listview& list() { return list_; }

    // The values at `offset`, read from at most 8 bytes of the document; every value
    // empty past the end of the data.
    void show_at(std::uint32_t offset);
    // Every value empty: nothing is selected.
    void clear();
    // The offset shown, if any.
    [[nodiscard]] std::optional<std::uint32_t> offset() const { return offset_; }
    // The selected row's label and values, tab-separated, to the clipboard.
    void copy_selected();

private:
    void fill(std::span<const std::uint8_t> bytes);
    void popup();

    const Data_mgr& document_;
    Bcl_listview list_;
    std::optional<std::uint32_t> offset_;
};
