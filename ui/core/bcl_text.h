#pragma once

#include <cstddef>
#include <string>

#include "toolkit/text/bcl_str.h"

// Text fields that fill a Bcl_str: what they may hold, and how their text becomes one.

// The most a text field of a dialog holds, in Shift-JIS bytes: the length prefix of
// a definition file's strings is one byte.
constexpr std::size_t bcl_text_limit = 255;

// The text a field shows for `text`: bytes that have no Unicode form as their
// stand-ins (field_text_of_bytes, one line), so that they can be edited around.
[[nodiscard]] std::string field_text_of(const Bcl_str& text);

// The field's text as a Bcl_str, every stand-in its byte again. When the text is
// still what `original` showed, `original` itself is returned.
[[nodiscard]] Bcl_str bcl_text_of_field(const std::string& utf8, const Bcl_str& original);
