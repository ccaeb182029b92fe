#include "model/walk_tables.h"

void Variable_table::set(const Bcl_str& name, std::int32_t value)
{
    const auto found = values_.find(name.view());
    if (found != values_.end())
        found->second = value;
    else
        values_.emplace(name, value);
}

void Definition_sets::add(const Bcl_str& name, Def_def_set* set)
{
    const auto found = sets_.find(name.view());
    if (found != sets_.end())
        found->second = set;
    else
        sets_.emplace(name, set);
}
