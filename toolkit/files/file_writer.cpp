#include "toolkit/files/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "toolkit/files/block_writer.h"
#include "toolkit/exception.h"
#include "toolkit/files/in_place.h"
#include "toolkit/files/interrupt_cleanup.h"
#include "toolkit/files/temp_files.h"

namespace {

// As many links as the system itself follows in one lookup.
constexpr int max_link_hops = 40;

// The name `path` finally leads to through symbolic links, the last of which may
// name a file that does not exist yet. Empty after too many hops (a loop).
std::string follow_links(std::string path)
{
    for (int hop = 0; hop < max_link_hops; ++hop) {
        struct stat st{};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size())
            return {};
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : folder_of(path) + "/" + target;
    }
    return {};
}

// Attributes a renamed file would lose: access control lists, capabilities, user
// attributes. The security label is left out: a new file gets its own from the folder.
bool has_extended_attributes(int fd)
{
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size <= 0)
        return false;
    std::string names(static_cast<std::size_t>(size), '\0');
    const ssize_t got = ::flistxattr(fd, names.data(), names.size());
    if (got < 0)
        return true;
    names.resize(static_cast<std::size_t>(got));
    for (std::size_t at = 0; at < names.size();) {
        const std::size_t end = std::min(names.find('\0', at), names.size());
        if (names.compare(at, end - at, "security.selinux") != 0)
            return true;
        at = end + 1;
    }
    return false;
}

// Gives the new file `fd` the owner, group and mode of `old`. Owner first: changing
// it clears the set-user-ID and set-group-ID bits, which the mode then restores on a
// file that has the old owner again. False when the owner or group cannot be given.
bool take_identity(int fd, const struct stat& old)
{
    struct stat now{};
    if (::fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

mode_t new_file_mode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

File_writer::File_writer() = default;
File_writer::~File_writer() { abandon(); }

void File_writer::open(const File_path& path)
{
    abandon();
    interrupt_cleanup::install();
    if (path.empty())
        throw File_open_err_exception(path);
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT)
            throw File_open_err_exception(path);
        open_new(path);
    } else if (S_ISDIR(st.st_mode)) {
        throw File_open_err_exception(path);
    } else if (S_ISREG(st.st_mode)) {
        open_existing(path);
    } else {
        const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            throw File_open_err_exception(path);
        start(path, Mode::direct, fd);
    }
}

void File_writer::open_standard_output(const File_path& name)
{
    abandon();
    interrupt_cleanup::install();
    start(name, Mode::direct, STDOUT_FILENO);
    owns_fd_ = false;
}

void File_writer::start(const File_path& path, Mode mode, int fd)
{
    mode_ = mode;
    fd_ = fd;
    owns_fd_ = true;
    path_ = path;
    block_ = 1;
    if (mode != Mode::direct) {
        if (direct_block_ != 0)
            block_ = std::max<std::size_t>(1, start_direct_io(fd, direct_block_ == file_system_block ? 0 : direct_block_));
        blocks_ = std::make_unique<Block_writer>(fd);
    }
    buffer_.grow(first_buffer, block_, 0);
    used_ = 0;
    flushed_ = 0;
}

void File_writer::open_new(const File_path& path)
{
    const std::string final_path = follow_links(path.bytes());
    // A signal between creating the temporary file and registering it would leave it.
    const interrupt_cleanup::Signals_held held;
    std::string temp;
    const int fd = final_path.empty() ? -1 : create_temporary(folder_of(final_path), temp);
    if (fd < 0)
        throw File_open_err_exception(path);
    ::fchmod(fd, new_file_mode());
    start(path, Mode::replace, fd);
    take_temporary(fd, std::move(temp), final_path);
}

void File_writer::open_existing(const File_path& path)
{
    // Opening the file itself is the test whether the user may write it: a rename
    // would replace a file the user could not change.
    int target = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (target < 0 && errno == EACCES)
        target = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (target < 0)
        throw File_open_err_exception(path);
    const std::string final_path = follow_links(path.bytes());
    path_ = path;
    if (!final_path.empty() && try_replace(final_path, target)) {
        ::close(target);
        return;
    }
    // In place: the old contents are read back for their copy, so the file must be
    // readable too.
    const int scratch = (::fcntl(target, F_GETFL) & O_ACCMODE) == O_RDWR
                            ? create_scratch(folder_of(final_path.empty() ? path.bytes() : final_path))
                            : -1;
    if (scratch < 0) {
        ::close(target);
        throw File_open_err_exception(path);
    }
    start(path, Mode::in_place, scratch);
    target_fd_ = target;
    scratch_folder_ = folder_of(final_path.empty() ? path.bytes() : final_path);
}

bool File_writer::try_replace(const std::string& final_path, int target_fd)
{
    struct stat target{};
    struct stat named{};
    // The name must lead to the very file that was opened (a link under /proc to a
    // pipe or a deleted file leads nowhere), and be its only name.
    if (::fstat(target_fd, &target) != 0 || ::lstat(final_path.c_str(), &named) != 0 ||
        named.st_dev != target.st_dev || named.st_ino != target.st_ino || target.st_nlink != 1 ||
        has_extended_attributes(target_fd))
        return false;
    const interrupt_cleanup::Signals_held held;
    std::string temp;
    const int fd = create_temporary(folder_of(final_path), temp);
    if (fd < 0)
        return false;
    if (!take_identity(fd, target)) {
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    start(path_, Mode::replace, fd);
    take_temporary(fd, std::move(temp), final_path);
    return true;
}

void File_writer::take_temporary(int fd, std::string name, const std::string& final_path)
{
    fd_ = fd;
    temp_path_ = std::move(name);
    final_path_ = final_path;
    cleanup_ticket_ = interrupt_cleanup::remember(temp_path_);
}

// Writes out the bytes before used_ and moves the `kept` bytes built after them to the
// buffer's start. A regular file's writing thread takes whole blocks only: the rest
// moves along with the kept bytes, to the start of the other buffer. The first
// buffer is written here and now: a file that cannot be written fails at once.
void File_writer::write_out(std::size_t kept)
{
    const std::size_t whole = blocks_ ? used_ - used_ % block_ : used_;
    if (whole == 0 && blocks_)
        return;
    if (!blocks_ || flushed_ == 0) {
        if (!write_all(fd_, buffer_.data(), whole))
            fail();
        std::memmove(buffer_.data(), buffer_.data() + whole, used_ - whole + kept);
    } else {
        if (!blocks_->hand_over(buffer_.data(), whole))
            fail();
        // The thread has finished with the other buffer: filling goes on there.
        std::swap(buffer_, spare_);
        const std::size_t moved = used_ - whole + kept;
        buffer_.grow(std::max(moved, std::min(2 * spare_.size(), largest_buffer)), block_, 0);
        std::memcpy(buffer_.data(), spare_.data() + whole, moved);
    }
    flushed_ += whole;
    used_ -= whole;
}

// Everything written out, the last bytes the usual way.
void File_writer::finish_writing()
{
    if (blocks_) {
        const bool written = blocks_->finish();
        blocks_.reset();
        if (!written || !stop_direct_io(fd_))
            fail();
    }
    write_out(0);
}

void File_writer::fail()
{
    const File_path path = path_;
    const bool direct = mode_ == Mode::direct;
    abandon();
    if (direct)
        throw Stream_write_err_exception(path);
    throw File_write_err_exception(path);
}

void File_writer::write_through(const void* data, std::size_t count)
{
    const auto* src = static_cast<const std::uint8_t*>(data);
    while (count > 0) {
        if (used_ == buffer_.size())
            flush_buffer();
        const std::size_t n = std::min(count, buffer_.size() - used_);
        std::memcpy(buffer_.data() + used_, src, n);
        used_ += n;
        src += n;
        count -= n;
    }
}

std::span<char> File_writer::place_elsewhere(std::size_t placed, std::size_t count)
{
    // What was built moves to the front once everything before it is written.
    write_out(placed);
    if (used_ + placed + count > buffer_.size())
        buffer_.grow(std::max(2 * buffer_.size(), used_ + placed + count), block_, used_ + placed);
    return room();
}

void File_writer::commit()
{
    if (fd_ < 0)
        return;
    finish_writing();
    switch (mode_) {
    case Mode::replace:
        commit_replace();
        break;
    case Mode::in_place: {
        const File_path path = path_;
        const int target = target_fd_;
        const int scratch = fd_;
        target_fd_ = fd_ = -1;
        try {
            replace_in_place(path, target, scratch, flushed_, scratch_folder_);
        } catch (...) {
            ::close(target);
            ::close(scratch);
            throw;
        }
        ::close(target);
        ::close(scratch);
        break;
    }
    case Mode::direct: {
        const bool closed = !owns_fd_ || ::close(fd_) == 0;
        fd_ = -1;
        if (!closed)
            throw Stream_write_err_exception(path_);
        break;
    }
    }
    abandon();
}

void File_writer::commit_replace()
{
    bool ok = ::fsync(fd_) == 0;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    {
        const interrupt_cleanup::Signals_held held;
        ok = ok && ::rename(temp_path_.c_str(), final_path_.c_str()) == 0;
        if (ok) {
            interrupt_cleanup::forget(cleanup_ticket_);
            cleanup_ticket_ = -1;
            temp_path_.clear();
        }
    }
    if (!ok)
        fail();
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(folder_of(final_path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void File_writer::close_descriptors()
{
    if (fd_ >= 0 && owns_fd_)
        ::close(fd_);
    if (target_fd_ >= 0)
        ::close(target_fd_);
    fd_ = target_fd_ = -1;
}

void File_writer::abandon()
{
    // The thread ends before the file it writes is closed.
    blocks_.reset();
    close_descriptors();
    if (!temp_path_.empty()) {
        ::unlink(temp_path_.c_str());
        interrupt_cleanup::forget(cleanup_ticket_);
        cleanup_ticket_ = -1;
        temp_path_.clear();
    }
    owns_fd_ = true;
    used_ = 0;
}
