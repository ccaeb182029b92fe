#pragma once

#include <cstdint>

#include "model/component.h"

// One byte that no item covers, at `index` within the undefined remainder. Named
// "[index]" on first use; its value text is "0x" and two upper-case hex digits.
class Cmp_nodef : public Component {
public:
    Cmp_nodef(std::uint32_t index, Data_node* start) : Component(start), index_(index) {}

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] const Bcl_str& name() const override;
    [[nodiscard]] const Bcl_str& value_text() const override;
    [[nodiscard]] bool has_children() const override { return false; }

    [[nodiscard]] std::uint32_t index() const { return index_; }
    // Replaces the byte by the low 8 bits of `v` (recorded for undo).
    void set_value(int v);

private:
    std::uint32_t index_;
};
