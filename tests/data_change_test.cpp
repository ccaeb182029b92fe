// Changing values of the data without a window: the string field's text and bytes,
// the value dialogs' start, the component edit walk with its in-place rule, and the
// limit of expanded containers.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "analysis_helpers.h"
#include "model/cmp_int.h"
#include "model/data_node.h"
#include "support/document_fixture.h"
#include "ui/core/cmp_edit_visitor.h"
#include "ui/core/data_text.h"
#include "ui/core/expanded_items.h"
#include "ui/core/value_choice.h"

using namespace analysis_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Data_text, EveryByteComesBackAsItWas)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"abc", "abc"},
        {"a\r\nb", "a\nb"},                                  // a line break
        {"a\nb\rc", "a\xE2\xA0\x8A" "b\xE2\xA0\x8D" "c"},     // lone LF and CR: braille
        {std::string("x\0y", 3), "x∅y"},                    // NUL
        {"\x7F", "\xE2\xA1\xBF"},                            // DEL
        {"\x93\xFA\x96\x7B", "日本"},                        // Shift-JIS
        {"\xB1\x5C~", "ｱ\\~"},                               // half-width katakana, backslash, tilde
        {"\x80\xA0\xFD\xFF", "\xE2\xA2\x80\xE2\xA2\xA0\xE2\xA3\xBD\xE2\xA3\xBF"},  // no character: braille
        {"\x82", "\xE2\xA2\x82"},                            // a lead byte cut off at the end
        {"\x81\x20", "\xE2\xA2\x81 "},                       // a lead byte with an invalid trail
    };
    for (const auto& [bytes, shown] : cases) {
        EXPECT_EQ(field_text_of_bytes(bytes), shown) << bytes;
        EXPECT_EQ(bytes_of_field_text(field_text_of_bytes(bytes)), bytes) << bytes;
    }
    // Typed line breaks are stored as carriage return and line feed.
    EXPECT_EQ(bytes_of_field_text("x\ny"), "x\r\ny");
}

TEST(Data_text, InputMethodFormsAreStoredAsCp932s)
{
    EXPECT_EQ(bytes_of_field_text("1〜2"), "1\x81\x60" "2");
}

TEST(Value_dialogs, OpenOnTheNamedValueOrTheDirectOne)
{
    const Named_values values{{-1, sj("minus")}, {3, sj("three")}, {7, sj("seven")}};
    const Named_values none;
    struct Row {
        std::int32_t value;
        const Named_values* table;
        bool named;
        int entry;
        bool allowed;
    };
    const std::vector<Row> rows{
        {3, &values, true, 1, true},    {-1, &values, true, 0, true}, {5, &values, false, 0, true},
        {5, &none, false, -1, false},   {5, nullptr, false, -1, false},
    };
    for (const Row& row : rows) {
        const Value_choice choice = value_choice(row.value, row.table);
        EXPECT_EQ(choice.named, row.named) << row.value;
        EXPECT_EQ(choice.entry, row.entry) << row.value;
        EXPECT_EQ(choice.named_allowed, row.allowed) << row.value;
    }
    EXPECT_EQ(named_value_at(&values, 2), 7);
    EXPECT_EQ(named_value_at(&values, 3), std::nullopt);
    EXPECT_EQ(hex_field_text(10, 1), "0A");
    EXPECT_EQ(hex_field_text(0x1234, 4), "00001234");
    EXPECT_EQ(hex_field_text(0xFFFFFFFF, 4), "FFFFFFFF");
    EXPECT_EQ(position_field_text(0x1F), "0000001F");
    EXPECT_EQ(read_hex_field("00FF"), 255u);
    EXPECT_EQ(read_decimal_field("4294967295"), 4294967295u);
    EXPECT_EQ(read_decimal_field("4294967296"), std::nullopt);
    EXPECT_EQ(read_decimal_field(""), std::nullopt);
}

// OK is enabled only while a field holds a value its dialog can store.
TEST(Value_dialogs, OnlyAWholeValueInRangeConfirms)
{
    for (const char* partial : {"", "-", "0x", "+1", " 1", "1-"})
        EXPECT_EQ(decimal_field_value(partial, -128, 127), std::nullopt) << partial;
    EXPECT_EQ(decimal_field_value("-128", -128, 127), -128);
    EXPECT_EQ(decimal_field_value("-129", -128, 127), std::nullopt);
    EXPECT_EQ(decimal_field_value("128", -128, 127), std::nullopt);
    EXPECT_EQ(decimal_field_value("4294967295", 0, 0xFFFFFFFFu), -1);
    EXPECT_EQ(decimal_field_value("-1", 0, 0xFFFFFFFFu), std::nullopt);
    EXPECT_EQ(decimal_field_value("-2147483648", -2147483647 - 1, 0x7FFFFFFFu), -2147483647 - 1);
    EXPECT_EQ(hex_field_value("FF", 1), 255u);
    EXPECT_EQ(hex_field_value("100", 1), std::nullopt);
    EXPECT_EQ(hex_field_value("FFFFFFFF", 4), 0xFFFFFFFFu);
    EXPECT_EQ(hex_field_value("0x", 4), std::nullopt);
    EXPECT_EQ(hex_field_value("", 2), std::nullopt);
    EXPECT_TRUE(byte_range_confirmable("0000001F", "1"));
    EXPECT_FALSE(byte_range_confirmable("0000001F", "0"));
    EXPECT_FALSE(byte_range_confirmable("", "1"));
    EXPECT_FALSE(byte_range_confirmable("0000001F", ""));
}

TEST(Expanded_items, TheOldestThatHoldsNoOtherIsCollapsed)
{
    // Items are numbers; parent_of by a table. 1 is the root; 2 and 3 under it;
    // 4 under 2; 5 under 4.
    const std::map<int, int> parents{{1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 4}, {6, 3}};
    const auto parent_of = [&](int item) { return parents.at(item); };
    struct Row {
        std::deque<int> expanded;
        int selected;
        std::size_t limit;
        std::vector<int> dropped;
    };
    const std::vector<Row> rows{
        {{1, 2, 3}, 6, 3, {}},            // within the limit
        {{1, 2, 3, 4}, 6, 3, {4}},        // 1 and 2 hold 4, 3 holds the selection: 4 is the oldest free
        {{1, 3, 4, 2}, 5, 2, {3}},        // 3 holds nothing listed and not the selection
        {{1, 2, 4}, 5, 1, {}},            // every item holds the selection: none can go
        {{1, 3, 6, 2}, 5, 2, {6, 3}},     // 6 first (3 holds 6), then 3
    };
    for (const Row& row : rows) {
        std::deque<int> expanded = row.expanded;
        EXPECT_EQ(trim_expanded_items(expanded, row.selected, parent_of, row.limit), row.dropped);
    }
}

// Answers the change dialogs from a script and notes what they were asked.
class Scripted_asker final : public Change_asker {
public:
    std::optional<std::int64_t> ask_value(std::int64_t current, const Change_limits& limits) override
    {
        asked_value = current;
        asked_limits = limits;
        return value;
    }
    std::optional<double> ask_number(std::string_view current, int width) override
    {
        asked_text = std::string(current);
        asked_max = static_cast<std::uint32_t>(width);
        return number;
    }
    std::optional<std::string> ask_text(std::string_view current, std::uint32_t max_length, Text_encoding) override
    {
        asked_text = std::string(current);
        asked_max = max_length;
        return text;
    }
    void show_in_place(Component& component, bool length_changed) override
    {
        shown_in_place = &component;
        shown_length_change = length_changed;
    }

    std::optional<std::int32_t> value;
    std::optional<double> number;
    std::optional<std::string> text;
    std::int32_t asked_value = 0;
    Change_limits asked_limits;
    std::string asked_text;
    std::uint32_t asked_max = 0;
    Component* shown_in_place = nullptr;
    bool shown_length_change = false;
};

class Edit_visitor_test : public Document_test {
protected:
    struct Result {
        bool changed;
        Data_node* place;
        std::optional<int> bit;
    };
    static Result edit(Component* component, Scripted_asker& asker)
    {
        Cmp_edit_visitor visitor(asker, *root());
        component->accept(visitor);
        return {visitor.changed(), visitor.place_to_show(), visitor.bit_to_show()};
    }
    static Component* child(Component* parent, int i)
    {
        if (parent->child_count() == 0)
            parent->expand();
        return parent->child(i);
    }
    static void undo_all()
    {
        while (doc().can_undo_data())
            doc().undo_data();
    }
    static void redo_all()
    {
        while (doc().can_redo_data())
            doc().redo_data();
    }
    // No component of the tree refers to a byte that is not in the data.
    static void expect_tree_in_data()
    {
        std::vector<Component*> pending{root()};
        while (!pending.empty()) {
            Component* c = pending.back();
            pending.pop_back();
            for (const Data_node* node : {c->start(), c->end()}) {
                if (node) {
                    EXPECT_EQ(doc().node_at(node->position()), node) << line(c);
                }
            }
            for (int i = 0; i < c->child_count(); ++i)
                pending.push_back(c->child(i));
        }
    }
};

TEST_F(Edit_visitor_test, FloatsAreWrittenInTheDocumentsOrderAndUndone)
{
    doc().set_byte_order(little);
    define(float_item("f", 4), float_item("d", 8));
    load_bytes(Bytes{0x00, 0x00, 0xC0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0});
    Scripted_asker asker;
    asker.number = 1.5;  // what is there: nothing changes
    EXPECT_FALSE(edit(root()->child(0), asker).changed);
    EXPECT_EQ(asker.asked_text, "1.5");
    EXPECT_EQ(asker.asked_max, 4u);
    EXPECT_FALSE(doc().can_undo_data());

    asker.number = -2.0;
    Result result = edit(root()->child(1), asker);
    EXPECT_EQ(asker.asked_text, "0");
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.place, doc().node_at(4));
    EXPECT_EQ(data_bytes(), (Bytes{0x00, 0x00, 0xC0, 0x3F, 0, 0, 0, 0, 0, 0, 0x00, 0xC0}));
    doc().analyze();
    EXPECT_EQ(line(root()->child(1)), "d\t-2");

    undo_all();
    EXPECT_EQ(data_bytes(), (Bytes{0x00, 0x00, 0xC0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0}));
    redo_all();
    EXPECT_EQ(data_bytes(), (Bytes{0x00, 0x00, 0xC0, 0x3F, 0, 0, 0, 0, 0, 0, 0x00, 0xC0}));
}

TEST_F(Edit_visitor_test, IntegersAndFlagsAskForAnAnalysis)
{
    define(int_item("s", 2, true), with_flag(with_flag(int_item("f", 1), "low", 4), "high", 3));
    load_bytes(Bytes{0xFF, 0xFE, 0x00});
    Scripted_asker asker;
    asker.value = -32768;
    Result result = edit(root()->child(0), asker);
    EXPECT_EQ(asker.asked_value, -2);
    EXPECT_EQ(asker.asked_limits.minimum, -32768);
    EXPECT_EQ(asker.asked_limits.maximum, 32767u);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.place, doc().node_at(0));
    EXPECT_EQ(result.bit, std::nullopt);
    EXPECT_EQ(data_bytes(), (Bytes{0x80, 0x00, 0x00}));

    doc().analyze();
    asker.value = 5;
    result = edit(child(root()->child(1), 1), asker);  // "high": bits 4 ... 6
    EXPECT_EQ(asker.asked_limits.maximum, 7u);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.bit, 4);
    EXPECT_EQ(data_bytes(), (Bytes{0x80, 0x00, 0x50}));
    undo_all();
    EXPECT_EQ(data_bytes(), (Bytes{0xFF, 0xFE, 0x00}));
}

TEST_F(Edit_visitor_test, ConfirmingTheValueAsItWasChangesNothing)
{
    define(int_item("u", 4), flex_str("p", 1));
    load_bytes(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 4, 'a', 0, 0x80, 0x0A});
    Scripted_asker asker;
    asker.value = -1;  // 4294967295
    EXPECT_FALSE(edit(root()->child(0), asker).changed);
    // The string's bytes reach the dialog whole, NUL and unconvertible bytes too.
    asker.text = std::string("a\0\x80\n", 4);
    edit(root()->child(1), asker);
    EXPECT_EQ(asker.asked_text, asker.text);
    EXPECT_EQ(asker.asked_max, 255u);
    EXPECT_EQ(asker.shown_in_place, nullptr);
    EXPECT_FALSE(doc().can_undo_data());
    EXPECT_FALSE(doc().is_data_modified());
}

TEST_F(Edit_visitor_test, StringInTheMiddleChangesInPlace)
{
    define(int_item("n", 1), null_str("name"), int_item("after", 1));
    load_bytes(Bytes{7, 'a', 0, 9});
    Component* before = root()->child(0);
    Component* name = root()->child(1);
    Scripted_asker asker;
    asker.text = "hello";
    const Result result = edit(name, asker);
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(asker.shown_in_place, name);
    EXPECT_TRUE(asker.shown_length_change);
    EXPECT_EQ(name->value_text(), "hello");
    EXPECT_EQ(before->end(), name->start());  // ended at the old first byte
    expect_tree_in_data();
    EXPECT_EQ(data_bytes(), (Bytes{7, 'h', 'e', 'l', 'l', 'o', 0, 9}));
    undo_all();
    EXPECT_EQ(data_bytes(), (Bytes{7, 'a', 0, 9}));
}

TEST_F(Edit_visitor_test, StringRunningToTheEndAsksForAnAnalysis)
{
    define(int_item("n", 1), null_str("name"));
    load_bytes(Bytes{7, 'a', 'b', 0});  // the terminator is the last byte
    Scripted_asker asker;
    asker.text = "xyz\n";
    const Result result = edit(root()->child(1), asker);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.place, doc().node_at(1));
    EXPECT_EQ(data_bytes(), (Bytes{7, 'x', 'y', 'z', '\n', 0}));
}

// The undefined bytes changed in place, the block collapsed and expanded again (as
// the limit of expanded containers does), changed again, then everything undone
// and redone.
TEST_F(Edit_visitor_test, UndefinedByteChangedInPlaceSurvivesCollapseUndoAndRedo)
{
    define(int_item("head", 1));
    load_bytes(Bytes{1, 0x10, 0x11, 0x12});
    Component* block = root()->child(1);
    Scripted_asker asker;
    asker.value = 0xAA;
    edit(child(block, 0), asker);
    EXPECT_EQ(asker.asked_limits.byte_count, 1);
    EXPECT_EQ(asker.shown_in_place, block->child(0));
    EXPECT_FALSE(asker.shown_length_change);
    expect_tree_in_data();

    block->clear_children();
    EXPECT_EQ(child(block, 0)->value_text(), "0xAA");
    asker.value = 0xBB;
    edit(child(block, 0), asker);
    EXPECT_EQ(data_bytes(), (Bytes{1, 0xBB, 0x11, 0x12}));
    expect_tree_in_data();
    expect_consistent();

    undo_all();
    EXPECT_EQ(data_bytes(), (Bytes{1, 0x10, 0x11, 0x12}));
    expect_consistent();
    redo_all();
    EXPECT_EQ(data_bytes(), (Bytes{1, 0xBB, 0x11, 0x12}));
    expect_consistent();
}

TEST_F(Edit_visitor_test, StringStartingATableMovesTheTableStart)
{
    define(int_item("n", 1), for_loop("loop", "2", null_str("s")), int_item("end", 1));
    load_bytes(Bytes{2, 'a', 0, 'b', 0, 5});
    Component* loop = root()->child(1);
    Component* record = child(loop, 0);
    Scripted_asker asker;
    asker.text = "xy";
    edit(child(record, 0), asker);
    EXPECT_EQ(loop->start(), doc().node_at(1));
    EXPECT_EQ(record->start(), doc().node_at(1));
    expect_tree_in_data();
    loop->clear_children();
    EXPECT_EQ(child(child(loop, 0), 0)->value_text(), "xy");
    undo_all();
    EXPECT_EQ(data_bytes(), (Bytes{2, 'a', 0, 'b', 0, 5}));
}

} // namespace
