// The component visitors that need no window: the edit check, the place search,
// and the limits of the change dialogs.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "analysis_helpers.h"
#include "model/cmp_editchk_visitor.h"
#include "model/cmp_int.h"
#include "model/cmp_place_srch_visitor.h"
#include "support/document_fixture.h"
#include "ui/core/change_limits.h"

using namespace analysis_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

class Component_visitors_test : public Document_test {
protected:
    static Component* root() { return doc().root_component(); }
    // The child at `i` of `parent`, expanded first when it has no children yet.
    static Component* child(Component* parent, int i)
    {
        if (parent->child_count() == 0)
            parent->expand();
        return parent->child(i);
    }
    static bool editable(Component* component)
    {
        Cmp_editchk_visitor check;
        component->accept(check);
        return check.editable();
    }
    static bool found(Component* component, std::uint32_t position, std::optional<int> bit, bool containers)
    {
        Cmp_place_srch_visitor search(doc().node_at(position), bit, containers);
        component->accept(search);
        return search.found();
    }
};

TEST_F(Component_visitors_test, OnlyValuesAreEditable)
{
    define(with_flag(int_item("flags", 1), "f", 3), fix_str("tag", 2),
           for_loop("loop", "1", int_item("v", 1, true)), int_item("more", 2));
    load_bytes(Bytes{0xFF, 'a', 'b', 7, 9});
    // flags, tag, loop table, then the shortage marker: "more" lacks its second byte.
    Component* loop = root()->child(2);
    Component* record = child(loop, 0);
    const std::vector<std::pair<Component*, bool>> cases{
        {root(), false},
        {root()->child(0), true},              // an integer with flags
        {child(root()->child(0), 0), true},    // its flag
        {root()->child(1), true},              // a fixed-length string
        {loop, false},                         // a table
        {record, false},                       // a record
        {child(record, 0), true},              // a signed integer
        {root()->child(root()->child_count() - 1), false},  // the shortage marker
    };
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(editable(cases[i].first), cases[i].second) << i << " " << line(cases[i].first);
}

TEST_F(Component_visitors_test, UndefinedBytesAreEditable)
{
    load_bytes(Bytes{1, 2, 3});
    Component* block = root()->child(0);
    EXPECT_FALSE(editable(block));
    EXPECT_TRUE(editable(child(block, 2)));
}

// A change writes a fixed string's whole length: one whose expression length runs past
// the end of the data is changed only while that length is one a constant can have.
TEST_F(Component_visitors_test, AFixedStringPastTheEndIsEditableUpTo255Bytes)
{
    auto* item = fix_str("s", 0);
    define(item);
    for (const auto& [length, data_size, expected] :
         std::vector<std::tuple<const char*, std::size_t, bool>>{{"20", 10, true}, {"300", 10, false}, {"300", 300, true}}) {
        item->set_length_text(sj(length));
        load_bytes(std::string(data_size, 'a'));
        EXPECT_EQ(editable(root()->child(0)), expected) << length << " " << data_size;
    }
}

std::string limits_text(const Change_limits& limits)
{
    switch (limits.dialog) {
    case Change_dialog::none:
        return "none";
    case Change_dialog::decimal:
        return "decimal " + std::to_string(limits.minimum) + " " + std::to_string(limits.maximum);
    case Change_dialog::hexadecimal:
        return "hexadecimal " + std::to_string(limits.byte_count);
    case Change_dialog::text:
        return "text " + std::to_string(limits.max_length);
    case Change_dialog::real:
        return "real " + std::to_string(limits.byte_count);
    }
    return {};
}

TEST_F(Component_visitors_test, ChangeLimitsFollowTheKindAndSize)
{
    Def_int* with_table = int_item("h", 2, false, Def_int::hexadecimal);
    with_table->set_named_values({{1, sj("one")}});
    define(int_item("s1", 1, true), int_item("s2", 2, true), int_item("s4", 4, true), int_item("u1", 1),
           int_item("u4", 4), with_table, with_flag(with_flag(with_flag(int_item("f", 1), "one", 1), "three", 3), "past", 6),
           with_flag(with_flag(int_item("wide", 4), "low", 4), "all", 32), flex_str("p1", 1), flex_str("p2", 2),
           flex_str("p4", 4), null_str("z"), fix_str("fixed", 8), for_loop("loop", "1", int_item("r", 1)),
           fix_str("cut", 6));
    Bytes bytes(1 + 2 + 4 + 1 + 4 + 2 + 1 + 4, 0);
    bytes.insert(bytes.end(), 1 + 2 + 4 + 1, 0);  // three empty prefixes, then the terminator
    bytes.insert(bytes.end(), 8, 'x');
    bytes.push_back(5);
    bytes.insert(bytes.end(), 3, 'y');  // the last string finds only 3 of its 6 bytes
    load_bytes(bytes);

    std::vector<std::string> shown;
    for (int i = 0; i < root()->child_count(); ++i)
        shown.push_back(limits_text(change_limits(*root()->child(i))));
    Component* flags = root()->child(6);
    for (int i = 0; i < 3; ++i)
        shown.push_back(limits_text(change_limits(*child(flags, i))));
    for (int i = 0; i < 2; ++i)
        shown.push_back(limits_text(change_limits(*child(root()->child(7), i))));
    Component* record = child(root()->child(13), 0);
    shown.push_back(limits_text(change_limits(*record)));
    shown.push_back(limits_text(change_limits(*child(record, 0))));
    shown.push_back(limits_text(change_limits(*root())));

    EXPECT_EQ(shown, (std::vector<std::string>{
                         "decimal -128 127",
                         "decimal -32768 32767",
                         "decimal -2147483648 2147483647",
                         "decimal 0 255",
                         "decimal 0 4294967295",
                         "hexadecimal 2",
                         "decimal 0 255",          // the integer with flags: its own value
                         "decimal 0 4294967295",
                         "text 255",
                         "text 65535",
                         "text 65535",
                         "text 65535",
                         "text 8",
                         "none",                   // the loop's table
                         "text 3",                 // cut short by the end of the data
                         "none",                   // the shortage marker
                         "decimal 0 1",            // a 1-bit flag
                         "decimal 0 7",            // a 3-bit flag
                         "decimal 0 15",           // 6 bits, of which the byte holds 4
                         "decimal 0 15",
                         "decimal 0 268435455",    // 32 bits from bit 4: 28 exist
                         "none",                   // a record
                         "decimal 0 255",          // the record's integer
                         "none",                   // the root
                     }));
    EXPECT_EQ(change_limits(*root()->child(5)).named_values, &with_table->named_values());
}

TEST_F(Component_visitors_test, AnUndefinedByteChangesAsOneHexadecimalByteWithoutNames)
{
    load_bytes(Bytes{1});
    const Change_limits limits = change_limits(*child(root()->child(0), 0));
    EXPECT_EQ(limits_text(limits), "hexadecimal 1");
    EXPECT_EQ(limits.named_values, nullptr);
}

class Place_search_test : public Component_visitors_test {
protected:
    void SetUp() override
    {
        Component_visitors_test::SetUp();
        // 0-1 flags (a: bit 0, b: bits 1-3), 2-5 tag, 6-7 loop of two 1-byte records,
        // 8-10 undefined.
        define(with_flag(with_flag(int_item("flags", 2), "a", 1), "b", 3), fix_str("tag", 4),
               for_loop("loop", "2", int_item("v", 1)));
        load_bytes(Bytes{0x12, 0x34, 'a', 'b', 'c', 'd', 1, 2, 0xA, 0xB, 0xC});
        flags = root()->child(0);
        tag = root()->child(1);
        loop = root()->child(2);
        undefined = root()->child(3);
    }

    Component* flags = nullptr;
    Component* tag = nullptr;
    Component* loop = nullptr;
    Component* undefined = nullptr;
};

TEST_F(Place_search_test, ContainersHoldTheirBytes)
{
    EXPECT_TRUE(found(loop, 6, std::nullopt, true));
    EXPECT_TRUE(found(loop, 7, std::nullopt, true));
    EXPECT_FALSE(found(loop, 8, std::nullopt, true));
    EXPECT_FALSE(found(loop, 5, std::nullopt, true));
    EXPECT_FALSE(found(loop, 6, std::nullopt, false));  // a table is never the value searched for
    EXPECT_FALSE(found(child(loop, 0), 7, std::nullopt, true));
    EXPECT_TRUE(found(child(loop, 1), 7, std::nullopt, true));
    EXPECT_TRUE(found(child(child(loop, 1), 0), 7, std::nullopt, false));
    // The undefined block runs to the end of the data.
    EXPECT_TRUE(found(undefined, 10, std::nullopt, true));
    EXPECT_TRUE(found(child(undefined, 2), 10, std::nullopt, false));
    EXPECT_FALSE(found(child(undefined, 2), 10, std::nullopt, true));
}

TEST_F(Place_search_test, StringsHoldTheirBytesOnly)
{
    EXPECT_FALSE(found(tag, 1, std::nullopt, false));
    EXPECT_TRUE(found(tag, 2, std::nullopt, false));
    EXPECT_TRUE(found(tag, 5, std::nullopt, false));
    EXPECT_FALSE(found(tag, 6, std::nullopt, false));
    EXPECT_FALSE(found(tag, 2, std::nullopt, true));
}

TEST_F(Place_search_test, ABitInsideTheFlagsMakesTheIntegerAContainer)
{
    struct Row {
        std::optional<int> bit;
        bool as_container, as_value, first_flag, second_flag;
    };
    const Row rows[] = {
        {std::nullopt, false, true, false, false},  // no bit: a plain value, never a flag
        {0, true, false, true, false},
        {1, true, false, false, true},
        {3, true, false, false, true},
        {4, false, true, false, false},   // past the flags' four bits
        {15, false, true, false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(found(flags, 1, row.bit, true), row.as_container) << row.bit.value_or(-1);
        EXPECT_EQ(found(flags, 1, row.bit, false), row.as_value) << row.bit.value_or(-1);
        EXPECT_EQ(found(child(flags, 0), 1, row.bit, false), row.first_flag) << row.bit.value_or(-1);
        EXPECT_EQ(found(child(flags, 1), 1, row.bit, false), row.second_flag) << row.bit.value_or(-1);
        EXPECT_FALSE(found(child(flags, 1), 1, row.bit, true)) << row.bit.value_or(-1);
        EXPECT_FALSE(found(flags, 2, row.bit, true)) << row.bit.value_or(-1);  // not its byte
    }
}

TEST_F(Place_search_test, NoByteAndNoStartMatchNothing)
{
    Cmp_place_srch_visitor search(nullptr, std::nullopt, true);
    loop->accept(search);
    EXPECT_FALSE(search.found());
    EXPECT_FALSE(found(root(), 0, std::nullopt, true));  // the root has no start byte
}

} // namespace
