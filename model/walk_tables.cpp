#include "model/walk_tables.h"

#include <algorithm>

namespace {

bool name_before(const Variable_table::Entry& entry, std::string_view name) { return entry.first.view() < name; }

} // namespace

const Variable_table::Entry* Variable_table::find_sorted(std::string_view name) const
{
    const auto found = std::lower_bound(values_.begin(), values_.end(), name, name_before);
    return found != values_.end() && found->first.view() == name ? &*found : nullptr;
}

void Variable_table::insert(const Bcl_str& name, Expr_value value)
{
    const auto place = std::lower_bound(values_.begin(), values_.end(), name.view(), name_before);
    values_.emplace(place, name, value);
}

void Definition_sets::add(const Bcl_str& name, Def_def_set* set)
{
    const auto found = sets_.find(name.view());
    if (found != sets_.end())
        found->second = set;
    else
        sets_.emplace(name, set);
}
