#pragma once

#include <functional>

#include "toolkit/gui/bcl_listview.h"
#include "toolkit/gui/bcl_timer.h"

// Dragging one row of a list onto another with the mouse: while it runs the mouse is
// captured, the row under the cursor has the drop highlight, the cursor is the drop
// cursor where `allowed` says yes and the not-allowed cursor elsewhere, and every
// 100 ms the list scrolls towards a cursor above or below it. Releasing the left
// button over an allowed row hands (source, target) to `dropped`; the right button,
// the list losing the focus or being hidden, or cancel() ends the drag without a
// drop. The owner cancels it whenever the rows change under it.
class List_drag {
public:
    using Allowed = std::function<bool(int source, int target)>;
    using Dropped = std::function<void(int source, int target)>;

    List_drag(Bcl_listview& list, Allowed allowed, Dropped dropped);

    void start(int source);
    void cancel();
    [[nodiscard]] bool active() const { return source_ >= 0; }

private:
    void moved(Bcl_point point);
    void released(Bcl_point point);
    void tick();
    [[nodiscard]] bool allowed(int target) const;

    Bcl_listview& list_;
    Allowed allowed_;
    Dropped dropped_;
    int source_ = -1;
    Bcl_point cursor_{};
    Bcl_timer timer_;
};
