#pragma once

#include <string>
#include <string_view>

// A folder of its own under /tmp for one test, removed with everything in it when
// the object goes. `tag` names the suite in the folder's name, for finding leftovers.
class Temp_folder {
public:
    explicit Temp_folder(std::string_view tag = "test");
    ~Temp_folder();
    Temp_folder(const Temp_folder&) = delete;
    Temp_folder& operator=(const Temp_folder&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }
    // The path of `name` inside the folder.
    [[nodiscard]] std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The whole file as bytes; empty when it cannot be read.
[[nodiscard]] std::string file_contents(const std::string& path);
// Replaces the file by exactly `bytes`.
void write_file(const std::string& path, std::string_view bytes);
