#include "toolkit/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "toolkit/exception.h"

namespace {

constexpr std::size_t buffer_size = 1 << 16;

} // namespace

std::optional<std::uint64_t> file_size(const Bcl_str& path)
{
    struct stat st{};
    if (::stat(path.to_utf8().c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

File_reader::~File_reader() { close(); }

void File_reader::open(const Bcl_str& path)
{
    close();
    const int fd = ::open(path.to_utf8().c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st{};
    if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        throw File_open_err_exception(path);
    }
    fd_ = fd;
    path_ = path;
    buffer_.resize(buffer_size);
    pos_ = end_ = 0;
    consumed_ = 0;
}

void File_reader::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    pos_ = end_ = 0;
}

bool File_reader::refill()
{
    if (fd_ < 0)
        return false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw File_read_err_exception(path_);
        pos_ = 0;
        end_ = static_cast<std::size_t>(n);
        consumed_ += end_;
        return n > 0;
    }
}

std::size_t File_reader::read(void* out, std::size_t count)
{
    auto* dst = static_cast<std::uint8_t*>(out);
    std::size_t done = 0;
    while (done < count) {
        if (pos_ == end_ && !refill())
            break;
        const std::size_t n = std::min(count - done, end_ - pos_);
        std::memcpy(dst + done, buffer_.data() + pos_, n);
        pos_ += n;
        done += n;
    }
    return done;
}

File_writer::~File_writer() { abandon(); }

void File_writer::open(const Bcl_str& path)
{
    abandon();
    const std::string target = path.to_utf8();
    std::string temp = target + ".kx-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        throw File_open_err_exception(path);
    // A replaced file keeps its permissions; a new one gets the usual 0666 & ~umask.
    struct stat st{};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            ::close(fd);
            ::unlink(temp.c_str());
            throw File_open_err_exception(path);
        }
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    fd_ = fd;
    path_ = path;
    temp_path_ = std::move(temp);
    buffer_.resize(buffer_size);
    used_ = 0;
    flushed_ = 0;
    failed_ = false;
}

void File_writer::flush_buffer()
{
    std::size_t done = 0;
    while (done < used_ && !failed_) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, used_ - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            failed_ = true;
        else
            done += static_cast<std::size_t>(n);
    }
    flushed_ += used_;
    used_ = 0;
}

void File_writer::write(const void* data, std::size_t count)
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

void File_writer::commit()
{
    if (fd_ < 0)
        return;
    flush_buffer();
    bool ok = !failed_ && ::fsync(fd_) == 0;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    if (ok)
        ok = ::rename(temp_path_.c_str(), path_.to_utf8().c_str()) == 0;
    if (!ok) {
        ::unlink(temp_path_.c_str());
        temp_path_.clear();
        throw File_write_err_exception(path_);
    }
    temp_path_.clear();
}

void File_writer::abandon()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_path_.empty()) {
        ::unlink(temp_path_.c_str());
        temp_path_.clear();
    }
    used_ = 0;
}
