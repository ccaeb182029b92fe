#include "toolkit/files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "toolkit/exception.h"

namespace {

constexpr std::size_t buffer_size = 1 << 16;

std::optional<File_identity> identity_from(const struct stat& st) { return File_identity{st.st_dev, st.st_ino}; }

} // namespace

std::optional<std::uint64_t> file_size(const File_path& path)
{
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

std::optional<File_identity> identity_of(const File_path& path)
{
    struct stat st{};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return identity_from(st);
}

std::optional<File_identity> identity_of(int descriptor)
{
    struct stat st{};
    if (::fstat(descriptor, &st) != 0)
        return std::nullopt;
    return identity_from(st);
}

void refuse_same_file(const File_path& output, std::optional<File_identity> output_identity, const File_path& input)
{
    if (output_identity && output_identity == identity_of(input))
        throw Same_file_exception(output);
}

void refuse_same_file(const File_path& output, const File_path& input)
{
    refuse_same_file(output, identity_of(output), input);
}

File_reader::~File_reader() { close(); }

void File_reader::open(const File_path& path)
{
    close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
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
    size_ = static_cast<std::uint64_t>(st.st_size);
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

std::string read_whole_file(const File_path& path)
{
    File_reader file;
    file.open(path);
    std::string bytes;
    char chunk[buffer_size];
    while (const std::size_t n = file.read(chunk, sizeof chunk))
        bytes.append(chunk, n);
    return bytes;
}
