#include "model/cmp_int.h"

#include <string>

#include "model/cmp_visitor.h"
#include "model/data_editor.h"
#include "model/walk_context.h"

namespace {

std::uint64_t width_mask(int bit_count)
{
    if (bit_count <= 0)
        return 0;
    return bit_count >= 64 ? ~0ull : (1ull << bit_count) - 1;
}

// The low `width` bytes of `value`: what reading them back yields unsigned.
std::uint64_t low_bytes(std::uint64_t value, int width)
{
    return width >= 8 ? value : value & ((1ull << (8 * width)) - 1);
}

} // namespace

// ---- integers ----

const Bcl_str& Cmp_integer::value_text() const
{
    if (!value_text_cached()) {
        std::string text;
        append_int_text(text, *def_, format(), bits_);
        cache_value_text(Bcl_str(std::move(text)));
    }
    return stored_value_text();
}

void Cmp_integer::expand()
{
    // Flags follow no references: the bounds do not matter.
    expand_after_replay(walk_context().position_of(start()), {},
                        [this] { def_->analyze_range(start(), this, nullptr, 0, 0, 0); });
}

void Cmp_integer::set_value(std::int64_t v)
{
    const int width = int_size();
    const auto pattern = static_cast<std::uint64_t>(v);
    set_start(data_editor().change_value(start(), width, pattern, std::nullopt));
    bits_ = low_bytes(pattern, width);
    forget_value_text();
}

void Cmp_int::accept(Cmp_visitor& visitor) { visitor.visit_int(*this); }

void Cmp_uint::accept(Cmp_visitor& visitor) { visitor.visit_uint(*this); }

void Cmp_hex::accept(Cmp_visitor& visitor) { visitor.visit_hex(*this); }

// ---- bit flags ----

void Cmp_bitflag::accept(Cmp_visitor& visitor) { visitor.visit_bitflag(*this); }

const Bcl_str& Cmp_bitflag::value_text() const
{
    if (!value_text_cached()) {
        std::string text;
        append_flag_text(text, *def_, flag_value(), is_wide_int(int_size_));
        cache_value_text(Bcl_str(std::move(text)));
    }
    return stored_value_text();
}

void Cmp_bitflag::set_value(std::int64_t v)
{
    if (shift_ >= 0 && shift_ < 64) {
        const std::uint64_t mask = width_mask(def_->bit_count()) << shift_;
        const std::uint64_t placed = (static_cast<std::uint64_t>(v) << shift_) & mask;
        const std::uint64_t combined = (raw_ & ~mask) | placed;
        raw_ = is_wide_int(int_size_) ? combined : static_cast<std::uint32_t>(combined);
    }
    set_start(data_editor().change_value(start(), int_size_, raw_, shift_));
    forget_value_text();
}
