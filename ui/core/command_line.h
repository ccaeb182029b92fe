#pragma once

#include <optional>
#include <span>
#include <string>

#include "toolkit/files/file_path.h"

// The files named when the program starts.
struct Start_files {
    std::optional<File_path> definition;
    std::optional<File_path> data;
};

// The program's arguments (after the program name), as the shell split them:
// "/d" DEFINITION [DATA], or a lone DATA. Only a token that is exactly "/d" is the
// switch, since "/data/x.bin" is a file name here; arguments after the data file
// are ignored, as are empty ones.
[[nodiscard]] Start_files parse_command_line(std::span<const std::string> args);
