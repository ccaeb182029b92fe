#pragma once

#include <cstddef>

// Limits that protect the program against hostile or broken input. Each is a named
// constant here, with the reason it exists; every layer takes its bounds from here.
namespace limits {

// Largest data file the document addresses: positions and sizes are 32-bit.
inline constexpr unsigned long long max_data_size = 0xFFFFFFFFull;

} // namespace limits
