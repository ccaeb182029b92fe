#include "toolkit/gui/placement.h"

#include <algorithm>

namespace {

// One axis: centred on the owner, then inside [start, start + extent).
int place_axis(int owner_start, int owner_extent, int size, int start, int extent)
{
    const int centred = owner_start + (owner_extent - size) / 2;
    if (size >= extent)
        return start;
    return std::clamp(centred, start, start + extent - size);
}

} // namespace

Bcl_rect dialog_place(const Bcl_rect& owner, int width, int height, const Bcl_rect& area)
{
    return {place_axis(owner.x, owner.width, width, area.x, area.width),
            place_axis(owner.y, owner.height, height, area.y, area.height), width, height};
}

bool rect_contains(const Bcl_rect& rect, int x, int y)
{
    return x >= rect.x && x < rect.x + rect.width && y >= rect.y && y < rect.y + rect.height;
}

Bcl_rect stop_button_place(int bar_width, int bar_height, int text_width)
{
    constexpr int padding = 12;
    const int width = std::clamp(text_width + 2 * padding, 0, std::max(bar_width / 2, 0));
    return {bar_width - width, 0, width, std::max(bar_height, 0)};
}
