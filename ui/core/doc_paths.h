#pragma once

#include <string>

#include "toolkit/bcl_str.h"
#include "toolkit/file_path.h"

class Exception;

// The one place where the window's file names meet the document's paths. The
// window keeps names as File_path (the system's bytes); the document takes them as
// Bcl_str and opens them after converting that to UTF-8, so the name's bytes go in
// as UTF-8 text and come back out the same way.

// The document's form of a file name.
[[nodiscard]] Bcl_str doc_path(const File_path& path);
// A path the document holds (data_path(), definition_path()) as a file name.
[[nodiscard]] File_path file_path_of(const Bcl_str& doc_path);
// A failure as the user sees it: the path immediately followed by the message.
[[nodiscard]] std::string failure_text(const Exception& failure);
