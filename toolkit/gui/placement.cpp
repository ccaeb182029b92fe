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
