#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// The program's version resource: values by sub-block path, such as
// "\StringFileInfo\041103A4\FileVersion".
class Bcl_verinfo {
public:
    // Reads the program's own version resource; false when it has none.
    bool load();
    // The value, or nothing when the block or the name is missing.
    [[nodiscard]] std::optional<std::string> value(std::string_view sub_block) const;

private:
    std::map<std::string, std::string, std::less<>> values_;
};
