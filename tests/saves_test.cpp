// Saves change the file the user named and nothing else: every case runs against each
// kind of save (data, definition, report), which all go through File_writer.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <thread>

#include "document/data_mgr.h"
#include "document/report.h"
#include "model/items.h"
#include "support/document_fixture.h"
#include "support/file_size_limit.h"
#include "support/other_user.h"
#include "support/recording_reporter.h"
#include "support/temp_files.h"
#include "toolkit/exception.h"
#include "toolkit/files/file_writer.h"
#include "toolkit/files/in_place.h"

namespace fs = std::filesystem;

namespace {


struct stat status_of(const std::string& path, bool follow = true)
{
    struct stat st{};
    EXPECT_EQ(follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st), 0) << path;
    return st;
}

// Names in `folder` other than the data file the fixture loads.
std::vector<std::string> names_in(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != "data.bin")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Saver {
    const char* label;
    void (*save)(const File_path& target, const std::string& data_path);
};

const Saver savers[] = {
    {"data", [](const File_path& target, const std::string&) { Data_mgr::instance().save_data(target); }},
    {"definition", [](const File_path& target, const std::string&) { Data_mgr::instance().save_definition(target); }},
    {"report",
     [](const File_path& target, const std::string& data) {
         Data_mgr::instance().analyze_to_text(File_path(data), target);
     }},
};

class Save_test : public Document_test, public ::testing::WithParamInterface<Saver> {
protected:
    void SetUp() override
    {
        Document_test::SetUp();
        load_bytes(std::string("new contents\x01\x02", 14));
        doc().insert_item(std::make_unique<Def_int>(Bcl_str("n"), false, 2, Def_int::decimal, Bcl_str()), nullptr);
        doc().analyze();
        folder_ = temp_path("");
        folder_.pop_back();
        // Other users must reach the files: as root the steps run as "nobody".
        ::chmod(folder_.c_str(), 0755);
        save(path("expected"));
        expected_ = file_contents(path("expected"));
        fs::remove(path("expected"));
    }

    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    void save(const std::string& target) const { GetParam().save(File_path(target), path("data.bin")); }
    // The step's outcome as a text: "saved" or what the user would be shown.
    std::string try_save(const std::string& target) const
    {
        try {
            save(target);
            return "saved";
        } catch (const Exception& e) {
            return e.display_text();
        }
    }

    std::string folder_;
    std::string expected_;
};

} // namespace

TEST_P(Save_test, SymbolicLinksLeadToTheFileThatChanges)
{
    fs::create_directory(path("sub"));
    write_file(path("sub/real.txt"), "old");
    fs::create_symlink("sub/real.txt", path("relative"));
    fs::create_symlink(path("relative"), path("chain"));
    save(path("chain"));
    EXPECT_EQ(file_contents(path("sub/real.txt")), expected_);
    EXPECT_TRUE(fs::is_symlink(path("relative")));
    EXPECT_TRUE(fs::is_symlink(path("chain")));

    // A link to a file that does not exist yet creates that file.
    fs::create_symlink("sub/new.txt", path("dangling"));
    save(path("dangling"));
    EXPECT_TRUE(fs::is_symlink(path("dangling")));
    EXPECT_EQ(file_contents(path("sub/new.txt")), expected_);
    EXPECT_EQ(names_in(path("sub")), (std::vector<std::string>{"new.txt", "real.txt"}));
}

TEST_P(Save_test, HardLinksStayLinked)
{
    write_file(path("one"), "old contents that are longer than the new ones, to be cut");
    fs::create_hard_link(path("one"), path("two"));
    const ino_t inode = status_of(path("one")).st_ino;
    save(path("one"));
    EXPECT_EQ(file_contents(path("two")), expected_);
    EXPECT_EQ(status_of(path("one")).st_ino, inode);
    EXPECT_EQ(status_of(path("one")).st_nlink, 2u);
    EXPECT_EQ(names_in(folder_), (std::vector<std::string>{"one", "two"}));
}

TEST_P(Save_test, ModeOwnerAndGroupStay)
{
    write_file(path("plain"), "old");
    ::chmod(path("plain").c_str(), 0604);
    save(path("plain"));
    EXPECT_EQ(status_of(path("plain")).st_mode & 07777, 0604u);
    EXPECT_EQ(file_contents(path("plain")), expected_);
    if (!other_user::running_as_root())
        GTEST_SKIP() << "files of another owner need root";

    // Root saving another user's files: they stay that user's, a set-user-ID file too.
    for (const mode_t mode : {mode_t(0640), mode_t(04750), mode_t(02750)}) {
        SCOPED_TRACE(mode);
        write_file(path("theirs"), "old");
        other_user::give(path("theirs"));
        ::chmod(path("theirs").c_str(), mode);
        save(path("theirs"));
        const struct stat st = status_of(path("theirs"));
        EXPECT_EQ(st.st_uid, other_user::uid);
        EXPECT_EQ(st.st_gid, other_user::gid);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_EQ(file_contents(path("theirs")), expected_);
    }
}

TEST_P(Save_test, NamesUpToTheFileSystemLimitWork)
{
    const long limit = ::pathconf(folder_.c_str(), _PC_NAME_MAX);
    ASSERT_GT(limit, 20);
    for (const long length : {limit - 9, limit}) {
        const std::string name(static_cast<std::size_t>(length), 'n');
        save(path(name));
        write_file(path(name), "old");
        save(path(name));
        EXPECT_EQ(file_contents(path(name)), expected_);
        fs::remove(path(name));
    }
    EXPECT_TRUE(names_in(folder_).empty());
}

TEST_P(Save_test, ExtendedAttributesStay)
{
    write_file(path("tagged"), "old");
    if (::setxattr(path("tagged").c_str(), "user.kestrix", "kept", 4, 0) != 0)
        GTEST_SKIP() << "no user attributes on this file system";
    save(path("tagged"));
    char value[8] = {};
    EXPECT_EQ(::getxattr(path("tagged").c_str(), "user.kestrix", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
    EXPECT_EQ(file_contents(path("tagged")), expected_);
}

TEST_P(Save_test, PipesAndDevicesAreWrittenDirectly)
{
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    // The reader is open before the save starts, so the save's open never waits.
    const int reader = ::open(path("fifo").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    std::string outcome;
    std::thread saving([&] { outcome = try_save(path("fifo")); });
    std::string received;
    for (;;) {
        struct pollfd wait{reader, POLLIN, 0};
        if (::poll(&wait, 1, 20000) <= 0)
            break;
        char buffer[4096];
        const ssize_t n = ::read(reader, buffer, sizeof buffer);
        if (n > 0)
            received.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EAGAIN)
            break;
    }
    saving.join();
    ::close(reader);
    EXPECT_EQ(outcome, "saved");
    EXPECT_EQ(received, expected_);
    EXPECT_TRUE(fs::is_fifo(path("fifo")));

    // Through a link to a device: the device is written, nothing is replaced.
    fs::create_symlink("/dev/null", path("null"));
    EXPECT_EQ(try_save(path("null")), "saved");
    EXPECT_TRUE(fs::is_symlink(path("null")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    fs::create_symlink("/dev/full", path("full"));
    EXPECT_EQ(try_save(path("full")), path("full") + "に書き込めませんでした。");
    EXPECT_EQ(names_in(folder_), (std::vector<std::string>{"fifo", "full", "null"}));
}

TEST_P(Save_test, SavesThatCannotBeMadeSayWhyAndChangeNothing)
{
    fs::create_directory(path("folder"));
    fs::create_symlink("loop-b", path("loop-a"));
    fs::create_symlink("loop-a", path("loop-b"));
    const File_path data_path = doc().data_path();
    struct Row {
        std::string target, shown;
    };
    const std::vector<Row> rows = {
        {path("no/such/folder/x"), path("no/such/folder/x") + "は開けません。"},
        {path("folder"), path("folder") + "は開けません。"},
        {path("loop-a"), path("loop-a") + "は開けません。"},
        {"", "\"\"は開けません。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target);
        EXPECT_EQ(try_save(row.target), row.shown);
    }
    EXPECT_EQ(doc().data_path(), data_path);
    EXPECT_EQ(names_in(folder_), (std::vector<std::string>{"folder", "loop-a", "loop-b"}));
    EXPECT_TRUE(fs::is_empty(path("folder")));
}

TEST_P(Save_test, AFileTheUserMayNotWriteIsRefusedInAFolderTheyMay)
{
    // A folder anyone may write (without the sticky bit): a rename would replace
    // the file although the user may not change it.
    fs::create_directory(path("open"));
    ::chmod(path("open").c_str(), 0777);
    const std::string target = path("open/read-only");
    write_file(target, "old");
    ::chmod(target.c_str(), other_user::running_as_root() ? 0644 : 0444);
    const ino_t inode = status_of(target).st_ino;
    EXPECT_EQ(other_user::run([&] { return try_save(target); }), target + "は開けません。");
    EXPECT_EQ(file_contents(target), "old");
    EXPECT_EQ(status_of(target).st_ino, inode);
    EXPECT_EQ(names_in(path("open")), std::vector<std::string>{"read-only"});
}

TEST_P(Save_test, AWritableFileInAFolderTheUserMayNotWriteIsSavedInPlace)
{
    fs::create_directory(path("locked"));
    const std::string target = path("locked/file");
    write_file(target, "old contents, longer than the new ones");
    other_user::give(target);
    ::chmod(path("locked").c_str(), 0555);
    const ino_t inode = status_of(target).st_ino;
    EXPECT_EQ(other_user::run([&] { return try_save(target); }), "saved");
    ::chmod(path("locked").c_str(), 0755);
    EXPECT_EQ(file_contents(target), expected_);
    EXPECT_EQ(status_of(target).st_ino, inode);
    EXPECT_EQ(names_in(path("locked")), std::vector<std::string>{"file"});
}

TEST_P(Save_test, ASetGroupIdFileIsNotHandedToAnotherOwner)
{
    if (!other_user::running_as_root())
        GTEST_SKIP() << "needs a file of another owner: run as root";
    fs::create_directory(path("open"));
    ::chmod(path("open").c_str(), 0777);
    const std::string target = path("open/shared");
    write_file(target, "old");
    ::chmod(target.c_str(), 02666);
    EXPECT_EQ(other_user::run([&] { return try_save(target); }), "saved");
    const struct stat st = status_of(target);
    EXPECT_EQ(st.st_uid, 0u) << "the file changed owner";
    EXPECT_EQ(st.st_gid, 0u);
    EXPECT_EQ(file_contents(target), expected_);
}

INSTANTIATE_TEST_SUITE_P(Savers, Save_test, ::testing::ValuesIn(savers),
                         [](const auto& info) { return std::string(info.param.label); });

// ---- the report's inputs, interruptions and failures ----

namespace {

class Save_failure_test : public Document_test {
protected:
    void SetUp() override
    {
        Document_test::SetUp();
        folder_ = temp_path("");
        folder_.pop_back();
    }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }

    std::string folder_;
};

} // namespace

TEST_F(Save_failure_test, AReportOverItsOwnInputsIsRefused)
{
    write_file(path("data.bin"), "data");
    fs::create_hard_link(path("data.bin"), path("hard"));
    fs::create_symlink("data.bin", path("soft"));
    doc().save_definition(File_path(path("def.kxd")));
    const std::string definition = file_contents(path("def.kxd"));
    for (const char* name : {"data.bin", "hard", "soft", "def.kxd"}) {
        SCOPED_TRACE(name);
        try {
            doc().analyze_to_text(File_path(path("data.bin")), File_path(path(name)));
            FAIL() << "written";
        } catch (const Same_file_exception& e) {
            EXPECT_EQ(e.display_text(), path(name) + "は読み込むファイルと同じなので書き込めません。");
        }
    }
    EXPECT_EQ(file_contents(path("data.bin")), "data");
    EXPECT_EQ(file_contents(path("def.kxd")), definition);
}

TEST_F(Save_failure_test, TheFirstFailedWriteEndsTheReport)
{
    write_file(path("data.bin"), std::string(1 << 20, 'x'));
    write_file(path("out.txt"), "keep");
    Recording_reporter recording;
    {
        const File_size_limit limit(4096);
        EXPECT_THROW(doc().analyze_to_text(File_path(path("data.bin")), File_path(path("out.txt"))),
                     File_write_err_exception);
    }
    // The undefined bytes of 1 MiB make 37 MB of report; the first 64 KiB block
    // already fails, long before the analysis reaches the end of the data.
    EXPECT_LT(recording.percents.empty() ? 0 : recording.percents.back(), 10);
    EXPECT_EQ(file_contents(path("out.txt")), "keep");
    EXPECT_EQ(names_in(folder_), (std::vector<std::string>{"out.txt"}));
}

TEST_F(Save_failure_test, AFailedWriteInPlacePutsTheOldContentsBack)
{
    const std::string old_contents = "the old contents";
    write_file(path("target"), old_contents);
    const int target = ::open(path("target").c_str(), O_RDWR | O_CLOEXEC);
    const int source = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    ASSERT_GE(target, 0);
    ASSERT_GE(source, 0);
    const std::string new_contents(200000, 'n');
    ASSERT_EQ(::write(source, new_contents.data(), new_contents.size()), ssize_t(new_contents.size()));
    {
        // The copy of the old contents fits, the new contents do not.
        const File_size_limit limit(100000);
        try {
            replace_in_place(File_path(path("target")), target, source, new_contents.size(), folder_);
            FAIL() << "no failure";
        } catch (const File_write_err_exception& e) {
            EXPECT_EQ(e.display_text(), path("target") + "に書き込めませんでした。元のファイルは変更されていません。");
        }
    }
    ::close(target);
    ::close(source);
    EXPECT_EQ(file_contents(path("target")), old_contents);
    EXPECT_EQ(names_in(folder_), (std::vector<std::string>{"target"}));
}

TEST_F(Save_failure_test, RestoreFailureNamesTheCopyOfTheOldContents)
{
    const Restore_err_exception failure(File_path("/home/u/file"), File_path("/tmp/.kx-abc123"));
    EXPECT_EQ(failure.display_text(),
              "/home/u/fileに書き込めませんでした。元の内容は次のファイルに残してあります。\n/tmp/.kx-abc123");
}

namespace {

class Interrupted_save : public Save_failure_test, public ::testing::WithParamInterface<int> {};

} // namespace

TEST_P(Interrupted_save, LeavesNeitherATemporaryFileNorAChangedTarget)
{
    const int signal_number = GetParam();
    write_file(path("target"), "old");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(signal_number, SIG_DFL);
        File_writer writer;
        writer.open(File_path(path("target")));
        writer.write(std::string(1 << 20, 'x').data(), 1 << 20);
        const char byte = 1;
        (void)!::write(ready[1], &byte, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(names_in(folder_).size(), 2u) << "the temporary file is there while writing";
    ::kill(child, signal_number);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << "ended as the signal ends it";
    EXPECT_EQ(names_in(folder_), (std::vector<std::string>{"target"}));
    EXPECT_EQ(file_contents(path("target")), "old");
}

INSTANTIATE_TEST_SUITE_P(Signals, Interrupted_save, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });
