#pragma once

#include <string>

#include "toolkit/files/file_path.h"

// The main window's title: "ケストリクス - " data path (or "無題") with " *" when the
// data is modified, then " [" definition path (or "無題") with " *" when the
// definition is modified, "]". UTF-8, because file names are shown as the system
// names them, not as Shift-JIS text.
[[nodiscard]] std::string window_title(const File_path& data_path, bool data_modified,
                                       const File_path& definition_path, bool definition_modified);
