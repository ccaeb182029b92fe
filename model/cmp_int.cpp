#include "model/cmp_int.h"

#include <algorithm>

#include "doc/data_mgr.h"
#include "model/cmp_visitor.h"
#include "toolkit/number_text.h"

int int_width(const Def_int& item) { return std::clamp(item.size(), 1, 4); }

std::int32_t sign_extend(std::uint32_t bits, int width)
{
    if (width == 1)
        return static_cast<std::int8_t>(bits & 0xFFu);
    if (width == 2)
        return static_cast<std::int16_t>(bits & 0xFFFFu);
    if (width == 3)
        return static_cast<std::int32_t>((bits & 0x800000u) ? (bits | 0xFF000000u) : (bits & 0xFFFFFFu));
    return static_cast<std::int32_t>(bits);
}

namespace {

std::uint64_t width_mask(int bit_count)
{
    if (bit_count <= 0)
        return 0;
    return bit_count >= 32 ? 0xFFFFFFFFull : (1ull << bit_count) - 1;
}

// The low `width` bytes of `value`: what reading them back yields unsigned.
std::uint32_t low_bytes(std::uint32_t value, int width)
{
    return width >= 4 ? value : value & ((1u << (8 * width)) - 1);
}

} // namespace

std::uint32_t flag_bits_of(std::uint32_t raw, int shift, int bit_count)
{
    if (shift < 0 || shift >= 32)
        return 0;
    return static_cast<std::uint32_t>((std::uint64_t{raw} >> shift) & width_mask(bit_count));
}

// ---- integers ----

const Bcl_str* Cmp_integer::meaning_of(std::int32_t key) const
{
    const Named_values& table = def_->named_values();
    const auto found = table.find(key);
    return found == table.end() ? nullptr : &found->second;
}

void Cmp_integer::expand()
{
    expand_after_replay(Data_mgr::instance().position_of(start()),
                        [this] { def_->analyze_range(start(), this, nullptr, 0, 0, 0); });
}

void Cmp_integer::set_value(int v)
{
    const int width = int_size();
    const auto pattern = static_cast<std::uint32_t>(v);
    set_start(Data_mgr::instance().change_value(start(), width, pattern, -1));
    value_ = stored_from(low_bytes(pattern, width));
    forget_value_text();
}

void Cmp_int::accept(Cmp_visitor& visitor) { visitor.visit_int(*this); }

std::uint32_t Cmp_int::stored_from(std::uint32_t pattern) const
{
    return static_cast<std::uint32_t>(sign_extend(pattern, int_size()));
}

const Bcl_str& Cmp_int::value_text()
{
    if (!value_text_cached()) {
        const Bcl_str* meaning = meaning_of(value());
        cache_value_text(meaning ? *meaning : Bcl_str(number_text(bits(), Radix::signed_decimal)));
    }
    return stored_value_text();
}

void Cmp_uint::accept(Cmp_visitor& visitor) { visitor.visit_uint(*this); }

const Bcl_str& Cmp_uint::value_text()
{
    if (!value_text_cached()) {
        const Bcl_str* meaning = meaning_of(static_cast<std::int32_t>(bits()));
        cache_value_text(meaning ? *meaning : Bcl_str(number_text(bits(), Radix::unsigned_decimal)));
    }
    return stored_value_text();
}

void Cmp_hex::accept(Cmp_visitor& visitor) { visitor.visit_hex(*this); }

const Bcl_str& Cmp_hex::value_text()
{
    if (!value_text_cached()) {
        const Bcl_str* meaning = meaning_of(static_cast<std::int32_t>(bits()));
        cache_value_text(meaning ? *meaning : Bcl_str(hex_text(bits(), int_size())));
    }
    return stored_value_text();
}

// ---- bit flags ----

void Cmp_bitflag::accept(Cmp_visitor& visitor) { visitor.visit_bitflag(*this); }

const Bcl_str& Cmp_bitflag::value_text()
{
    if (!value_text_cached()) {
        const std::uint32_t key = flag_value();
        const Named_values& table = def_->named_values();
        const auto found = table.find(static_cast<std::int32_t>(key));
        cache_value_text(found != table.end() ? found->second : Bcl_str(number_text(key, Radix::unsigned_decimal)));
    }
    return stored_value_text();
}

void Cmp_bitflag::set_value(int v)
{
    if (shift_ >= 0 && shift_ < 32) {
        const std::uint64_t mask = width_mask(def_->bit_count()) << shift_;
        const std::uint64_t placed = (std::uint64_t{static_cast<std::uint32_t>(v)} << shift_) & mask;
        raw_ = static_cast<std::uint32_t>((std::uint64_t{raw_} & ~mask) | placed);
    }
    set_start(Data_mgr::instance().change_value(start(), int_size_, raw_, shift_));
    forget_value_text();
}
