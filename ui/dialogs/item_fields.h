#pragma once

#include <cstdint>
#include <optional>

#include "toolkit/text/bcl_str.h"
#include "toolkit/text/text_encoding.h"
#include "toolkit/gui/bcl_ctrl.h"

// A plain text field of an item dialog: at most 255 Shift-JIS bytes of text that
// Shift-JIS holds. show_bcl_text() puts a definition text into it; bcl_text_of()
// reads it back, keeping `original` itself while the field still shows it.
void attach_bcl_text(Bcl_dlg& dialog, Bcl_edit& field, int id);
void show_bcl_text(Bcl_edit& field, const Bcl_str& text);
[[nodiscard]] Bcl_str bcl_text_of(const Bcl_edit& field, const Bcl_str& original);

// A number field's value: a text starting with "-" is read as a signed decimal
// number, any other as an unsigned one, both as 32 bits; an empty or unreadable
// text gives none.
[[nodiscard]] std::optional<std::int32_t> number_of(const Bcl_edit& field);

class Bcl_combbox;

// The size lists "１バイト", "２バイト", "４バイト" (and "８バイト" for an integer item):
// filled, and the entry of a size.
void fill_size_list(Bcl_combbox& list, bool with_eight = false);
void show_size(Bcl_combbox& list, int size);
[[nodiscard]] int size_of(const Bcl_combbox& list);

// The list of a string's text encodings, by name: filled, and the entry of one.
void fill_encoding_list(Bcl_combbox& list);
void show_encoding(Bcl_combbox& list, Text_encoding encoding);
[[nodiscard]] Text_encoding encoding_of(const Bcl_combbox& list);
