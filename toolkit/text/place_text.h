#pragma once

#include <string>
#include <string_view>

// A place in a definition as messages name it ("items[2].children[0].name"), cut
// to its first and last few steps when it runs deeper: a place 256 levels down
// would be thousands of characters, more than a message box or a terminal line
// shows.
[[nodiscard]] std::string shortened_place(std::string_view place);
