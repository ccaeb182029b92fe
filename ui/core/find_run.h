#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "ui/core/find_choice.h"

class Data_mgr;

// The user's request to stop the search that runs, asked now and then while it runs.
[[nodiscard]] bool find_stop_requested();

// A search of the bar as a long operation: the status bar says it runs with the hits
// found so far and its progress moves. The hit it chose, if any, comes with the result.
struct Component_find {
    Find_result result;
    std::vector<int> indices;
};
[[nodiscard]] Component_find run_component_find(Data_mgr& document, const Component_query& query,
                                                std::optional<std::vector<int>> from, Find_direction direction);

struct Byte_find {
    Find_result result;
    std::uint64_t offset = 0;
};
[[nodiscard]] Byte_find run_byte_find(const Data_mgr& document, std::string_view pattern,
                                      std::optional<std::uint64_t> from, Find_direction direction);
