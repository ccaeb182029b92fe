#pragma once

// How the bytes of a float item become its value and its text, and a typed number
// its bytes. The tree, the report and the change dialog all go through these, so
// they cannot disagree.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/byte_order.h"
#include "model/def_float.h"

// The number of bytes a float item reads: 8 for size 8, else 4, so that an item
// with a broken size still reads a defined number of bytes.
[[nodiscard]] inline int float_width(const Def_float& item) { return item.size() == 8 ? 8 : 4; }

// The bit pattern of the `width` (4 or 8) bytes at `bytes` in `order`.
[[nodiscard]] std::uint64_t load_float_bits(const std::uint8_t* bytes, int width, Byte_order order);

// The shortest text that reads back to the same value; "inf", "-inf", "-0" as
// such, every NaN "nan".
[[nodiscard]] std::string float_text(std::uint64_t bits, int width);

// The text of `value` as a float of `width` bytes holds it.
[[nodiscard]] std::string stored_float_text(double value, int width);

// The bytes of `value` as a float of `width` bytes in `order`.
[[nodiscard]] std::string float_bytes(double value, int width, Byte_order order);

// A decimal number ("1.5", "-2e-3", " 7 " without the blanks), "inf", "-inf" or
// "nan" as a value of `width` bytes; none for any other text or for a finite number
// beyond what `width` bytes hold.
[[nodiscard]] std::optional<double> parse_float(std::string_view text, int width);
