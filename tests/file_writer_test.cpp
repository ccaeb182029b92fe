// File_writer's contents at the sizes where its buffers and blocks change hands, by
// each way of writing, with direct I/O, without it and with direct writes the file
// system refuses midway; and write failures on its writing thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/file_size_limit.h"
#include "support/temp_files.h"
#include "toolkit/exception.h"
#include "toolkit/files/file_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t KiB = 1 << 10;
constexpr std::size_t MiB = 1 << 20;
constexpr std::size_t file_system_block = File_writer::file_system_block;

// Bytes that differ from one block to the next, so that a block written twice or
// left out shows.
std::string bytes_of_size(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    return bytes;
}

enum class Way { byte_by_byte, in_chunks, lines_built_in_place };

// Lines as the report builds them: part of the line, then room for the rest (which
// may move what was built), then the whole line taken. The lengths repeat.
void write_lines(File_writer& writer, std::string_view bytes, std::span<const std::size_t> lengths)
{
    for (std::size_t at = 0, line = 0; at < bytes.size(); ++line) {
        const std::size_t length = std::min(lengths[line % lengths.size()], bytes.size() - at);
        const std::size_t first = length / 3;
        std::span<char> room = writer.place(0, first);
        std::copy_n(bytes.data() + at, first, room.data());
        room = writer.place(first, length - first);
        std::copy_n(bytes.data() + at + first, length - first, room.data() + first);
        writer.take(length);
        at += length;
    }
}

void write_by(Way way, File_writer& writer, std::string_view bytes)
{
    switch (way) {
    case Way::byte_by_byte:
        for (const char byte : bytes)
            writer.put(static_cast<std::uint8_t>(byte));
        break;
    case Way::in_chunks:
        for (std::size_t at = 0; at < bytes.size(); at += 4093)
            writer.write(bytes.data() + at, std::min<std::size_t>(4093, bytes.size() - at));
        break;
    case Way::lines_built_in_place: {
        // Some lines are longer than the first buffer.
        static constexpr std::size_t lengths[] = {7, 300, 5001, 70001, 130};
        write_lines(writer, bytes, lengths);
        break;
    }
    }
}

struct Writing {
    const char* label;
    std::size_t direct_block;  // as File_writer::set_direct_block takes it
    bool in_place;             // the target has a second name, so it is written in place
};

class File_writer_contents : public ::testing::TestWithParam<Writing> {};

const Writing writings[] = {
    {"direct", file_system_block, false},
    {"direct_in_place", file_system_block, true},
    {"usual_way", 0, false},
    // Every write is direct until one of a size the file system refuses: from there
    // on the file is written the usual way.
    {"refused_midway", 1, false},
};

} // namespace

TEST_P(File_writer_contents, AreTheBytesWrittenAtEverySize)
{
    const Writing& writing = GetParam();
    const Temp_folder folder("file-writer");
    const std::string target = folder / "target";
    const std::size_t sizes[] = {0,     1,         4095,    4096,        4097,        64 * KiB - 1,
                                 64 * KiB, 64 * KiB + 1, 4 * MiB - 1, 4 * MiB, 4 * MiB + 1, 9 * MiB + 13};
    for (const Way way : {Way::byte_by_byte, Way::in_chunks, Way::lines_built_in_place}) {
        for (const std::size_t size : sizes) {
            SCOPED_TRACE("way " + std::to_string(static_cast<int>(way)) + ", " + std::to_string(size) + " bytes");
            write_file(target, "old");
            if (writing.in_place)
                fs::create_hard_link(target, folder / "link");
            const std::string bytes = bytes_of_size(size);
            File_writer writer;
            writer.set_direct_block(writing.direct_block);
            writer.open(File_path(target));
            write_by(way, writer, bytes);
            EXPECT_EQ(writer.offset(), size);
            writer.commit();
            EXPECT_TRUE(file_contents(target) == bytes);
            if (writing.in_place) {
                EXPECT_TRUE(file_contents(folder / "link") == bytes);
                fs::remove(folder / "link");
            }
            EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
        }
    }
}

TEST_P(File_writer_contents, AreTheLinesBuiltUpToTheFirstBuffersEnd)
{
    const Writing& writing = GetParam();
    const Temp_folder folder("file-writer");
    const std::string target = folder / "target";
    constexpr std::size_t first_buffer = File_writer::first_buffer;
    struct Lines {
        const char* label;
        std::vector<std::size_t> lengths;  // written once each
    };
    const Lines rows[] = {
        {"the second line ends at the buffer's end", {first_buffer - 2, 2, 1}},
        {"the second line is one byte too long for the buffer", {first_buffer - 2, 3, 1}},
        {"a line as long as the buffer", {first_buffer, 1}},
        {"a line one byte longer than the buffer", {first_buffer + 1, 1}},
        // The buffer grows past the size that goes on huge pages, keeping what was built.
        {"a line longer than the largest buffer", {1, File_writer::largest_buffer + 7, 5}},
    };
    for (const Lines& row : rows) {
        SCOPED_TRACE(row.label);
        write_file(target, "old");
        if (writing.in_place)
            fs::create_hard_link(target, folder / "link");
        std::size_t size = 0;
        for (const std::size_t length : row.lengths)
            size += length;
        const std::string bytes = bytes_of_size(size);
        File_writer writer;
        writer.set_direct_block(writing.direct_block);
        writer.open(File_path(target));
        write_lines(writer, bytes, row.lengths);
        EXPECT_EQ(writer.offset(), size);
        writer.commit();
        EXPECT_TRUE(file_contents(target) == bytes);
        if (writing.in_place)
            fs::remove(folder / "link");
    }
}

INSTANTIATE_TEST_SUITE_P(Writings, File_writer_contents, ::testing::ValuesIn(writings),
                         [](const auto& info) { return std::string(info.param.label); });

namespace {

struct Failure {
    const char* label;
    std::size_t limit;  // the file size limit; 0 for none
    std::size_t size;   // bytes written
    bool in_place;
    bool thrown_while_writing;  // else at commit(), or (without a limit) never
};

class File_writer_failure : public ::testing::TestWithParam<Failure> {};

const Failure failures[] = {
    // The first buffer is written at once; the second fails on the writing thread,
    // and the failure shows at the next buffer handed over.
    {"on_the_thread_seen_at_the_next_buffer", MiB, 16 * MiB, false, true},
    {"on_the_thread_in_place", MiB, 16 * MiB, true, true},
    // The last buffer handed over fails, and nothing comes after it that could fail
    // too: only commit() can tell.
    {"in_the_last_buffer_seen_at_commit", 100 * KiB, 128 * KiB, false, false},
    // Dropped while the thread writes: it stops before its file goes.
    {"abandoned_while_writing", 0, 16 * MiB, false, false},
};

} // namespace

TEST_P(File_writer_failure, LeavesTheTargetAsItWas)
{
    const Failure& failure = GetParam();
    const Temp_folder folder("file-writer");
    const std::string target = folder / "target";
    write_file(target, "keep");
    if (failure.in_place)
        fs::create_hard_link(target, folder / "link");
    const std::string bytes = bytes_of_size(failure.size);
    bool thrown_while_writing = false;
    bool thrown_at_commit = false;
    {
        const File_size_limit limit(failure.limit ? failure.limit : RLIM_INFINITY);
        File_writer writer;
        writer.open(File_path(target));
        try {
            write_by(Way::in_chunks, writer, bytes);
            // Room for a line never written hands the full buffer over.
            static_cast<void>(writer.place(0, 1));
        } catch (const File_write_err_exception& e) {
            EXPECT_EQ(e.path().bytes(), target);
            thrown_while_writing = true;
        }
        if (!thrown_while_writing && failure.limit) {
            try {
                writer.commit();
            } catch (const File_write_err_exception& e) {
                EXPECT_EQ(e.path().bytes(), target);
                thrown_at_commit = true;
            }
        }
    }
    EXPECT_EQ(thrown_while_writing, failure.thrown_while_writing);
    EXPECT_EQ(thrown_at_commit, failure.limit && !failure.thrown_while_writing);
    EXPECT_EQ(file_contents(target), "keep");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), failure.in_place ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Failures, File_writer_failure, ::testing::ValuesIn(failures),
                         [](const auto& info) { return std::string(info.param.label); });
