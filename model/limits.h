#pragma once

#include <cstddef>

// Limits that protect the program against hostile or broken input. Each is a named
// constant here, with the reason it exists; every layer takes its bounds from here.
namespace limits {

// Largest data file the document addresses: positions and sizes are 32-bit.
inline constexpr unsigned long long max_data_size = 0xFFFFFFFFull;

// Deepest nesting of item records a definition file may hold (top-level items are
// level 1). Reading, destroying, saving and walking a definition all recurse once
// per level, so a hostile file nesting loops a million deep would overflow the
// stack; no real layout comes near this.
inline constexpr int max_definition_depth = 256;

} // namespace limits
