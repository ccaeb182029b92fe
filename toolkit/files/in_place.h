#pragma once

#include <cstdint>
#include <string>

#include "toolkit/files/file_path.h"

// Puts the first `size` bytes of `source` in place of the contents of the regular
// file open as `target` (for reading and writing) without replacing the file, so
// that its hard links, owner, group, mode and attributes stay as they are.
//
// A copy of the old contents is secured first, in a new file in the first of
// scratch_folders(backup_folder) that takes it. When the new contents cannot be
// written completely, the old ones are copied back and File_write_err_exception(name)
// is thrown: the file holds what it held before. Should even that fail, the copy is
// kept and Restore_err_exception(name, copy) names it. Nothing changes when the copy
// cannot be made (File_write_err_exception). The terminating signals wait meanwhile.
void replace_in_place(const File_path& name, int target, int source, std::uint64_t size,
                      const std::string& backup_folder);
