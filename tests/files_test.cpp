// Buffered binary and text files, and the atomic replacement of written files.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iterator>

#include "support/temp_files.h"
#include "toolkit/files/bcl_binaryfile.h"
#include "toolkit/files/bcl_textfile.h"
#include "toolkit/exception.h"

namespace {

class Files_test : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return temp_ / name; }
    static std::string contents(const std::string& p) { return file_contents(p); }
    static void write(const std::string& p, const std::string& bytes) { write_file(p, bytes); }
    std::size_t files_in_folder() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_), {}));
    }

    Temp_folder temp_{"files"};
    const std::string folder_ = temp_.path();
};

} // namespace

TEST_F(Files_test, ReadsBigEndianIntegersStringsAndStopsAtTheEnd)
{
    write(path("in"), std::string("\x12\x34\x56\x78\x03" "abc\x05" "xy", 11));
    Bcl_binaryfile file;
    file.open_read(File_path(path("in")));
    std::uint32_t value;
    ASSERT_TRUE(file.read_uint(2, value));
    EXPECT_EQ(value, 0x1234u);
    ASSERT_TRUE(file.read_uint(2, value));
    EXPECT_EQ(value, 0x5678u);
    Bcl_str text;
    ASSERT_TRUE(file.read_str(1, text));
    EXPECT_EQ(text.bytes(), "abc");
    EXPECT_EQ(file.offset(), 8u);
    // The prefix claims 5 bytes; only 2 exist.
    EXPECT_FALSE(file.read_str(1, text));
    EXPECT_EQ(text.bytes(), "xy");
    std::uint8_t byte;
    EXPECT_FALSE(file.read_byte(byte));
}

TEST_F(Files_test, AHugeLengthPrefixAllocatesOnlyWhatIsThere)
{
    write(path("in"), std::string("\xFF\xFF\xFF\xF0" "abc", 7));
    Bcl_binaryfile file;
    file.open_read(File_path(path("in")));
    Bcl_str text;
    EXPECT_FALSE(file.read_str(4, text));
    EXPECT_EQ(text.bytes(), "abc");
}

TEST_F(Files_test, WritesBigEndianAndReplacesTheTargetOnlyOnClose)
{
    write(path("out"), "old contents");
    {
        Bcl_binaryfile file;
        file.open_write(File_path(path("out")));
        file.write_uint(4, 0x01020304);
        file.write_str(1, Bcl_str("hi"));
        file.write_byte(0xFF);
        EXPECT_EQ(file.offset(), 8u);
        EXPECT_EQ(contents(path("out")), "old contents");
        file.close();
    }
    EXPECT_EQ(contents(path("out")), std::string("\x01\x02\x03\x04\x02hi\xFF", 8));
    EXPECT_EQ(files_in_folder(), 1u);
}

TEST_F(Files_test, AnAbandonedWriteLeavesTheOldFileAndNoTemporary)
{
    write(path("out"), "keep me");
    {
        Bcl_textfile file;
        file.open_write(File_path(path("out")));
        file.write_line("half");
    }
    EXPECT_EQ(contents(path("out")), "keep me");
    EXPECT_EQ(files_in_folder(), 1u);
}

TEST_F(Files_test, TextLinesEndWithCrLfOrInUtf8ModeWithLf)
{
    {
        Bcl_textfile file;
        file.open_write(File_path(path("sjis")));
        file.write_line(Bcl_str::from_utf8("未定義").view());
        file.write_line("");
        file.close();
    }
    EXPECT_EQ(contents(path("sjis")), "\x96\xA2\x92\xE8\x8B\x60\r\n\r\n");
    {
        Bcl_textfile file;
        file.open_write(File_path(path("utf8")), Bcl_textfile::Encoding::utf8_lf);
        file.write_line(Bcl_str::from_utf8("未定義").view());
        file.close();
    }
    EXPECT_EQ(contents(path("utf8")), "未定義\n");
}

TEST_F(Files_test, UnopenableFilesThrowWithTheirPath)
{
    Bcl_binaryfile file;
    try {
        file.open_read(File_path(path("missing")));
        FAIL() << "no exception";
    } catch (const File_open_err_exception& e) {
        EXPECT_EQ(e.path().bytes(), path("missing"));
    }
    EXPECT_THROW(file.open_read(File_path(folder_)), File_open_err_exception);
    EXPECT_THROW(file.open_write(File_path(folder_ + "/no/such/folder/x")), File_open_err_exception);
    EXPECT_THROW(file.open_write(File_path(folder_)), File_open_err_exception);
}

TEST_F(Files_test, AFailedWriteIsReportedAndTheTargetStays)
{
    // A file size limit makes writes fail as a full disk would.
    write(path("out"), "keep");
    struct rlimit old_limit{};
    ::getrlimit(RLIMIT_FSIZE, &old_limit);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old_limit;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    Bcl_textfile file;
    file.open_write(File_path(path("out")));
    // The first write that fails throws, not the close long after it.
    int lines = 0;
    EXPECT_THROW(
        while (lines < 10000) {
            file.write_line("a line that will not fit");
            ++lines;
        },
        File_write_err_exception);
    EXPECT_LT(lines, 10000 / 2);
    ::setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(contents(path("out")), "keep");
    EXPECT_EQ(files_in_folder(), 1u);
}
