#include "ui/core/title.h"

namespace {

void append_side(std::string& title, const File_path& path, bool modified)
{
    title += path.empty() ? "無題" : path.display();
    if (modified)
        title += " *";
}

}  // namespace

std::string window_title(const File_path& data_path, bool data_modified, const File_path& definition_path,
                         bool definition_modified)
{
    std::string title = "ケストリクス - ";
    append_side(title, data_path, data_modified);
    title += " [";
    append_side(title, definition_path, definition_modified);
    title += "]";
    return title;
}
