// The data commands: undo and redo relink the very nodes of a change, renumber
// positions and skip entries, report where to look, and release what they own.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/cmp_int.h"
#include "model/cmp_str.h"
#include "model/items.h"
#include "support/document_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t block = Data_mgr::skip_block;

Bytes to_bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Bytes with Shift-JIS lead bytes scattered through them, so that a change of
// length moves the double-byte phase of every later skip entry.
std::string patterned(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 7 == 3 ? 0x82 : 'a' + i % 23);
    return bytes;
}

} // namespace

class Data_commands_test : public Document_test {
protected:
    // The store holds the document's nodes, the head sentinel and whatever the
    // commands own: nothing else, nothing twice.
    static void expect_nodes(std::size_t owned_by_commands)
    {
        EXPECT_EQ(Byte_store::live_count(), doc().size() + 1 + owned_by_commands);
    }
};

TEST_F(Data_commands_test, InsertingAtTheEndIsUndoneAndShowsNothing)
{
    load_bytes(std::string("0123456789"));
    Data_node* first = doc().insert_bytes(10, 4);
    const Data_place undone = doc().undo_data();
    EXPECT_EQ(undone.node, nullptr);
    EXPECT_EQ(undone.bit, std::nullopt);
    EXPECT_EQ(data_bytes(), to_bytes("0123456789"));
    expect_consistent();
    expect_nodes(4);

    const Data_place redone = doc().redo_data();
    EXPECT_EQ(redone.node, first);
    EXPECT_EQ(doc().node_at(10), first);
    EXPECT_EQ(doc().size(), 14u);
    expect_consistent();
    expect_nodes(0);
}

TEST_F(Data_commands_test, DeletingPastTheEndRecordsOnlyWhatWasThere)
{
    load_bytes(std::string("0123456789"));
    Data_node* eight = doc().node_at(8);
    EXPECT_EQ(doc().delete_bytes(8, 3), nullptr);
    EXPECT_EQ(doc().size(), 8u);
    expect_nodes(2);

    const Data_place undone = doc().undo_data();
    EXPECT_EQ(undone.node, eight);
    EXPECT_EQ(data_bytes(), to_bytes("0123456789"));
    expect_consistent();
    expect_nodes(0);

    EXPECT_EQ(doc().redo_data().node, nullptr);  // nothing follows the deleted bytes
    EXPECT_EQ(data_bytes(), to_bytes("01234567"));
    expect_consistent();
}

TEST_F(Data_commands_test, DeletingInTheMiddleShowsTheFollowerThenTheRestoredBytes)
{
    load_bytes(std::string("0123456789"));
    Data_node* three = doc().node_at(3);
    Data_node* six = doc().node_at(6);
    doc().delete_bytes(3, 3);
    EXPECT_EQ(doc().undo_data().node, three);
    EXPECT_EQ(doc().redo_data().node, six);
    EXPECT_EQ(six->position(), 3u);
    expect_consistent();
}

TEST_F(Data_commands_test, ANulTerminatedStringMadeLongerIsUndoneToItsOldBytesAndLength)
{
    doc().insert_item(std::make_unique<Def_null_str>(Bcl_str("s")), nullptr);
    doc().insert_item(std::make_unique<Def_int>(Bcl_str("n"), false, 1, Def_int::decimal, Bcl_str()), nullptr);
    load_bytes(Bytes{0x00, 0x07, 0xAA});
    auto* text = dynamic_cast<Cmp_null_str*>(doc().root_component()->child(0));
    ASSERT_NE(text, nullptr);
    Data_node* old_terminator = text->start();
    text->set_text(Bcl_str("hello"));
    Data_node* created = text->start();
    EXPECT_EQ(data_bytes(), (Bytes{'h', 'e', 'l', 'l', 'o', 0, 0x07, 0xAA}));
    expect_nodes(1);

    EXPECT_EQ(doc().undo_data().node, old_terminator);
    EXPECT_EQ(data_bytes(), (Bytes{0x00, 0x07, 0xAA}));
    EXPECT_EQ(doc().size(), 3u);
    expect_consistent();
    expect_nodes(6);

    // Redo puts the very nodes of the change back: the new analysis uses them.
    EXPECT_EQ(doc().redo_data().node, created);
    EXPECT_EQ(doc().root_component()->child(0)->start(), created);
    EXPECT_EQ(doc().root_component()->child(1)->start()->value, 0x07);
    expect_consistent();
}

TEST_F(Data_commands_test, UndoingABitFlagChangeReportsTheFlagsBit)
{
    auto* integer = new Def_int(Bcl_str("n"), false, 2, Def_int::decimal, Bcl_str());
    integer->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("low"), 3, Bcl_str()));
    integer->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("high"), 2, Bcl_str()));
    doc().insert_item(std::unique_ptr<Define>(integer), nullptr);
    load_bytes(Bytes{0x00, 0x00, 0x55});
    Component* number = doc().root_component()->child(0);
    number->expand();
    auto* high = dynamic_cast<Cmp_bitflag*>(number->child(1));
    ASSERT_NE(high, nullptr);
    Data_node* old_first = number->start();
    high->set_value(3);
    EXPECT_EQ(data_bytes(), (Bytes{0x00, 0x18, 0x55}));  // big-endian, bits 3 and 4

    const Data_place undone = doc().undo_data();
    EXPECT_EQ(undone.node, old_first);
    EXPECT_EQ(undone.bit, 3);
    EXPECT_EQ(data_bytes(), (Bytes{0x00, 0x00, 0x55}));
    EXPECT_EQ(doc().redo_data().bit, 3);
}

TEST_F(Data_commands_test, UndoThenRedoOfAValueChangeReusesTheNodesItCreated)
{
    doc().insert_item(std::make_unique<Def_int>(Bcl_str("a"), false, 1, Def_int::decimal, Bcl_str()), nullptr);
    doc().insert_item(std::make_unique<Def_int>(Bcl_str("b"), true, 4, Def_int::hexadecimal, Bcl_str()), nullptr);
    load_bytes(Bytes{1, 2, 3, 4, 5, 6});
    auto* b = dynamic_cast<Cmp_integer*>(doc().root_component()->child(1));
    ASSERT_NE(b, nullptr);
    b->set_value(0x0A0B0C0D);
    Data_node* created = b->start();
    std::vector<Data_node*> nodes;
    for (Data_node* n = created; n; n = n->next())
        nodes.push_back(n);
    doc().undo_data();
    EXPECT_EQ(data_bytes(), (Bytes{1, 2, 3, 4, 5, 6}));
    doc().redo_data();
    EXPECT_EQ(data_bytes(), (Bytes{1, 0x0A, 0x0B, 0x0C, 0x0D, 6}));
    std::vector<Data_node*> again;
    for (Data_node* n = doc().node_at(1); n; n = n->next())
        again.push_back(n);
    EXPECT_EQ(again, nodes);
    EXPECT_EQ(doc().root_component()->child(1)->start(), created);
}

TEST_F(Data_commands_test, NewBytesPutInWithoutReplacingAnyAreTakenOutAgain)
{
    // A replacement of no bytes: the old run is empty and cannot tell where the
    // renumbering restarts; the new run's follower does.
    load_bytes(std::string("0123456789"));
    const Byte_piece chain = make_chain("xy");
    doc().replace_bytes(doc().node_at(3), 0, chain, std::nullopt);
    EXPECT_EQ(data_bytes(), to_bytes("012xy3456789"));
    expect_consistent();
    EXPECT_EQ(doc().undo_data().node, nullptr);
    EXPECT_EQ(data_bytes(), to_bytes("0123456789"));
    expect_consistent();
    EXPECT_EQ(doc().redo_data().node, chain.first);
    expect_consistent();

    // Appended after the last byte.
    const Byte_piece tail = make_chain("z");
    doc().replace_bytes(nullptr, 4, tail, std::nullopt);
    EXPECT_EQ(data_bytes(), to_bytes("012xy3456789z"));
    doc().undo_data();
    EXPECT_EQ(data_bytes(), to_bytes("012xy3456789"));
    expect_consistent();
    doc().redo_data();
    EXPECT_EQ(doc().node_at(12), tail.first);
    expect_consistent();
}

TEST_F(Data_commands_test, ChangesAroundABlockBoundaryAreUndoneAndRedoneExactly)
{
    // Every kind of change at and around the first two block boundaries, each undone
    // and redone on its own, with positions, links and skip entries (node and
    // double-byte phase) checked after each step.
    const std::string original = patterned(2 * block + 50);
    struct Row {
        const char* what;
        std::function<void()> change;
    };
    auto replace = [](std::uint32_t at, std::uint32_t count, const char* bytes) {
        return [=] { doc().replace_bytes(doc().node_at(at), count, make_chain(bytes), std::nullopt); };
    };
    const std::vector<Row> table = {
        {"insert 1 before the boundary", [] { doc().insert_bytes(block - 1, 1); }},
        {"insert 3 at the boundary", [] { doc().insert_bytes(block, 3); }},
        {"insert 1 after the boundary", [] { doc().insert_bytes(block + 1, 1); }},
        {"delete 1 before the boundary", [] { doc().delete_bytes(block - 1, 1); }},
        {"delete 3 across the boundary", [] { doc().delete_bytes(block - 1, 3); }},
        {"delete the boundary byte", [] { doc().delete_bytes(block, 1); }},
        {"delete a whole block", [] { doc().delete_bytes(100, block); }},
        {"delete the first byte", [] { doc().delete_bytes(0, 1); }},
        {"same length across the boundary", replace(block - 1, 2, "\x81\x40")},
        {"lead byte just before the second boundary", replace(2 * block - 1, 1, "\x82")},
        {"longer at the boundary", replace(block, 1, "\x82\x82\x82")},
        {"shorter across the boundary", replace(block - 2, 4, "\x83")},
        {"same length at position 0", replace(0, 1, "\x82")},
    };
    load_bytes(original);
    const Bytes before = to_bytes(original);
    for (const Row& row : table) {
        SCOPED_TRACE(row.what);
        row.change();
        expect_consistent();
        const Bytes after = data_bytes();
        doc().undo_data();
        expect_consistent();
        EXPECT_TRUE(data_bytes() == before);
        doc().redo_data();
        expect_consistent();
        EXPECT_TRUE(data_bytes() == after);
        doc().undo_data();
    }
}

TEST_F(Data_commands_test, CommandsDroppedFromTheRedoSideReleaseExactlyWhatTheyOwn)
{
    load_bytes(std::string("0123456789"));
    doc().insert_bytes(2, 3);                                               // owns 3 when undone
    doc().delete_bytes(0, 4);                                               // owns 4 when done
    doc().replace_bytes(doc().node_at(1), 2, make_chain("abcde"), std::nullopt);  // 2 done, 5 undone
    expect_nodes(4 + 2);
    doc().undo_data();
    expect_nodes(4 + 5);
    doc().undo_data();
    expect_nodes(0 + 5);
    doc().undo_data();
    expect_nodes(3 + 0 + 5);
    EXPECT_EQ(data_bytes(), to_bytes("0123456789"));

    // Redo one, then a new change drops the two still undone (from the top).
    doc().redo_data();
    expect_nodes(5);
    doc().delete_bytes(9, 1);
    EXPECT_FALSE(doc().can_redo_data());
    expect_nodes(1);
    doc().undo_data();
    doc().undo_data();
    expect_nodes(3);
    EXPECT_EQ(data_bytes(), to_bytes("0123456789"));
    expect_consistent();
}
