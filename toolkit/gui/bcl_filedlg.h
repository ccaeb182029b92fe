#pragma once

#include <string>
#include <vector>

#include "toolkit/files/file_path.h"

class Bcl_wnd;

// The open and save file dialogs. Open accepts only a file that exists; save asks
// before an existing file is overwritten.
class Bcl_filedlg {
public:
    enum class Mode { open, save };

    explicit Bcl_filedlg(Mode mode) : mode_(mode) {}
    // Filters in order: description and pattern ("*.kxd", "*" for every file).
    void add_filter(std::string description, std::string pattern);
    // 1 when the user chose a file, then path() is it; 0 otherwise.
    int run(Bcl_wnd* owner);
    [[nodiscard]] const File_path& path() const { return path_; }

private:
    struct Filter {
        std::string description;
        std::string pattern;
    };
    Mode mode_;
    std::vector<Filter> filters_;
    File_path path_;
};
