#pragma once

#include <string>
#include <string_view>

// UTF-8 and UTF-32, for the window's texts: UTF-32 has one element per character,
// which is what input rules that judge whole characters count in.
//
// A code point that is no character (a surrogate, or beyond U+10FFFF) and a
// malformed UTF-8 sequence each become U+FFFD, so nothing vanishes unseen.
[[nodiscard]] std::string utf8_from_utf32(std::u32string_view text);
[[nodiscard]] std::u32string utf32_from_utf8(std::string_view text);
