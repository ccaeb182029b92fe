#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "model/cmp_table.h"
#include "model/def_bytes.h"

// The number of first bytes a block's value text shows.
inline constexpr std::size_t bytes_shown = 8;

// "128 バイト: 89 50 4E 47 0D 0A 1A 0A …": the length, then `first` (the bytes
// of the block that the data holds, up to bytes_shown) in hexadecimal, the
// mark only when the block holds more; "0 バイト" alone for an empty block.
[[nodiscard]] Bcl_str bytes_text(std::uint64_t length, std::span<const std::uint8_t> first);

// A byte block: a table of its bytes (grouped as the undefined bytes are) whose
// value text is bytes_text(), read from the data on first use. Its length is the
// one its expression gave, which may be more than the data holds (then the table
// runs to the end of the data).
class Cmp_bytes : public Cmp_tbl {
public:
    Cmp_bytes(Def_bytes* def, Data_node* start, std::uint64_t length, std::uint32_t group)
        : Cmp_tbl(def, def->name(), start, 0, static_cast<std::uint32_t>(std::min<std::uint64_t>(length, UINT32_MAX)),
                  group),
          length_(length)
    {
    }

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] const Bcl_str& value_text() const override;
    [[nodiscard]] bool has_children() const override { return to() > 0; }

    [[nodiscard]] std::uint64_t length() const { return length_; }
    // One of its bytes was changed: the value text is read again on next use.
    void bytes_changed() { forget_value_text(); }

private:
    std::uint64_t length_;
};
