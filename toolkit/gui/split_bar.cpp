#include "toolkit/gui/split_bar.h"

#include <algorithm>

int Split_bar::clamp(int position) const
{
    if (extent_ < 0)
        return std::max(position, near_margin);
    return std::max(0, std::min(std::max(position, near_margin), extent_ - far_margin));
}

void Split_bar::set_position(int position) { position_ = std::max(position, 0); }

void Split_bar::drag_to(int position) { position_ = clamp(position); }

void Split_bar::set_extent(int extent) { extent_ = std::max(extent, 0); }

int Split_bar::shown() const
{
    if (extent_ < 0)
        return position_;
    return std::max(0, std::min(position_, extent_ - far_margin));
}
