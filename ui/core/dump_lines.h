#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Data_mgr;

// The texts of the dump view's lines, read from the document, free of any window.
// Each line shows its offset, its bytes in hexadecimal and the same bytes as
// characters, where a two-byte Shift-JIS character is shown whole in the cell of
// its first byte. Texts are UTF-8, ready to draw; positions come from Dump_layout.

// One byte of a line.
struct Dump_cell {
    std::string hex;        // two upper-case hexadecimal digits
    // The character cell: the byte as a character, "." for a byte that is no
    // printable character, the whole character for the first byte of a two-byte
    // character, and nothing for its second byte.
    std::string character;
    bool wide = false;      // a two-byte character: two cells wide, past the next column
    bool red = false;       // inside the highlighted range: hexadecimal and character in red
};

struct Dump_line {
    std::uint32_t offset = 0;  // of the line's first byte
    std::string offset_text;   // 8 upper-case hexadecimal digits
    bool separator = false;    // "-" at x = 256: only on lines with a byte in column 8
    std::vector<Dump_cell> cells;  // one per byte, from column 0
};

// The bytes drawn in red: offsets start ... end − 1.
struct Dump_highlight {
    bool on = false;
    std::uint32_t start = 0;
    std::uint32_t end = 0;
};

// The lines `first_line` ... `first_line` + `count` − 1 that hold data. The bytes
// are reached from the document's skip index (at most one skip block walked before
// the first line), never from the first byte; the Shift-JIS state at the first line
// is followed from the skip entry's state.
[[nodiscard]] std::vector<Dump_line> dump_lines(const Data_mgr& doc, std::uint32_t first_line, std::uint32_t count,
                                                const Dump_highlight& highlight);

// How a single byte (not part of a two-byte character) is shown: printable ASCII as
// itself, the half-width katakana 0xA1 ... 0xDF as themselves, any other byte as ".".
[[nodiscard]] std::string single_byte_text(std::uint8_t byte);
// How the two bytes of a character starting with a lead byte are shown: the
// character, or "." when Shift-JIS has no character for them.
[[nodiscard]] std::string double_byte_text(std::uint8_t lead, std::uint8_t trail);
