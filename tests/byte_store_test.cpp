// The byte store under the document: identities across changes at piece boundaries,
// pieces joined again, a file changed on disk, the largest data the limits allow.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/data_mgr.h"
#include "model/limits.h"
#include "tests/support/document_fixture.h"
#include "toolkit/memory/available_memory.h"

namespace {

class Byte_store_test : public Document_test {
protected:
    static std::vector<Data_node*> nodes()
    {
        std::vector<Data_node*> all;
        for (Data_node* node = doc().first_node(); node; node = node->next())
            all.push_back(node);
        return all;
    }
    static std::string text()
    {
        std::string bytes;
        for (const std::uint8_t byte : data_bytes())
            bytes.push_back(static_cast<char>(byte));
        return bytes;
    }
};

TEST_F(Byte_store_test, NodesKeepTheirIdentityAndFollowTheirPositions)
{
    // Changes at the start, the end and on both sides of an earlier change (a piece
    // boundary), each undone in turn: the bytes nobody changed are the same nodes at
    // every step, at their new positions, and the same nodes come back on undo.
    load_bytes(std::string("0123456789"));
    const std::vector<Data_node*> original = nodes();
    doc().insert_bytes(5, 2);
    const std::vector<Data_node*> split = nodes();
    doc().delete_bytes(4, 2);  // across the boundary: one old byte, one new
    doc().insert_bytes(0, 1);
    doc().insert_bytes(doc().size(), 1);
    doc().delete_bytes(0, 2);
    EXPECT_EQ(text(), std::string("123\0" "56789\0", 10));
    const std::vector<Data_node*> now = nodes();
    EXPECT_EQ(now[0], original[1]);
    EXPECT_EQ(now[3], split[6]);  // the second inserted byte
    EXPECT_EQ(now[4], original[5]);
    EXPECT_EQ(original[9]->position(), 8u);
    expect_consistent();
    for (int i = 0; i < 4; ++i)
        doc().undo_data();
    EXPECT_EQ(nodes(), split);
    doc().undo_data();
    EXPECT_EQ(nodes(), original);
    // The cut piece is whole again, as are the halves of an insertion taken out.
    EXPECT_EQ(Byte_store::piece_count(), 1u);
    expect_consistent();
    for (int i = 0; i < 5; ++i)
        doc().redo_data();
    EXPECT_EQ(nodes(), now);
    expect_consistent();
}

TEST_F(Byte_store_test, EmptyDataAndChangesThatEmptyIt)
{
    load_bytes(std::string());
    EXPECT_EQ(doc().first_node(), nullptr);
    EXPECT_EQ(doc().node_at(0), nullptr);
    EXPECT_EQ(doc().head()->next(), nullptr);
    Data_node* first = doc().insert_bytes(0, 3);
    EXPECT_EQ(first->prev(), doc().head());
    EXPECT_EQ(doc().node_after(first, 2)->position(), 2u);
    EXPECT_EQ(doc().node_after(first, 3), nullptr);
    doc().delete_bytes(0, 3);
    EXPECT_EQ(doc().size(), 0u);
    EXPECT_EQ(Byte_store::piece_count(), 0u);
    doc().undo_data();
    EXPECT_EQ(doc().first_node(), first);
    expect_consistent();
}

TEST_F(Byte_store_test, ManyPiecesAgreeWithAPlainString)
{
    // Thousands of small changes make thousands of pieces: every position and link
    // still agrees with the bytes a plain string holds, and undoing all of them
    // leaves the one piece of the file.
    std::string model(20000, '\0');
    for (std::size_t i = 0; i < model.size(); ++i)
        model[i] = static_cast<char>(i * 7);
    load_bytes(model);
    const std::string loaded = model;
    std::mt19937 random(5);
    for (int step = 0; step < 3000; ++step) {
        const std::uint32_t position = random() % (model.size() + 1);
        const std::uint32_t count = 1 + random() % 5;
        if (random() % 2) {
            doc().insert_bytes(position, count);
            model.insert(position, count, '\0');
        } else {
            doc().delete_bytes(position, count);
            model.erase(std::min<std::size_t>(position, model.size()), count);
        }
    }
    EXPECT_GT(Byte_store::piece_count(), 1000u);
    EXPECT_EQ(text(), model);
    for (const std::uint32_t position : {0u, 1u, 9999u, static_cast<std::uint32_t>(model.size() - 1)})
        EXPECT_EQ(doc().node_at(position)->position(), position);
    expect_consistent();
    while (doc().can_undo_data())
        doc().undo_data();
    EXPECT_EQ(text(), loaded);
    EXPECT_EQ(Byte_store::piece_count(), 1u);
}

TEST_F(Byte_store_test, AFileChangedOnDiskLeavesTheDataAsShownAndSavedAsShown)
{
    // The file is read whole: what the user sees and saves is what was read, not
    // what another program wrote since.
    const std::string path = temp_path("changing.bin");
    std::ofstream(path, std::ios::binary) << "original";
    doc().load_data(File_path(path));
    doc().insert_bytes(0, 1);
    std::ofstream(path, std::ios::binary) << "changed by another program";
    EXPECT_EQ(text(), std::string("\0original", 9));
    doc().save_data(File_path(path));
    std::ifstream saved(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), std::string("\0original", 9));
}

TEST_F(Byte_store_test, TheLargestDataTheLimitsAllowOpensAndChanges)
{
    const auto available = available_memory();
    const std::uint64_t size = limits::max_data_size;
    if (!available || *available < Data_mgr::bytes_to_load(size) + (2ull << 30))
        GTEST_SKIP() << "not enough memory here for " << size << " bytes";
    const std::string path = temp_path("largest.bin");
    std::ofstream(path, std::ios::binary).close();
    std::filesystem::resize_file(path, size);
    doc().load_data(File_path(path));
    ASSERT_EQ(doc().size(), size);
    // 32-bit sizes: the data is as long as it may be, so a byte goes before one comes.
    doc().delete_bytes(doc().size() - 1, 1);
    doc().insert_bytes(0x80000000u, 1);
    EXPECT_EQ(doc().size(), size);
    EXPECT_EQ(doc().node_at(0xFFFFFFFEu)->position(), 0xFFFFFFFEu);
    doc().undo_data();
    doc().undo_data();
    EXPECT_EQ(Byte_store::piece_count(), 1u);
    doc().new_data();
    std::filesystem::remove(path);
}

} // namespace
