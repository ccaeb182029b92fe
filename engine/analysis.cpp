// The analysis driver and the replay: the whole-definition walks over the data.
#include "engine/analysis.h"

#include <memory>

#include "engine/walk.h"
#include "model/component.h"
#include "model/def_nodef.h"
#include "model/item_list.h"
#include "toolkit/texts.h"

void analyze_items(const Item_list& items, Def_nodef& undefined_item, Data_node* first, Component& root)
{
    Data_node* cur = first;
    try {
        for (Define* item : items) {
            cur = item->analyze(cur, &root, nullptr);
            walk::step_progress(cur);
        }
        if (cur)
            undefined_item.analyze(cur, &root, nullptr);
    } catch (const Data_shortage&) {
        root.add_child(std::make_unique<Component>(texts::data_shortage(), Bcl_str(), nullptr));
    }
}

void replay_items(const Item_list& items, Data_node* first, Data_node* stop)
{
    Data_node* const until = stop ? stop : &walk::end_of_data_stop;
    Data_node* cur = first;
    try {
        for (Define* item : items)
            cur = item->analyze(cur, nullptr, until);
    } catch (const Data_shortage&) {
        // Reaching the stop byte is the replay's normal end.
    }
}
