#include "ui/core/doc_paths.h"

#include "toolkit/exception.h"

Bcl_str doc_path(const File_path& path) { return Bcl_str::from_utf8(path.bytes()); }

File_path file_path_of(const Bcl_str& doc_path) { return File_path(doc_path.to_utf8()); }

std::string failure_text(const Exception& failure)
{
    return file_path_of(failure.path()).display() + failure.message().to_utf8();
}
