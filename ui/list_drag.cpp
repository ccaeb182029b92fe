#include "ui/list_drag.h"

namespace {
constexpr int scroll_period_ms = 100;
} // namespace

List_drag::List_drag(Bcl_listview& list, Allowed allowed, Dropped dropped)
    : list_(list), allowed_(std::move(allowed)), dropped_(std::move(dropped))
{
}

void List_drag::start(int source)
{
    if (active() || source < 0)
        return;
    source_ = source;
    cursor_ = {};
    list_.capture_mouse({[this](Bcl_point point) { moved(point); }, [this](Bcl_point point) { released(point); },
                         [this](Bcl_point) { cancel(); }, [this] { cancel(); }});
    timer_.start(scroll_period_ms, [this] { tick(); });
}

bool List_drag::allowed(int target) const { return target >= 0 && allowed_(source_, target); }

void List_drag::moved(Bcl_point point)
{
    cursor_ = point;
    const int target = list_.hit_test(point);
    list_.set_drop_highlight(target);
    list_.set_cursor(allowed(target) ? Bcl_cursor::drop : Bcl_cursor::not_allowed);
}

// Scrolls the list while the cursor is above or below it.
void List_drag::tick()
{
    const int height = list_.client_height();
    if (cursor_.y < 0)
        list_.scroll_by(cursor_.y);
    else if (cursor_.y > height)
        list_.scroll_by(cursor_.y - height);
}

void List_drag::released(Bcl_point point)
{
    const int source = source_;
    const int target = list_.hit_test(point);
    const bool drop = allowed(target);
    cancel();
    if (drop)
        dropped_(source, target);
}

// The list as it was before the drag started, the mouse free.
void List_drag::cancel()
{
    if (!active())
        return;
    list_.set_cursor(Bcl_cursor::arrow);
    list_.set_drop_highlight(-1);
    list_.release_mouse();
    timer_.stop();
    source_ = -1;
}
