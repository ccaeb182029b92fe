#include "model/def_int.h"

#include "model/def_visitor.h"

std::unique_ptr<Def_bitflag> Def_bitflag::clone() const
{
    auto copy = std::make_unique<Def_bitflag>(name(), bit_count_, variable_);
    copy->set_named_values(named_values_);
    return copy;
}

void Def_bitflag::accept(Def_visitor& visitor) { visitor.visit_bitflag(*this); }

Def_int& Def_int::assign(const Def_int& source)
{
    if (this == &source)
        return *this;
    set_name(source.name());
    is_signed_ = source.is_signed_;
    size_ = source.size_;
    variable_ = source.variable_;
    display_ = source.display_;
    named_values_ = source.named_values_;
    bit_flags_.clear();
    for (const auto& flag : source.bit_flags_)
        bit_flags_.push_back(flag->clone());
    return *this;
}

std::unique_ptr<Def_int> Def_int::clone() const
{
    auto copy = std::make_unique<Def_int>(Bcl_str(), false, 1, decimal, Bcl_str());
    copy->assign(*this);
    return copy;
}

void Def_int::accept(Def_visitor& visitor) { visitor.visit_int(*this); }

int Def_int::flag_bits() const
{
    int bits = 0;
    for (const auto& flag : bit_flags_)
        bits += flag->bit_count();
    return bits;
}
