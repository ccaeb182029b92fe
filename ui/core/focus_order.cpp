#include "ui/core/focus_order.h"

#include <algorithm>
#include <vector>

Focus_place next_focus(Focus_place from, int page, bool backward, Shown_panels panels)
{
    std::vector<Focus_place> cycle;
    if (page == 0) {
        cycle = {Focus_place::definition_list};
    } else {
        cycle = {Focus_place::data_tree, Focus_place::data_list, Focus_place::dump_view};
        if (panels.inspector)
            cycle.push_back(Focus_place::inspector);
        if (panels.find_bar)
            cycle.push_back(Focus_place::find_bar);
    }
    cycle.push_back(Focus_place::tab_control);
    // A control no longer in the cycle (a panel closed meanwhile) goes on as the tab
    // control does.
    const auto found = std::find(cycle.begin(), cycle.end(), from);
    const std::size_t at = found == cycle.end() ? cycle.size() - 1 : static_cast<std::size_t>(found - cycle.begin());
    return cycle[(at + (backward ? cycle.size() - 1 : 1)) % cycle.size()];
}
