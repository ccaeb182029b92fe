#include "toolkit/files/in_place.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "toolkit/exception.h"
#include "toolkit/files/interrupt_cleanup.h"
#include "toolkit/files/temp_files.h"

namespace {

// Copies `count` bytes from offset 0 of `from` to offset 0 of `to`; false on an error
// or when `from` ends early.
bool copy_contents(int from, int to, std::uint64_t count)
{
    std::vector<char> buffer(1 << 20);
    std::uint64_t done = 0;
    while (done < count) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), count - done));
        const ssize_t got = ::pread(from, buffer.data(), want, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        std::size_t written = 0;
        while (written < static_cast<std::size_t>(got)) {
            const ssize_t n = ::pwrite(to, buffer.data() + written, static_cast<std::size_t>(got) - written,
                                       static_cast<off_t>(done + written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            written += static_cast<std::size_t>(n);
        }
        done += written;
    }
    return true;
}

// Makes `target` hold exactly the first `size` bytes of `from`, on disk.
bool overwrite(int target, int from, std::uint64_t size)
{
    return copy_contents(from, target, size) && ::ftruncate(target, static_cast<off_t>(size)) == 0 &&
           ::fsync(target) == 0;
}

// A copy of the `size` bytes of `target` in a new named file; -1 when none could be made.
int secure_copy(int target, std::uint64_t size, const std::string& folder, std::string& name)
{
    for (const std::string& place : scratch_folders(folder)) {
        const int fd = create_temporary(place, name);
        if (fd < 0)
            continue;
        if (copy_contents(target, fd, size) && ::fsync(fd) == 0)
            return fd;
        ::close(fd);
        ::unlink(name.c_str());
    }
    return -1;
}

} // namespace

void replace_in_place(const File_path& name, int target, int source, std::uint64_t size,
                      const std::string& backup_folder)
{
    const interrupt_cleanup::Signals_held held;
    struct stat st{};
    if (::fstat(target, &st) != 0)
        throw File_write_err_exception(name);
    const auto old_size = static_cast<std::uint64_t>(st.st_size);
    std::string copy_name;
    const int copy = secure_copy(target, old_size, backup_folder, copy_name);
    if (copy < 0)
        throw File_write_err_exception(name);
    const bool written = overwrite(target, source, size);
    const bool restored = written || overwrite(target, copy, old_size);
    ::close(copy);
    if (!restored)
        throw Restore_err_exception(name, File_path(copy_name));
    ::unlink(copy_name.c_str());
    if (!written)
        throw File_write_err_exception(name);
}
