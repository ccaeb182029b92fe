#include "ui/core/command_line.h"

Start_files parse_command_line(std::span<const std::string> args)
{
    Start_files files;
    std::size_t next = 0;
    if (next < args.size() && args[next] == "/d") {
        ++next;
        if (next < args.size()) {
            if (!args[next].empty())
                files.definition = File_path(args[next]);
            ++next;
        }
    }
    if (next < args.size() && !args[next].empty())
        files.data = File_path(args[next]);
    return files;
}
