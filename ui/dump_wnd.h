#pragma once

#include <cstdint>

#include "toolkit/gui/bcl_canvas.h"

class Data_mgr;

// The dump view in the lower pane of the data page: the data as a hexadecimal and
// Shift-JIS dump. This window is its frame; the dump's drawing, scrolling and
// clicks fill it in, and until then it stays empty (white).
class Dump_wnd : public Bcl_view {
public:
    explicit Dump_wnd(Data_mgr& document) : document_(document) {}

    // The window of class "DumpWnd" in `parent`.
    void create(Bcl_wnd& parent);
    // Takes the data's length after a change of the data.
    void refresh_range();
    [[nodiscard]] std::uint32_t data_length() const { return data_length_; }

private:
    Data_mgr& document_;
    std::uint32_t data_length_ = 0;
};
