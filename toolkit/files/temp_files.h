#pragma once

#include <string>
#include <vector>

// Temporary files for saving: named ones beside a target, unnamed scratch files.

// The folder part of `path` ("." when it has none).
[[nodiscard]] std::string folder_of(const std::string& path);

// `folder` first, then $TMPDIR and /tmp: where a scratch file may go.
[[nodiscard]] std::vector<std::string> scratch_folders(const std::string& folder);

// Creates a new empty file, mode 0600, named ".kx-" and six random characters in
// `folder`; its name goes to `name`. Returns the descriptor (read and write), or -1.
[[nodiscard]] int create_temporary(const std::string& folder, std::string& name);

// A file without a name, for reading and writing, in the first folder of
// scratch_folders(folder) that takes one; it vanishes when closed. -1 when none does.
[[nodiscard]] int create_scratch(const std::string& folder);
