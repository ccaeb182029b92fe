#pragma once

#include <string>
#include <string_view>

// A list cell's text on one line: each line break (CR, LF or CR LF) becomes one
// "⏎", so that a value holding line breaks neither blanks its cell nor makes every
// row of the list taller. UTF-8 in and out.
[[nodiscard]] std::string one_line_cell_text(std::string_view utf8);
