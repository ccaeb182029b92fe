#include "document/place_path.h"

#include <charconv>

#include "document/data_mgr.h"
#include "model/cmp_place_srch_visitor.h"
#include "model/component.h"
#include "toolkit/exception.h"

namespace {

bool holds(Component& component, const Data_node* byte, bool containers)
{
    Cmp_place_srch_visitor search(byte, std::nullopt, containers);
    component.accept(search);
    return search.found();
}

} // namespace

std::vector<Component*> place_path_of(Data_mgr& document, std::uint64_t offset)
{
    std::vector<Component*> path;
    Component* container = document.root_component();
    if (!container || offset >= document.size())
        return path;
    const Data_node* byte = document.node_at(static_cast<std::uint32_t>(offset));
    for (;;) {
        if (container->has_children() && container->child_count() == 0) {
            try {
                container->expand();
            } catch (const Data_shortage&) {
                // The children made before the data ran out are searched.
            }
        }
        // Containers first, as the data page goes down its tree, then the row.
        Component* deeper = nullptr;
        for (int i = 0; i < container->child_count() && !deeper; ++i)
            if (holds(*container->child(i), byte, true))
                deeper = container->child(i);
        Component* value = nullptr;
        for (int i = 0; i < container->child_count() && !deeper && !value; ++i)
            if (holds(*container->child(i), byte, false))
                value = container->child(i);
        if (value) {
            path.push_back(value);
            return path;
        }
        if (!deeper)
            return path;
        path.push_back(deeper);
        container = deeper;
    }
}

std::optional<std::uint64_t> parse_offset(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && (text.back() == 'h' || text.back() == 'H')) {
        base = 16;
        text.remove_suffix(1);
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}
