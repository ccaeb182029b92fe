#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "toolkit/bcl_str.h"

// Text fields that fill a Bcl_str: what they may hold, and how their text becomes one.

// The most a text field of a dialog holds, in Shift-JIS bytes: the length prefix of
// a definition file's strings is one byte.
constexpr std::size_t bcl_text_limit = 255;

// Whether a field may hold `utf8`: no control character, every character one that
// Shift-JIS holds, and the Shift-JIS form at most `limit` bytes (Ctrl_edit_text_state). A
// field refuses an edit that breaks this, so nothing typed is later saved as "?".
[[nodiscard]] bool fits_bcl_text(std::string_view utf8, std::size_t limit = bcl_text_limit);

// The field's text as a Bcl_str. When the text is still what `original` showed,
// `original` itself is returned: bytes that have no Unicode form were shown as U+FFFD
// and must not turn into "?" just because the dialog was confirmed.
[[nodiscard]] Bcl_str bcl_text_of_field(const std::string& utf8, const Bcl_str& original);
