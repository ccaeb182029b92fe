#include "engine/string_length.h"

#include <algorithm>

#include "model/cmp_str.h"

std::uint64_t fixed_string_length(const Def_fix_str& item, const Variable_table& variables,
                                  const Expression_place& place)
{
    if (item.length_expression().empty())
        return static_cast<std::uint64_t>(fixed_length(item));
    return static_cast<std::uint64_t>(
        std::max<std::int64_t>(0, evaluate_count(item.length_expression().view(), variables, place)));
}
