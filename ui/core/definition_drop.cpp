#include "ui/core/definition_drop.h"

#include "model/def_cnt_visitor.h"
#include "model/define.h"

bool drop_allowed(const std::vector<Def_row>& rows, std::size_t source, std::size_t target)
{
    if (source >= rows.size() || target >= rows.size() || source == target)
        return false;
    Define* item = rows[source].entry.item;
    if (!item || !rows[source].entry.deletable || !rows[target].entry.insertable)
        return false;
    Def_cnt_visitor count;
    item->accept(count);
    if (target == source + static_cast<std::size_t>(count.count()))
        return false;  // the item's own place
    for (const Define* container = rows[target].entry.parent; container; container = container->parent())
        if (container == item)
            return false;
    return true;
}
