#pragma once

#include <span>

#include "toolkit/files/file_path.h"

class State;

// The file and undo commands as the command table runs them on the current mode:
// new and open only after the mode's save prompt agreed, undo and redo only when
// there is a step. Returns false for an id that is not one of these six.
bool run_mode_command(State& mode, int id);

// Closing the window: the definition's save prompt first, then the data's; both
// must agree.
[[nodiscard]] bool query_close(State& definition_mode, State& data_mode);

// Files dropped on the window: after the mode's save prompt agreed, the first one is
// opened in that mode (a definition dropped on the data page is opened as data).
void open_dropped(State& mode, std::span<const File_path> files);
