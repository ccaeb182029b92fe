#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/byte_order.h"
#include "model/limits.h"
#include "toolkit/text/bcl_str.h"
#include "toolkit/files/file_path.h"

class Define;
class Item_list;

// The "*.kxd" definition file: the environment settings and the whole item tree.
// Every integer in it is big-endian whatever the document's byte order; every
// string has a 1-byte length prefix.
namespace definition_file {

inline constexpr char signature[3] = {'K', 'X', 'D'};
// The format a definition of the original items is written in, and the program
// version a reader needs for it.
inline constexpr std::uint32_t format_version = 100;
inline constexpr std::uint32_t required_version = 100;
// The format (and required version) of a definition that uses an item added since:
// a reader of format 100 refuses it by its version check. The file is written in
// the highest format its items need (Define::format_needed).
inline constexpr std::uint32_t additions_format = 101;

// What the field widths can hold; a definition beyond them cannot be saved, and the
// command line's JSON reader refuses it.
inline constexpr std::size_t max_text_bytes = 255;      // 1-byte string length
inline constexpr std::size_t max_list_items = 65535;    // 2-byte child counts
inline constexpr std::size_t max_named_values = 255;    // 1-byte table size
inline constexpr std::size_t max_bit_flags = 255;       // 1-byte flag count
inline constexpr int max_fixed_length = limits::max_fixed_string_length;  // 1-byte length field
inline constexpr int max_bit_count = 255;               // 1-byte width field

// Record kind codes; 1 is not used.
enum Kind_code : std::uint8_t {
    code_int = 0,
    code_fix_str = 2,
    code_flex_str = 3,
    code_null_str = 4,
    code_if = 5,
    code_for = 6,
    code_while = 7,
    code_set_variable = 8,
    code_def_set = 9,
    code_def_ref = 10,
    code_float = 11,  // format 101 on
    code_bytes = 12,  // format 101 on

    // Format 101 on: the string records with their encoding, written for a string
    // that is not Shift-JIS or whose length is an expression.
    code_fix_str_encoded = 20,
    code_flex_str_encoded = 21,
    code_null_str_encoded = 22,
};

} // namespace definition_file

// A definition as read from a file, not yet given to the document.
struct Definition_contents {
    Bcl_str title;
    Byte_order byte_order = Byte_order::big_endian;
    std::vector<std::unique_ptr<Define>> items;
};

// Reads a whole definition file, setting the progress position to the file offset
// after every item. Throws File_open_err_exception, Data_kind_exception,
// Ver_exception (a format above `readable_format`) and Data_err_exception (a short
// file, a value out of range, an unknown kind code or one of a later format than the
// file's, nesting deeper than limits::max_definition_depth). Bytes after the last
// top-level record are ignored. `readable_format` below the newest acts as an
// older reader does.
[[nodiscard]] Definition_contents read_definition_file(
    const File_path& path, std::uint32_t readable_format = definition_file::additions_format);

// Writes a definition file to `path` (see File_writer for how it takes the old
// file's place) and steps the progress once per top-level item. A string, list or
// value that the format cannot hold throws Unstorable_exception, a failed write
// File_write_err_exception and its kin; the file at `path` then stays as it was.
void write_definition_file(const File_path& path, const Bcl_str& title, Byte_order byte_order, const Item_list& items);
