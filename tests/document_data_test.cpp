// The document's data side: loading, saving, positions, the skip index and the
// byte changes with their renumbering.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <fstream>
#include <random>

#include "document/data_mgr.h"
#include "support/document_fixture.h"
#include "support/temp_files.h"
#include "support/recording_reporter.h"
#include "toolkit/memory/available_memory.h"
#include "toolkit/memory/mapped_memory.h"
#include "toolkit/exception.h"

namespace {

constexpr std::uint32_t block = Data_mgr::skip_block;

using Data_test = Document_test;

} // namespace

TEST_F(Data_test, LoadsAndSavesBytesExactly)
{
    std::string bytes;
    for (int i = 0; i < 1000; ++i)
        bytes += static_cast<char>(i * 7);
    load_bytes(bytes);
    EXPECT_EQ(doc().size(), 1000u);
    EXPECT_FALSE(doc().is_data_modified());
    expect_consistent();
    const std::string out = temp_path("saved.bin");
    doc().save_data(File_path(out));
    EXPECT_EQ(file_contents(out), bytes);
    EXPECT_EQ(doc().data_path().bytes(), out);
}

TEST_F(Data_test, AnEmptyFileGivesEmptyData)
{
    load_bytes(std::string());
    EXPECT_EQ(doc().size(), 0u);
    EXPECT_EQ(doc().first_node(), nullptr);
    EXPECT_EQ(doc().skip_entry(0).node, nullptr);
    EXPECT_FALSE(doc().skip_entry(0).in_double_byte);
    EXPECT_EQ(doc().position_of(nullptr), 0u);
}

TEST_F(Data_test, AFailedLoadLeavesTheDocumentAsItWas)
{
    load_bytes(std::string("abc"));
    doc().insert_bytes(1, 2);
    const auto before = data_bytes();
    const File_path path = doc().data_path();
    EXPECT_THROW(doc().load_data(File_path(temp_path("missing"))), File_open_err_exception);
    EXPECT_THROW(doc().load_data(File_path(temp_path(""))), File_open_err_exception);
    EXPECT_EQ(data_bytes(), before);
    EXPECT_EQ(doc().data_path(), path);
    EXPECT_TRUE(doc().is_data_modified());
    EXPECT_TRUE(doc().can_undo_data());
}

TEST_F(Data_test, DataThatCannotFitInMemoryIsRefusedAndTheDocumentStays)
{
    load_bytes(std::string("abc"));
    doc().insert_bytes(1, 2);
    const auto before = data_bytes();
    const File_path path = doc().data_path();
    // Sparse: the largest file the document addresses, taking no room on the disk.
    const std::string huge = temp_path("huge.bin");
    {
        std::ofstream(huge, std::ios::binary);
    }
    std::filesystem::resize_file(huge, 0xFFFFFFFFull);
    const auto available = available_memory();
    if (!available || *available >= Data_mgr::bytes_to_load(0xFFFFFFFFull))
        GTEST_SKIP() << "this machine has room for the largest data";
    try {
        doc().load_data(File_path(huge));
        FAIL() << "loaded";
    } catch (const File_too_large_exception& e) {
        EXPECT_EQ(e.display_text(), huge + "は大きすぎて読み込めません。");
    }
    EXPECT_EQ(data_bytes(), before);
    EXPECT_EQ(doc().data_path(), path);
    EXPECT_TRUE(doc().can_undo_data());
    // The bytes as read are the nodes: about one byte of memory per data byte.
    EXPECT_EQ(Data_mgr::bytes_to_load(0), Byte_store::bytes_per_piece + sizeof(Skip_entry));
    EXPECT_GE(Data_mgr::bytes_to_load(1u << 30), 1ull << 30);
    EXPECT_LE(Data_mgr::bytes_to_load(1u << 30), (1ull << 30) + (1ull << 20));
}

TEST_F(Data_test, TheNodesOfALoadTakeWhatBytesToLoadCounts)
{
    // Sizes about the huge pages the bytes are read into: the store holds no more
    // than the refusal counted, and every byte is there.
    constexpr std::uint32_t huge = mapped_memory::huge_page_bytes;
    for (const std::uint32_t size : {1u, huge - 1, huge, huge + 1}) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        for (std::uint32_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 131 + (i >> 16));
        load_bytes(bytes);
        EXPECT_EQ(data_bytes(), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        const std::uint64_t skip_entries = size / block + 1;
        EXPECT_LE(Byte_store::reserved_bytes(), Data_mgr::bytes_to_load(size) - skip_entries * sizeof(Skip_entry));
        expect_consistent();
    }
}

TEST_F(Data_test, TheShiftJisPhaseOfEveryBlockAfterRunsOfLeadBytes)
{
    // Loading reads only the run of lead bytes before each boundary: runs of odd and
    // even length, ending at a boundary, crossing one, and filling whole blocks.
    const auto with_leads = [](std::size_t size, std::size_t first, std::size_t count) {
        std::string bytes(size, 'a');
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(first), count, '\x82');
        return bytes;
    };
    const std::vector<std::string> rows = {
        with_leads(2 * block + 5, block - 3, 3),
        with_leads(2 * block + 5, block - 4, 4),
        with_leads(3 * block, block - 1, block + 2),
        with_leads(3 * block, block - 2, block + 2),
        with_leads(3 * block + 1, 0, 3 * block + 1),
        with_leads(3 * block + 1, 1, 3 * block),
    };
    for (std::size_t row = 0; row < rows.size(); ++row) {
        SCOPED_TRACE(row);
        load_bytes(rows[row]);
        expect_consistent();
    }
}

TEST_F(Data_test, FileNamesAreTheSystemsBytes)
{
    // Names Shift-JIS cannot hold, and one that is no UTF-8 at all.
    for (const std::string name : {"한국.bin", "caf\xE9.bin", "\xE3\x80\x9C.bin"}) {
        SCOPED_TRACE(name);
        const std::string path = temp_path(name);
        write_file(path, name);
        doc().load_data(File_path(path));
        EXPECT_EQ(doc().data_path().bytes(), path);
        doc().insert_bytes(0, 1);
        doc().save_data(doc().data_path());
        EXPECT_EQ(file_contents(path), std::string(1, '\0') + name);
    }
    EXPECT_EQ(doc().data_path().display(), temp_path("〜.bin"));
    try {
        doc().load_data(File_path(temp_path("caf\xE9-missing.bin")));
        FAIL() << "loaded";
    } catch (const File_open_err_exception& e) {
        EXPECT_EQ(e.path().bytes(), temp_path("caf\xE9-missing.bin"));
        EXPECT_EQ(e.display_text(), temp_path("caf\xEF\xBF\xBD-missing.bin") + "は開けません。");
    }
}

TEST_F(Data_test, AFailedSaveKeepsPathFlagAndOldFile)
{
    load_bytes(std::string("abc"));
    doc().insert_bytes(0, 1);
    const File_path path = doc().data_path();
    EXPECT_THROW(doc().save_data(File_path(temp_path("no/such/folder/x"))), File_open_err_exception);
    EXPECT_EQ(doc().data_path(), path);
    EXPECT_TRUE(doc().is_data_modified());
    EXPECT_EQ(file_contents(path.bytes()), "abc");
}

TEST_F(Data_test, LoadingEmptiesTheDataHistoryOnly)
{
    load_bytes(std::string("abcdef"));
    doc().delete_bytes(0, 1);
    ASSERT_TRUE(doc().can_undo_data());
    load_bytes(std::string("xyz"));
    EXPECT_FALSE(doc().can_undo_data());
    EXPECT_FALSE(doc().can_redo_data());
    EXPECT_EQ(Byte_store::live_count(), doc().size() + 1);  // the bytes and the head
}

TEST_F(Data_test, NewDataReleasesEverything)
{
    Recording_reporter progress;
    load_bytes(std::string(5000, 'x'));
    doc().insert_bytes(10, 10);
    doc().new_data();
    EXPECT_EQ(doc().size(), 0u);
    EXPECT_TRUE(doc().data_path().empty());
    EXPECT_FALSE(doc().is_data_modified());
    EXPECT_FALSE(doc().can_undo_data());
    EXPECT_EQ(Byte_store::live_count(), 1u);
    EXPECT_NE(std::find(progress.texts.begin(), progress.texts.end(), "解放しています・・・"), progress.texts.end());
}

// A load moves its bar while it reads the file, the one step that takes time with
// the size: the bytes read are the data, and the old data goes at once.
TEST_F(Data_test, LoadingMovesTheBarInEveryStep)
{
    load_bytes(std::string(4 * block, 'a'));
    Recording_reporter progress;
    load_bytes(std::string(4 * block, 'b'));
    // Each step's text with the percentages shown under it.
    std::vector<std::pair<std::string, std::vector<std::string>>> steps;
    for (const std::string& event : progress.events) {
        if (!event.empty() && !std::isdigit(static_cast<unsigned char>(event[0])))
            steps.push_back({event, {}});
        else if (!steps.empty())
            steps.back().second.push_back(event);
    }
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].first, "読み込んでいます・・・");
    EXPECT_GE(steps[0].second.size(), 2u);
    EXPECT_EQ(steps[0].second.back(), "100");
    EXPECT_EQ(steps[1].first, "解析しています・・・");
    EXPECT_GE(progress.ticks, 4);
    EXPECT_EQ(progress.texts.back(), "");
}

TEST_F(Data_test, SkipEntriesEveryBlockWithTheShiftJisPhase)
{
    // A lead byte just before the boundary puts the boundary byte inside a character.
    std::string bytes(block + 1, 'a');
    bytes[block - 1] = '\x82';
    load_bytes(bytes);
    ASSERT_EQ(doc().skip_index().size(), 2u);
    EXPECT_EQ(doc().skip_entry(block).node->position(), block);
    EXPECT_EQ(doc().skip_entry(block).node->next(), nullptr);  // the last byte
    EXPECT_TRUE(doc().skip_entry(block).in_double_byte);
    expect_consistent();

    load_bytes(std::string(block, 'a'));
    EXPECT_EQ(doc().skip_index().size(), 1u);
}

TEST_F(Data_test, SkipEntryNeverReturnsANodeAtOrPastTheEnd)
{
    // The entry for the block past the end was made by an insertion at the end;
    // undoing it released its nodes, and a later deletion moved the end back.
    load_bytes(std::string(block, 'a'));
    doc().insert_bytes(block, 10);
    doc().undo_data();
    doc().delete_bytes(0, 1);
    EXPECT_EQ(doc().skip_entry(block).node, nullptr);
    EXPECT_EQ(doc().skip_entry(block - 1).node, nullptr);  // the end now
    EXPECT_EQ(doc().skip_entry(block - 2).node, doc().first_node());
    expect_consistent();

    // Shrinking by whole blocks drops their entries.
    load_bytes(std::string(3 * block + 5, 'b'));
    doc().delete_bytes(block, 2 * block);
    EXPECT_EQ(doc().skip_index().size(), 2u);
    EXPECT_EQ(doc().skip_entry(block + 5).node, nullptr);
    EXPECT_EQ(doc().skip_entry(2 * block).node, nullptr);
    expect_consistent();
}

// Every byte change leaves the data consistent and no progress open.
TEST_F(Data_test, EveryByteChangeLeavesTheDataConsistent)
{
    struct Row {
        const char* label;
        std::function<void()> change;
    };
    const std::vector<Row> rows = {
        {"insertion", [] { doc().insert_bytes(3, 2); }},
        {"deletion", [] { doc().delete_bytes(3, 2); }},
        {"same-length replacement", [] { doc().change_value(doc().node_at(3), 2, 0x4142, std::nullopt); }},
        {"deletion of the last bytes", [] { doc().delete_bytes(8, 2); }},
        {"insertion at the end", [] { doc().insert_bytes(10, 2); }},
        {"undo", [] {
             doc().insert_bytes(3, 2);
             doc().undo_data();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        load_bytes(std::string("0123456789"));
        Recording_reporter progress;
        row.change();
        EXPECT_EQ(progress.begins.size(), static_cast<std::size_t>(progress.ends));
        expect_consistent();
    }
}

TEST_F(Data_test, InsertionAndDeletionAtTheEdges)
{
    load_bytes(std::string("abcde"));
    Data_node* first_new = doc().insert_bytes(99, 2);  // past the end: appended
    EXPECT_EQ(first_new->position(), 5u);
    EXPECT_EQ(data_bytes(), (std::vector<std::uint8_t>{'a', 'b', 'c', 'd', 'e', 0, 0}));
    EXPECT_EQ(doc().delete_bytes(7, 3), nullptr);  // at the end: nothing
    EXPECT_EQ(doc().size(), 7u);
    EXPECT_EQ(doc().delete_bytes(5, 9), nullptr);  // only 2 remain
    EXPECT_EQ(doc().size(), 5u);
    Data_node* after = doc().delete_bytes(0, 1);
    EXPECT_EQ(after->value, 'b');
    EXPECT_EQ(after->position(), 0u);
    expect_consistent();
    doc().insert_bytes(0, 1);
    EXPECT_EQ(doc().first_node()->value, 0);
    expect_consistent();
}

TEST_F(Data_test, ChangeValueFollowsTheByteOrder)
{
    load_bytes(std::string("\x00\x00\x00\x00", 4));
    doc().change_value(doc().first_node(), 2, 0x1234, std::nullopt);
    doc().set_byte_order(Byte_order::little_endian);
    doc().change_value(doc().node_at(2), 2, 0x1234, std::nullopt);
    EXPECT_EQ(data_bytes(), (std::vector<std::uint8_t>{0x12, 0x34, 0x34, 0x12}));
    expect_consistent();
}

TEST_F(Data_test, ReplacingShiftsTheShiftJisPhaseOfLaterBlocks)
{
    load_bytes(std::string(2 * block + 10, 'a'));
    // A lead byte at the last position of block 0 flips the phase at the boundary.
    doc().change_value(doc().node_at(block - 1), 1, 0x82, std::nullopt);
    expect_consistent();
    EXPECT_TRUE(doc().skip_entry(block).in_double_byte);
    EXPECT_FALSE(doc().skip_entry(2 * block).in_double_byte);
    doc().change_value(doc().node_at(block - 1), 1, 'a', std::nullopt);
    expect_consistent();
    EXPECT_FALSE(doc().skip_entry(block).in_double_byte);
}

TEST_F(Data_test, ChangesAtBlockBoundariesKeepPositionsAndSkipEntries)
{
    // Each row: insert (count > 0) or delete (count < 0) at a position.
    struct Row { std::uint32_t position; int count; };
    const Row rows[] = {
        {block, 3}, {block, -3}, {block - 1, 1}, {block - 1, -2}, {0, -1}, {0, 5},
        {2 * block - 2, -10}, {block + 1, 1}, {2 * block, 2}, {1, -(int)block},
    };
    std::string bytes(2 * block + 100, 0);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(0x80 + i % 7);  // a mix of lead and other bytes
    load_bytes(bytes);
    std::vector<std::uint8_t> model(bytes.begin(), bytes.end());
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "at " << row.position << " count " << row.count);
        if (row.count > 0) {
            doc().insert_bytes(row.position, static_cast<std::uint32_t>(row.count));
            model.insert(model.begin() + row.position, static_cast<std::size_t>(row.count), 0);
        } else {
            doc().delete_bytes(row.position, static_cast<std::uint32_t>(-row.count));
            const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(-row.count), model.size() - row.position);
            model.erase(model.begin() + row.position, model.begin() + row.position + n);
        }
        expect_consistent();
        ASSERT_EQ(data_bytes(), model);
    }
}

TEST_F(Data_test, DataShrinkingToABoundaryAndGrowingAgain)
{
    load_bytes(std::string(block + 20, '\x82'));
    doc().delete_bytes(block, 20);   // ends exactly at the boundary; entry 1 is stale
    expect_consistent();
    doc().change_value(doc().node_at(block - 1), 1, 'a', std::nullopt);
    doc().insert_bytes(block, 4);    // the new boundary byte's phase comes from block 0
    expect_consistent();
}

TEST_F(Data_test, RandomChangesKeepEveryInvariant)
{
    const unsigned seed = 20261208;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    std::string bytes(3 * block - 1000, 0);
    for (char& c : bytes)
        c = static_cast<char>(random());
    load_bytes(bytes);
    const std::vector<std::uint8_t> original(bytes.begin(), bytes.end());
    std::vector<std::uint8_t> model = original;

    auto near_boundary = [&](std::uint32_t size) -> std::uint32_t {
        if (size == 0)
            return 0;
        const std::uint32_t pick = random() % 3;
        if (pick == 0)
            return random() % (size + 1);
        const std::uint32_t boundary = block * (1 + random() % 2);
        const std::uint32_t p = boundary + random() % 5 - 2;
        return std::min(p, size);
    };
    for (int step = 0; step < 300; ++step) {
        SCOPED_TRACE(testing::Message() << "step " << step);
        const std::uint32_t size = doc().size();
        const std::uint32_t position = near_boundary(size);
        const std::uint32_t count = 1 + random() % (random() % 4 == 0 ? 2000 : 4);
        switch (random() % 3) {
        case 0:
            doc().insert_bytes(position, count);
            model.insert(model.begin() + std::min<std::size_t>(position, model.size()), count, 0);
            break;
        case 1: {
            doc().delete_bytes(position, count);
            if (position < model.size())
                model.erase(model.begin() + position,
                            model.begin() + position + std::min<std::size_t>(count, model.size() - position));
            break;
        }
        default: {
            std::string text(1 + random() % 6, 0);
            for (char& c : text)
                c = static_cast<char>(random());
            doc().replace_bytes(doc().node_at(position), count % 8, make_chain(text), std::nullopt);
            const std::size_t at = std::min<std::size_t>(position, model.size());
            const std::size_t n = std::min<std::size_t>(count % 8, model.size() - at);
            model.erase(model.begin() + at, model.begin() + at + n);
            model.insert(model.begin() + at, text.begin(), text.end());
        }
        }
        if (step % 10 == 0)
            expect_consistent();
        ASSERT_EQ(doc().size(), model.size());
    }
    expect_consistent();
    ASSERT_EQ(data_bytes(), model);

    while (doc().can_undo_data())
        doc().undo_data();
    expect_consistent();
    ASSERT_EQ(data_bytes(), original);
    while (doc().can_redo_data())
        doc().redo_data();
    expect_consistent();
    ASSERT_EQ(data_bytes(), model);
}
