// kestrix-cli and the files it is given: names used exactly as typed, standard output
// as OUTPUT, outputs that are inputs, other users' files, limits of size and memory,
// and the odd command lines.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli_helpers.h"
#include "document/data_mgr.h"
#include "support/other_user.h"
#include "toolkit/memory/available_memory.h"

using namespace cli_test;
namespace fs = std::filesystem;

namespace {

constexpr const char* one_int = R"({"title": "題", "items": [{"kind": "int", "name": "n", "size": 2}]})";
const std::string data_bytes("\x01\x02\x03", 3);
const std::string sjis_report =
    "            \x91\xE8\r\n00000000        n    258\r\n                \x96\xA2\x92\xE8\x8B`\r\n"
    "00000002            [0]    0x03\r\n";
const std::string utf8_report =
    "            題\n00000000        n    258\n                未定義\n00000002            [0]    0x03\n";

class Cli_files_test : public Cli_folder_test {
protected:
    void SetUp() override
    {
        Cli_folder_test::SetUp();
        definition_ = kxd_from(one_int);
        write_file(path("data.bin"), data_bytes);
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> list;
        for (const auto& entry : fs::directory_iterator(folder_.path()))
            list.push_back(entry.path().filename().string());
        std::sort(list.begin(), list.end());
        return list;
    }

    std::string definition_;
};

} // namespace

TEST_F(Cli_files_test, OutputNamesAreUsedExactlyAsTyped)
{
    // Each pair is two names that a round trip through Shift-JIS would make one.
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"café.txt", "cafü.txt"}, {"〜memo.txt", "～memo.txt"}, {"¥yen.txt", "\\yen.txt"}, {"😀.txt", "😁.txt"}};
    for (const auto& [name, other] : pairs) {
        SCOPED_TRACE(name);
        write_file(path(other), "keep");
        const Cli_run run = cli({"export", definition_, path("data.bin"), path(name)});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, path(name) + "に出力しました。\n");
        EXPECT_EQ(file_contents(path(name)), sjis_report);
        EXPECT_EQ(file_contents(path(other)), "keep");
    }
}

TEST_F(Cli_files_test, InputNamesAreUsedExactlyAsTypedAndShownInMessages)
{
    for (const std::string name : {"café.png", "한국.png", "\xF0\x9F\x98\x80.bin", "\xFF\xFE latin-1 \xE9.bin"}) {
        SCOPED_TRACE(name);
        write_file(path(name), data_bytes);
        const std::string definition = kxd_from(one_int, name + ".kxd");
        const Cli_run run = cli({"export", "--utf8", definition, path(name), path(name + ".txt")});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(file_contents(path(name + ".txt")), utf8_report);
        EXPECT_EQ(cli({"tree", definition, path(name)}).out, "題\t\n  n\t258\n  未定義[0 - 0]\t...\n");
    }
    // A name that is no UTF-8 shows each stray byte as U+FFFD, never as another name.
    const Cli_run missing = cli({"json", path("한국-\xFF.kxd")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, path("한국-\xEF\xBF\xBD.kxd") + "は開けません。\n");
}

TEST_F(Cli_files_test, DashWritesTheReportToStandardOutput)
{
    const Cli_run run = cli({"export", "--utf8", definition_, path("data.bin"), "-"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, utf8_report) << "the report alone";

    // A link to /dev/stdout writes through to the pipe; the link stays.
    fs::create_symlink("/dev/stdout", path("to-stdout"));
    const Cli_run piped =
        run_shell(folder_.path(), cli_command({"export", "--utf8", definition_, path("data.bin"), path("to-stdout")}) + " | cat");
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, utf8_report + path("to-stdout") + "に出力しました。\n");
    EXPECT_TRUE(fs::is_symlink(path("to-stdout")));

    const Cli_run full = run_shell(folder_.path(), cli_command({"export", definition_, path("data.bin"), "-"}) + " >/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "標準出力に書き込めませんでした。\n");
}

TEST_F(Cli_files_test, AnOutputThatIsAnInputIsRefused)
{
    write_file(path("in.json"), one_int);
    fs::create_hard_link(path("data.bin"), path("data-link"));
    const std::string definition = file_contents(definition_);
    const std::string same = "は読み込むファイルと同じなので書き込めません。\n";
    struct Row {
        std::string command_line, shown;
    };
    const std::vector<Row> rows = {
        {cli_command({"export", definition_, path("data.bin"), path("data.bin")}), path("data.bin") + same},
        {cli_command({"export", definition_, path("data.bin"), path("data-link")}), path("data-link") + same},
        {cli_command({"export", definition_, path("data.bin"), definition_}), definition_ + same},
        {cli_command({"export", definition_, path("data.bin"), "-"}) + " >>" + quoted(path("data.bin")),
         "標準出力" + same},
        {cli_command({"kxd", path("in.json"), path("in.json")}), path("in.json") + same},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command_line);
        const Cli_run run = run_shell(folder_.path(), row.command_line);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, row.shown);
    }
    EXPECT_EQ(file_contents(path("data.bin")), data_bytes);
    EXPECT_EQ(file_contents(definition_), definition);
    EXPECT_EQ(file_contents(path("in.json")), one_int);
}

TEST_F(Cli_files_test, AsAnotherUserOnlyFilesThatUserMayWriteAreWritten)
{
    if (other_user::running_as_root() && !other_user::setpriv_available())
        GTEST_SKIP() << "root without setpriv cannot run a step as another user";
    // The other user runs a copy of the program in a folder it can reach.
    ::chmod(folder_.path().c_str(), 0755);
    fs::copy_file(KESTRIX_CLI_PATH, path("kestrix-cli"));
    ::chmod(path("kestrix-cli").c_str(), 0755);
    const auto export_to = [&](const std::string& output) {
        return run_shell(folder_.path(), other_user::command_prefix() +
                                      cli_command({"export", definition_, path("data.bin"), output},
                                                  path("kestrix-cli")));
    };

    // Not the user's to write, in a folder anyone may write: refused, not replaced.
    fs::create_directory(path("open"));
    ::chmod(path("open").c_str(), 0777);
    write_file(path("open/read-only.txt"), "old");
    ::chmod(path("open/read-only.txt").c_str(), other_user::running_as_root() ? 0644 : 0444);
    const Cli_run refused = export_to(path("open/read-only.txt"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, path("open/read-only.txt") + "は開けません。\n");
    EXPECT_EQ(file_contents(path("open/read-only.txt")), "old");

    // The user's own file in a folder the user may not write: written in place.
    fs::create_directory(path("locked"));
    write_file(path("locked/mine.txt"), "old");
    other_user::give(path("locked/mine.txt"));
    ::chmod(path("locked").c_str(), 0555);
    const Cli_run written = export_to(path("locked/mine.txt"));
    ::chmod(path("locked").c_str(), 0755);
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(file_contents(path("locked/mine.txt")), sjis_report);
}

TEST_F(Cli_files_test, TheFileSizeLimitIsAFailureWithAMessage)
{
    write_file(path("data.bin"), std::string(4000, 'x'));
    write_file(path("out.txt"), "keep");
    const Cli_run run =
        run_shell(folder_.path(), "ulimit -f 8; " + cli_command({"export", definition_, path("data.bin"), path("out.txt")}));
    EXPECT_EQ(run.status, 1) << "not killed by SIGXFSZ";
    EXPECT_EQ(run.err, path("out.txt") + "に書き込めませんでした。元のファイルは変更されていません。\n");
    EXPECT_EQ(file_contents(path("out.txt")), "keep");
    EXPECT_EQ(names(), (std::vector<std::string>{"data.bin", "def.json", "def.kxd", "out.txt"}));
}

TEST_F(Cli_files_test, OddInputsGetThePathFirstMessage)
{
    fs::create_directory(path("folder"));
    const std::string cannot_open = path("folder") + "は開けません。\n";
    for (const auto& run : {cli({"kxd", path("folder"), path("out.kxd")}), cli({"json", path("folder")}),
                            cli({"tree", definition_, path("folder")}),
                            cli({"export", definition_, path("folder"), path("out.txt")}),
                            cli({"export", definition_, path("data.bin"), path("folder")})}) {
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, cannot_open);
    }
}

TEST_F(Cli_files_test, DataThatCannotFitInMemoryIsRefusedBeforeItIsRead)
{
    // A sparse file: 3.9 GiB that take no room on the disk.
    const std::uint64_t size = 3900ull << 20;
    {
        std::ofstream(path("huge.bin"));
    }
    fs::resize_file(path("huge.bin"), size);
    const auto available = available_memory();
    if (!available || *available >= Data_mgr::bytes_to_load(size))
        GTEST_SKIP() << "this machine has room for " << Data_mgr::bytes_to_load(size) << " bytes";
    const Cli_run run = cli({"tree", definition_, path("huge.bin")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, path("huge.bin") + "は大きすぎて読み込めません。\n");
}

TEST_F(Cli_files_test, DataThatCannotFitUnderTheAddressSpaceLimitIsRefused)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit allows";
#endif
    {
        std::ofstream(path("big.bin"));
    }
    fs::resize_file(path("big.bin"), 512ull << 20);
    const Cli_run run =
        run_shell(folder_.path(), "ulimit -v 400000; " + cli_command({"tree", definition_, path("big.bin")}));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, path("big.bin") + "は大きすぎて読み込めません。\n");
}

TEST_F(Cli_files_test, HelpAfterACommandUnknownCommandsAndEmptyNames)
{
    const Cli_run help = cli({"export", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("kestrix-cli export [--utf8] DEFINITION DATA OUTPUT"), std::string::npos);

    const Cli_run bogus = cli({"bogus", "--utf8"});
    EXPECT_EQ(bogus.status, 2);
    EXPECT_EQ(bogus.err.rfind("kestrix-cli: unknown command \"bogus\"\n", 0), 0u) << bogus.err;

    const Cli_run empty = cli({"export", definition_, path("data.bin"), ""});
    EXPECT_EQ(empty.status, 2);
    EXPECT_EQ(empty.err.rfind("kestrix-cli: export: the OUTPUT file name is empty\n", 0), 0u) << empty.err;
}
