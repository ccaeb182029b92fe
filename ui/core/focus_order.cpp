#include "ui/core/focus_order.h"

Focus_place next_focus(Focus_place from, int page, bool backward)
{
    switch (from) {
    case Focus_place::data_tree:
        return backward ? Focus_place::tab_control : Focus_place::data_list;
    case Focus_place::data_list:
        return backward ? Focus_place::data_tree : Focus_place::dump_view;
    case Focus_place::dump_view:
        return backward ? Focus_place::data_list : Focus_place::tab_control;
    case Focus_place::definition_list:
        return Focus_place::tab_control;
    case Focus_place::tab_control:
        break;
    }
    if (page == 0)
        return Focus_place::definition_list;
    return backward ? Focus_place::dump_view : Focus_place::data_tree;
}
