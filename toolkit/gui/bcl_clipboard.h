#pragma once

#include <string>
#include <string_view>

// The system clipboard's text, UTF-8.
void set_clipboard_text(std::string_view utf8);
[[nodiscard]] std::string clipboard_text();
