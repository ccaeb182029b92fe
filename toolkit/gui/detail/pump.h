#pragma once

#include <functional>

// Letting the window repaint in the middle of a long operation, and keeping the
// program's handlers out of it meanwhile.
namespace pump {

// True while pending events are processed in the middle of a long operation.
[[nodiscard]] bool active();
// Processes pending events (paint, expose, resize) with all user input thrown away.
void repaint_now();
// Runs `handler` at once, or after the long operation when called while active().
// Every handler of the program that the toolkit calls runs through here; a failure
// that escapes it (out of memory) is shown in a message box.
void deliver(std::function<void()> handler);
// Forgets the handlers still waiting for a long operation's end: called when the
// main window goes, since they hold pointers into it.
void discard_deferred();

} // namespace pump
