#include "ui/core/mode_commands.h"

#include "ui/core/commands.h"
#include "ui/core/state.h"

bool run_mode_command(State& mode, int id)
{
    switch (id) {
    case cmd::file_new:
        if (mode.query_save())
            mode.file_new();
        return true;
    case cmd::file_open:
        if (mode.query_save())
            mode.file_open();
        return true;
    case cmd::file_save:
        mode.file_save();
        return true;
    case cmd::file_save_as:
        mode.file_save_as();
        return true;
    case cmd::undo:
        if (mode.can_undo())
            mode.undo();
        return true;
    case cmd::redo:
        if (mode.can_redo())
            mode.redo();
        return true;
    default:
        return false;
    }
}

bool query_close(State& definition_mode, State& data_mode)
{
    return definition_mode.query_save() && data_mode.query_save();
}

void open_dropped(State& mode, std::span<const File_path> files)
{
    if (mode.query_save() && !files.empty())
        mode.open_file(files.front());
}
