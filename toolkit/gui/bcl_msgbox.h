#pragma once

#include <string_view>

class Bcl_wnd;

enum class Bcl_buttons { ok, yes_no_cancel };
enum class Bcl_answer { ok, yes, no, cancel };
// A lone OK shows no icon or the warning icon; Yes, No and Cancel the question icon.
enum class Bcl_icon { none, warning };

// A modal message box owned by `owner` (or none), with its caption and buttons.
// Closing it with Escape or the close box answers cancel (ok for a lone OK).
Bcl_answer bcl_message_box(Bcl_wnd* owner, std::string_view text, std::string_view caption,
                           Bcl_buttons buttons = Bcl_buttons::ok, Bcl_icon icon = Bcl_icon::none);
