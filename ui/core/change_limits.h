#pragma once

#include <cstdint>

#include "model/define.h"

class Component;

// Which change dialog a component's value is edited in.
enum class Change_dialog { none, decimal, hexadecimal, text, real };

// What the change dialog of a component accepts.
struct Change_limits {
    Change_dialog dialog = Change_dialog::none;
    // decimal: the lowest value, compared as signed, and the highest, compared as
    // unsigned, so that 0 ... 4294967295 fits.
    std::int64_t minimum = 0;
    std::uint64_t maximum = 0;
    // hexadecimal: the value's size in bytes (two digits each); real: the float's
    // size (4 or 8), which bounds the values it takes.
    int byte_count = 0;
    // text: the most Shift-JIS bytes the new text may have.
    std::uint32_t max_length = 0;
    // decimal and hexadecimal: the named values offered; none for an undefined byte.
    const Named_values* named_values = nullptr;
};

// The dialog and limits for changing `component`'s value: signed and unsigned
// ranges by the integer's size; 0 ... 2^n − 1 for a bit flag of n bits that exist in
// its integer; the integer's size, or 1 for an undefined byte, in hexadecimal; for
// strings the fixed length (as far as the data holds it), 255 after a 1-byte length
// prefix, else 65535; a float's size. Tables, records, the root and the shortage marker get
// Change_dialog::none.
[[nodiscard]] Change_limits change_limits(Component& component);
