#include "ui/core/change_limits.h"

#include <algorithm>

#include "model/data_node.h"
#include "model/cmp_float.h"
#include "model/cmp_int.h"
#include "model/float_value.h"
#include "model/cmp_nodef.h"
#include "model/cmp_str.h"
#include "model/cmp_table.h"
#include "model/cmp_visitor.h"

namespace {

constexpr std::uint32_t max_string_length = 65535;
constexpr std::uint32_t max_short_string_length = 255;  // what a 1-byte length prefix holds

// The largest value of `bits` bits (0 ... 32).
std::uint64_t all_ones(int bits)
{
    return bits >= 64 ? ~0ull : (std::uint64_t{1} << std::max(bits, 0)) - 1;
}

// The bytes from `start` up to `end`, counting no further than `limit`.
std::uint32_t bytes_up_to(const Data_node* start, const Data_node* end, std::uint32_t limit)
{
    std::uint32_t count = 0;
    for (const Data_node* node = start; node && node != end && count < limit; node = node->next())
        ++count;
    return count;
}

class Limits_visitor : public Cmp_visitor {
public:
    void visit_component(Component&) override {}

    void visit_fix_str(Cmp_fix_str& c) override
    {
        // The change writes no more than the bytes the string covers: a longer text
        // would be cut without a word.
        text(bytes_up_to(c.start(), c.end(), c.length()));
    }
    void visit_flex_str(Cmp_flex_str& c) override
    {
        text(prefix_width(*c.def()) == 1 ? max_short_string_length : max_string_length);
    }
    void visit_null_str(Cmp_null_str&) override { text(max_string_length); }

    void visit_int(Cmp_int& c) override
    {
        const int bits = 8 * c.int_size();
        decimal(-static_cast<std::int64_t>(all_ones(bits - 1)) - 1, all_ones(bits - 1), c.named_values());
    }
    void visit_uint(Cmp_uint& c) override { decimal(0, all_ones(8 * c.int_size()), c.named_values()); }

    void visit_hex(Cmp_hex& c) override
    {
        limits.dialog = Change_dialog::hexadecimal;
        limits.byte_count = c.int_size();
        limits.named_values = &c.named_values();
    }

    void visit_bitflag(Cmp_bitflag& c) override
    {
        // Only the bits that exist in the integer can be written: a flag reaching past
        // its integer's bytes holds fewer values than its width says.
        const int existing = std::min(c.bit_count(), 8 * c.int_size() - c.shift());
        decimal(0, all_ones(existing), c.named_values());
    }

    void visit_nodef(Cmp_nodef&) override
    {
        limits.dialog = Change_dialog::hexadecimal;
        limits.byte_count = 1;
    }

    void visit_tbl(Cmp_tbl&) override {}
    void visit_rec(Cmp_rec&) override {}
    void visit_bytes(Cmp_bytes&) override {}

    void visit_float(Cmp_float& c) override
    {
        limits.dialog = Change_dialog::real;
        limits.byte_count = float_width(*c.def());
    }

    Change_limits limits;

private:
    void decimal(std::int64_t minimum, std::uint64_t maximum, const Named_values& values)
    {
        limits.dialog = Change_dialog::decimal;
        limits.minimum = minimum;
        limits.maximum = maximum;
        limits.named_values = &values;
    }
    void text(std::uint32_t max_length)
    {
        limits.dialog = Change_dialog::text;
        limits.max_length = max_length;
    }
};

} // namespace

Change_limits change_limits(Component& component)
{
    Limits_visitor visitor;
    component.accept(visitor);
    return visitor.limits;
}
