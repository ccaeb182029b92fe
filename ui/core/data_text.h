#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A string's bytes as a text field shows them, and back: every byte comes back as it
// was, whether or not it is a Shift-JIS character. The string change field and the
// one-line fields of the item dialogs show bytes so.
//
//  - a carriage return followed by a line feed is a line break (in a field of
//    several lines);
//  - a NUL byte is "∅" (U+2205, the empty set);
//  - any other control byte (0x01 ... 0x1F, 0x7F, so also a lone line feed or
//    carriage return) and every byte that starts no Shift-JIS character that reads
//    back as itself (a lone lead byte, 0x80, 0xA0, 0xFD ... 0xFF) is the braille
//    pattern U+2800 + byte, whose dots are the byte's bits;
//  - everything else is the Shift-JIS character itself.
//
// Reading the field back turns a line break into a carriage return and a line feed
// and each of those stand-ins into its byte; none of them is a character that
// Shift-JIS holds, so they cannot clash with text typed. A character in one of the
// JIS forms that cp932_form() maps is read back as its CP932 form's bytes.
//
// A field of one line shows a carriage return and a line feed as stand-ins too.
enum class Field_lines { several, one };
[[nodiscard]] std::string field_text_of_bytes(std::string_view bytes, Field_lines lines = Field_lines::several);
[[nodiscard]] std::string bytes_of_field_text(std::string_view utf8);

// The bytes that `c` (already in its CP932 form) takes once the field is read back:
// 1 for a stand-in, 2 for a line break, its Shift-JIS length for a printable
// character that Shift-JIS holds; 0 for any other character, which a field does not
// take.
[[nodiscard]] std::size_t field_char_bytes(char32_t c);

// A string's text decoded to UTF-8 (not Shift-JIS: see text_encoding.h) as the field
// of several lines shows it, a carriage return and a line feed as a line break, and
// back.
[[nodiscard]] std::string field_text_of_text(std::string_view utf8);
[[nodiscard]] std::string text_of_field_text(std::string_view field);
