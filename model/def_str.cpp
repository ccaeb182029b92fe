#include "model/def_str.h"

#include <algorithm>
#include <string>

#include "model/def_visitor.h"
#include "model/limits.h"

void Def_fix_str::accept(Def_visitor& visitor) { visitor.visit_fix_str(*this); }
void Def_flex_str::accept(Def_visitor& visitor) { visitor.visit_flex_str(*this); }
void Def_null_str::accept(Def_visitor& visitor) { visitor.visit_null_str(*this); }

Bcl_str Def_fix_str::length_text() const
{
    return length_expression_.empty() ? Bcl_str(std::to_string(length_)) : length_expression_;
}

void Def_fix_str::set_length_text(const Bcl_str& text)
{
    const std::string_view digits = text.view();
    const bool constant = !digits.empty() && digits.size() <= 3 &&
                          std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                          std::stoi(std::string(digits)) <= limits::max_fixed_string_length;
    if (constant) {
        set_length(std::stoi(std::string(digits)));
    } else {
        length_ = 0;
        set_length_expression(text);
    }
}

bool fixed_length_takes(const Bcl_str& text)
{
    Def_fix_str probe(Bcl_str(), 0);
    probe.set_length_text(text);
    return !text.empty() && (!probe.length_expression().empty() || probe.length() != 0);
}
