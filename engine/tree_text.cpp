#include "engine/tree_text.h"

#include <vector>

#include "model/component.h"
#include "toolkit/exception.h"

void render_tree(Component& root, int max_depth, std::string& out)
{
    // An explicit stack rather than recursion: trees made by expansion can nest as
    // deep as the data is long.
    struct Pending {
        Component* component;
        int depth;
    };
    std::vector<Pending> pending{{&root, 0}};
    while (!pending.empty()) {
        const Pending item = pending.back();
        pending.pop_back();
        Component& component = *item.component;
        out.append(2 * static_cast<std::size_t>(item.depth), ' ');
        out += component.name().view();
        out += '\t';
        out += component.value_text().view();
        out += '\n';
        if (item.depth >= max_depth || !component.has_children())
            continue;
        if (component.child_count() == 0) {
            try {
                component.expand();
            } catch (const Data_shortage&) {
                // The children made before the data ran out are shown.
            }
        }
        for (int i = component.child_count() - 1; i >= 0; --i)
            pending.push_back({component.child(i), item.depth + 1});
    }
}
