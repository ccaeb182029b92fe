#pragma once

#include <functional>

// Letting the window repaint in the middle of a long operation, and the one rule by
// which the toolkit calls the program's handlers. Every handler of the program that
// the toolkit calls (keys, mouse, commands from menus, toolbar and accelerators,
// dialog buttons, timers, list, tree, page and text notifications, sizes, drops, the
// close box, help) runs through one of the functions below:
// - A failure that escapes a handler (out of memory, a file failure nobody caught) is
//   shown in a message box and the program goes on; Qt's event handling never sees it.
// - While a long operation lets the window repaint (active()), what the user asks for
//   (input(), key()) is ignored: the document is half-way. Only a stop gets through
//   (Escape, a click on the status bar's stop button): it asks reporter() for the
//   stop, and the operation leaves at its next stop point. During a find, which
//   changes nothing, the views also scroll (scroll()) and the close box stops it;
//   busy_verdict() is the rule. The outermost handler is
//   the reporter's operation (begin_operation, end_operation); an Operation_stopped
//   that escapes it is no failure and shows nothing. What has already changed
//   in the window (a new size, page, selection or text: deliver()) must still reach
//   the program, and does when the operation ends.
namespace pump {

// True while pending events are processed in the middle of a long operation.
[[nodiscard]] bool active();
// Processes pending events (paint, expose, resize) with all user input thrown away.
void repaint_now();

// A change the window reports: at once, or after the long operation when active().
void deliver(std::function<void()> handler);
// What the user asks for (a click, a command, a timer's tick): at once, or not at all
// when active().
void input(std::function<void()> handler);
// A scroll bar's step or the wheel over a view: as input(), but also let through while
// the operation lets the views scroll (a find, which only reads what they show).
void scroll(const std::function<void()>& handler);
// A key offered to the program, whose handler answers whether it used the key. A key
// that is ignored (active()) or whose handler failed counts as used, so that the
// window does not act on it either.
[[nodiscard]] bool key(const std::function<bool()>& handler);
// What the user asked for inside an event that must return first (a drop, whose
// prompts and loading must not run inside the window system's drag and drop): runs
// as input() once the event loop is back, unless discard_deferred() came first.
void post(std::function<void()> handler);

// Forgets the handlers still waiting for a long operation's end or posted: called
// when the main window goes, since they hold pointers into it.
void discard_deferred();

} // namespace pump
