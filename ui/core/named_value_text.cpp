#include "ui/core/named_value_text.h"

#include <limits>

std::string named_value_text(std::int64_t value, bool wide)
{
    if (value >= 0)
        return std::to_string(value);
    const std::string bits = wide ? std::to_string(static_cast<std::uint64_t>(value))
                                  : std::to_string(static_cast<std::uint32_t>(value));
    return std::to_string(value) + "(" + bits + ")";
}

std::optional<Named_values> values_for_size(const Named_values& values, bool wide)
{
    if (wide)
        return values;
    Named_values narrow;
    for (const auto& [value, meaning] : values) {
        if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
        narrow.insert_or_assign(std::int64_t{static_cast<std::int32_t>(static_cast<std::uint32_t>(value))}, meaning);
    }
    return narrow;
}

std::int32_t proposed_value(const Named_values& values)
{
    // The table is ordered by value: walk its entries from 0 upward until a gap.
    std::int32_t proposed = 0;
    for (auto entry = values.lower_bound(0); entry != values.end() && entry->first == proposed; ++entry) {
        if (proposed == std::numeric_limits<std::int32_t>::max())
            break;  // every value from 0 up is taken: offer the last one, which replaces
        ++proposed;
    }
    return proposed;
}
