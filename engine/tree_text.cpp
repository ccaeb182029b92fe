#include "engine/tree_text.h"

#include <vector>

#include "model/component.h"
#include "toolkit/exception.h"

void render_tree(Component& root, int max_depth, const std::function<void(const Tree_line&)>& line)
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
        line(Tree_line{item.depth, component.name(), component.value_text(), component});
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

std::string tree_line_text(int depth, std::string_view name, std::string_view value)
{
    std::string text(2 * static_cast<std::size_t>(depth), ' ');
    text += name;
    text += '\t';
    text += value;
    text += '\n';
    return text;
}

void render_tree(Component& root, int max_depth, std::string& out)
{
    render_tree(root, max_depth,
                [&out](const Tree_line& line) { out += tree_line_text(line.depth, line.name.view(), line.value.view()); });
}
