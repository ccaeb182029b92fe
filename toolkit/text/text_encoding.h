#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/text/bcl_str.h"

// The text encodings a string item's bytes may be in. Shift-JIS is the program's
// own: its strings are shown and written as the bytes they are. The others are
// decoded to Unicode where they are shown and encoded back where they are changed.
// The values are the codes the definition file stores.
enum class Text_encoding : std::uint8_t { shift_jis, ascii, utf8, utf16le, utf16be, latin1 };
inline constexpr int text_encoding_count = 6;

// 2 for UTF-16, whose NUL is two zero bytes at an even offset from the text's start;
// 1 for the others.
[[nodiscard]] int code_unit_size(Text_encoding encoding);
// "Shift-JIS", "ASCII", "UTF-8", "UTF-16LE", "UTF-16BE", "ISO-8859-1": the name the
// definition list and the JSON form show.
[[nodiscard]] std::string_view encoding_name(Text_encoding encoding);
[[nodiscard]] std::optional<Text_encoding> encoding_named(std::string_view name);
[[nodiscard]] std::optional<Text_encoding> encoding_of_code(unsigned code);

// A byte that starts no character is shown as the braille pattern U+2800 + byte,
// whose dots are the byte's bits (as the string change field shows bytes that are
// no Shift-JIS character): the text reads back byte for byte. 3 bytes of UTF-8.
void append_stand_in(std::string& utf8, std::uint8_t byte);

// Decodes a string's bytes (not Shift-JIS) to UTF-8 a piece at a time, so that a
// long text needs no more memory than its pieces. A character cut at the end of a
// piece waits for the next; bytes that start no character become stand-ins.
class Text_decoder {
public:
    explicit Text_decoder(Text_encoding encoding);

    void decode(std::string_view bytes, std::string& utf8);
    // The end of the text: bytes of a character left incomplete become stand-ins.
    void finish(std::string& utf8);

private:
    Text_encoding encoding_;
    std::string pending_;
};

// The whole of `bytes` decoded, as Text_decoder does.
[[nodiscard]] std::string decode_text(std::string_view bytes, Text_encoding encoding);

// `utf8` in `encoding`, each stand-in as its byte; none when it holds a character
// the encoding cannot hold. A genuine braille character is read as a stand-in.
[[nodiscard]] std::optional<std::string> encode_text(std::string_view utf8, Text_encoding encoding);

// The replacement of a character that Shift-JIS cannot hold (stand-ins included)
// where a text must be Shift-JIS: 〓 (U+3013, the geta mark).
inline constexpr std::string_view sjis_replacement = "\x81\xAC";
[[nodiscard]] Bcl_str shift_jis_with_replacement(std::string_view utf8);
