// Find against the fully expanded tree: a definition built from the input
// (tests/agreement/random_definition.h), a query and data:
//
//   2 bytes   how many bytes of choices follow (big-endian)
//   ...       the choices that build the definition
//   1 byte    bit 0: by value rather than by name; bit 1: open each hit while the
//             search is paused in the callback; bits 2-4: stop after that many hits
//             (0: never)
//   1 byte    how many pieces make the query's text (at most max_pieces)
//   3 bytes   each piece: kind, then two choices (see query_piece)
//   ...       the data (at most max_data bytes)
//
// The pieces take letters, digits and Shift-JIS characters from a small alphabet,
// parts of the names and value texts the tree holds, and numbers, so that most
// queries find something. The search must hand over, in order, the hits of a walk
// over the fully expanded tree (names, value text, first byte), each hit's indices
// must open a component with the same names, the top level must stay unexpanded and
// the walk's tables (variables, definition sets, bounds) as they were.
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "agreement/random_definition.h"
#include "document/data_mgr.h"
#include "document/find.h"
#include "fuzz/fuzz_support.h"
#include "model/component.h"
#include "model/data_node.h"
#include "toolkit/exception.h"

namespace {

// Keep a run short: every expansion replays the walk from its last checkpoint, and
// in a tree nesting references dozens deep that takes a millisecond or more. An
// input whose tree needs more expansions is skipped; opening a hit expands the
// containers on its way, so a few spread over the hits are opened, not all.
constexpr std::size_t max_data = 256;
constexpr std::size_t max_components = 20000;
constexpr int max_expansions = 1000;
constexpr std::size_t max_opened = 8;
constexpr unsigned max_pieces = 4;

// The alphabet pieces draw from: letters in both cases (names match without regard
// to case), what numbers and record names are written with, and Shift-JIS
// characters, "ソ" for its trail byte 0x5C and "名" as in the builder's names.
const std::vector<std::string>& alphabet()
{
    static const std::vector<std::string> letters = [] {
        std::vector<std::string> all;
        for (const char* ascii : {"a", "A", "x", "X", "v", "z", "b", " ", "0", "1", "2", "5", "-", "h", "[", "]",
                                  "\\", "\r\n", "F"})
            all.emplace_back(ascii);
        for (const char* japanese : {"ソ", "名", "前", "長"})
            all.push_back(Bcl_str::from_utf8(japanese).bytes());
        return all;
    }();
    return letters;
}

// A component of the expanded tree as a hit shows it.
struct Seen {
    Component* component;
    Component_hit hit;
};

// Every component under the root, expanded and kept, in tree order; empty when there
// are more than max_components or it takes more than max_expansions.
std::optional<std::vector<Seen>> expanded_tree(Component& root)
{
    std::vector<Seen> seen;
    Component_hit path;
    int expansions = 0;
    const std::function<bool(Component&)> walk = [&](Component& container) {
        for (int i = 0; i < container.child_count(); ++i) {
            if (seen.size() == max_components || expansions > max_expansions)
                return false;
            Component* child = container.child(i);
            path.indices.push_back(i);
            path.names.push_back(child->name());
            Component_hit hit = path;
            hit.value_text = child->value_text();
            if (const Data_node* start = child->start())
                hit.offset = start->position();
            seen.push_back({child, std::move(hit)});
            if (child->has_children() && child->child_count() == 0) {
                ++expansions;
                try {
                    child->expand();
                } catch (const Data_shortage&) {
                    // The children made before the data ran out are there.
                }
            }
            if (!walk(*child))
                return false;
            path.indices.pop_back();
            path.names.pop_back();
        }
        return true;
    };
    if (!walk(root))
        return std::nullopt;
    return seen;
}

// Part of `text` from the choices, possibly cutting a double-byte character.
std::string part_of(std::string_view text, std::uint8_t from, std::uint8_t length)
{
    if (text.empty())
        return {};
    const std::size_t start = from % text.size();
    return std::string(text.substr(start, 1 + length % (text.size() - start)));
}

std::string query_piece(std::uint8_t kind, std::uint8_t first, std::uint8_t second, const std::vector<Seen>& tree)
{
    const Component_hit* some = tree.empty() ? nullptr : &tree[((first << 8) | second) % tree.size()].hit;
    switch (kind % 5) {
    case 0:
    case 1:
        return alphabet()[first % alphabet().size()];
    case 2:
    case 3: {
        // Whole or in part: a value text is also found whole by number.
        if (!some)
            return {};
        const Bcl_str& text = kind % 5 == 2 ? some->names.back() : some->value_text;
        return second & 1 ? text.bytes() : part_of(text.view(), first, second);
    }
    default: {
        // Numbers as the user types them: decimal, negative, 0x or h hexadecimal.
        const int value = second % 4 == 1 ? -static_cast<int>(first) : first;
        char text[16];
        static constexpr const char* formats[] = {"%d", "%d", "0x%X", "%Xh"};
        std::snprintf(text, sizeof text, formats[second % 4], value);
        return text;
    }
    }
}

std::string hit_text(const Component_hit& hit)
{
    std::string text = hit.offset ? std::to_string(*hit.offset) : std::string("-");
    text += " [";
    for (const int index : hit.indices)
        text += " " + std::to_string(index);
    text += " ] ";
    for (std::size_t i = 0; i < hit.names.size(); ++i)
        text += (i == 0 ? "" : "/") + hit.names[i].to_utf8();
    return text + " = " + hit.value_text.to_utf8() + "\n";
}

bool same_hit(const Component_hit& a, const Component_hit& b)
{
    return a.indices == b.indices && a.names == b.names && a.value_text == b.value_text && a.offset == b.offset;
}

// Whether the components at `indices` have `names` on the way down; leaves the top
// level unexpanded again.
bool opens_at(Data_mgr& doc, const Component_hit& hit)
{
    const std::vector<Component*> path = open_hit(doc, hit.indices);
    bool same = path.size() == hit.names.size();
    for (std::size_t i = 0; same && i < path.size(); ++i)
        same = path[i]->name() == hit.names[i];
    if (!path.empty())
        path.front()->clear_children();
    return same;
}

bool top_level_unexpanded(const Component& root)
{
    for (int i = 0; i < root.child_count(); ++i)
        if (root.child(i)->child_count() != 0)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string data_path = fuzz::scratch_path("data.bin");
    fuzz::Input input(data, size);
    Choices choices(input.bytes(input.u16()));
    const std::uint8_t flags = input.u8();
    struct Piece {
        std::uint8_t kind, first, second;
    };
    std::vector<Piece> pieces(input.u8() % (max_pieces + 1));
    for (Piece& piece : pieces)
        piece = {input.u8(), input.u8(), input.u8()};
    fuzz::write_file(data_path, input.bytes(max_data));

    Data_mgr& doc = Data_mgr::instance();
    doc.new_definition();
    build_random_definition(choices);
    doc.load_data(File_path(data_path));
    Component& root = *doc.root_component();

    const std::optional<std::vector<Seen>> tree = expanded_tree(root);
    if (tree) {
        Component_query query;
        query.kind = flags & 1 ? Component_query::Kind::value : Component_query::Kind::name;
        for (const Piece& piece : pieces)
            query.text += query_piece(piece.kind, piece.first, piece.second, *tree);
        const bool open_while_paused = flags & 2;
        const unsigned stop_after = (flags >> 2) & 7;
        std::vector<Component_hit> expected;
        for (const Seen& seen : *tree)
            if (component_matches(*seen.component, query))
                expected.push_back(seen.hit);
        const std::size_t open_every = 1 + expected.size() / max_opened;
        for (int i = 0; i < root.child_count(); ++i)
            root.child(i)->clear_children();

        const Walk_tables tables = doc.tables();
        std::vector<Component_hit> found;
        bool opened = true;
        const Find_end end = find_components(doc, query, [&](const Component_hit& hit) {
            found.push_back(hit);
            if (open_while_paused && found.size() % open_every == 0)
                opened = opened && opens_at(doc, hit);
            return found.size() != stop_after;
        });

        const std::string context = (query.kind == Component_query::Kind::name ? "name \"" : "value \"") +
                                    Bcl_str(query.text).to_utf8() + "\"";
        if (stop_after != 0 && expected.size() > stop_after)
            expected.resize(stop_after);
        bool same = found.size() == expected.size();
        for (std::size_t i = 0; same && i < found.size(); ++i)
            same = same_hit(found[i], expected[i]);
        if (!same) {
            std::string lists = "find:\n";
            for (const Component_hit& hit : found)
                lists += hit_text(hit);
            lists += "expanded tree:\n";
            for (const Component_hit& hit : expected)
                lists += hit_text(hit);
            fuzz::fail("the hits of " + context + " differ from the expanded tree's\n" + lists);
        }
        const Find_end expected_end =
            stop_after != 0 && found.size() == stop_after ? Find_end::stopped : Find_end::finished;
        fuzz::check(end == expected_end, "the search of " + context + " ended otherwise");
        fuzz::check(opened, "a hit of " + context + " opened elsewhere while the search was paused");
        fuzz::check(top_level_unexpanded(root), "the search of " + context + " expanded the tree");
        fuzz::check(doc.tables() == tables, "the search of " + context + " changed the walk's tables");
        for (std::size_t i = 0; i < found.size(); i += open_every)
            fuzz::check(opens_at(doc, found[i]), "a hit of " + context + " opened elsewhere: " + hit_text(found[i]));
    }

    doc.new_definition();
    doc.new_data();
    fuzz::check(Byte_store::live_count() == 1, "data nodes outlived the document");
    return 0;
}
