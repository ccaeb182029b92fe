#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

// The report's lines for the bytes that no item reads, one line per byte:
//
//     00001234            [17]    0x5A
//
// the byte's offset as 8 upper-case hexadecimal digits (its lowest ones), 12
// spaces, its index among these bytes, 4 spaces and the byte. A large file can be
// all such bytes, so the lines are made a block at a time, and the text of the
// last line is kept: the next line only counts the offset and the index up in
// place and puts in its byte, instead of formatting both numbers again.
class Undefined_lines {
public:
    // The most bytes one call of format() takes.
    static constexpr std::size_t block_bytes = 1024;

    // Lines that start at the byte at `first_offset`, with index 0; each ends with
    // `line_end` (at most 2 bytes).
    Undefined_lines(std::uint64_t first_offset, std::string_view line_end);

    // The lines of `bytes` (at most block_bytes), the next bytes in the file. The
    // text stays valid until the next call.
    [[nodiscard]] std::string_view format(std::span<const std::uint8_t> bytes);

private:
    // The longest line: 8 + 12 + "[" 20 digits "]" + 6 + 2 digits + line end.
    static constexpr std::size_t longest_line = 8 + 12 + 22 + 6 + 2 + 2;
    // Each line is copied as a fixed-size block (one or two vector stores), which
    // may run past the line's end into the room of the next.
    static constexpr std::size_t copy_size = 64;
    static_assert(copy_size >= longest_line);

    void count_up_offset();
    void count_up_index();
    // Writes what follows the index digits: "]    0x", room for the byte, the line end.
    void put_tail();

    char line_[copy_size] = {};
    std::size_t index_end_ = 0;  // where the index digits end (the "]")
    std::size_t length_ = 0;     // the line's length, its line end included
    char line_end_[2] = {};
    std::size_t line_end_size_ = 0;
    std::unique_ptr<char[]> text_;
};
