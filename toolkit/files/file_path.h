#pragma once

#include <string>
#include <string_view>

// A file name exactly as the system gave it (command line, file dialog, drop): bytes
// in the user's locale, not Shift-JIS text. It is passed unchanged to open, write and
// rename, and converted only to be shown, so a name that Shift-JIS cannot hold
// still names the file the user meant.
class File_path {
public:
    File_path() = default;
    explicit File_path(std::string bytes) : bytes_(std::move(bytes)) {}
    explicit File_path(std::string_view bytes) : bytes_(bytes) {}
    explicit File_path(const char* bytes) : bytes_(bytes) {}

    [[nodiscard]] const std::string& bytes() const { return bytes_; }
    [[nodiscard]] const char* c_str() const { return bytes_.c_str(); }
    [[nodiscard]] bool empty() const { return bytes_.empty(); }

    // The name for showing to the user, as UTF-8: file names are taken to be UTF-8
    // (the locale of every desktop this runs on); each byte that does not decode is
    // shown as U+FFFD, so the name stays visibly different from a valid one.
    [[nodiscard]] std::string display() const;

    friend bool operator==(const File_path&, const File_path&) = default;

private:
    std::string bytes_;
};
