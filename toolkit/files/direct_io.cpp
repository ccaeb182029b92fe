#include "toolkit/files/direct_io.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

// The block assumed when the system does not say: the page, which every file system
// taking direct I/O accepts.
constexpr std::size_t page_block = 4096;
// Buffers of this size and more go on huge pages where the system gives them: the
// kernel pins a direct write's memory page by page, as many small pages as there are,
// and each small page costs the processor a translation.
constexpr std::size_t huge_page = std::size_t{2} << 20;

// The alignment the file system asks of direct writes to `fd`: 0 when it says it
// takes none, the page when it does not say.
std::size_t direct_block_of(int fd)
{
    struct statx status{};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_DIOALIGN, &status) != 0 || !(status.stx_mask & STATX_DIOALIGN))
        return page_block;
    if (status.stx_dio_offset_align == 0 || status.stx_dio_mem_align == 0)
        return 0;
    return std::max<std::size_t>({page_block, status.stx_dio_offset_align, status.stx_dio_mem_align});
}

bool set_status_flags(int fd, int on, int off)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, (flags | on) & ~off) == 0;
}

bool is_direct(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_DIRECT);
}

} // namespace

std::size_t start_direct_io(int fd, std::size_t block)
{
    if (block == 0)
        block = direct_block_of(fd);
    return block != 0 && set_status_flags(fd, O_DIRECT, 0) ? block : 0;
}

bool stop_direct_io(int fd) { return set_status_flags(fd, 0, O_DIRECT); }

bool write_all(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        // A refused direct write wrote nothing: the same bytes go again through the
        // page cache.
        if (n < 0 && errno == EINVAL && is_direct(fd) && stop_direct_io(fd))
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void Aligned_buffer::grow(std::size_t size, std::size_t block, std::size_t kept)
{
    if (size <= size_)
        return;
    const std::size_t alignment = std::max({block, page_block, size >= huge_page ? huge_page : 0});
    const std::size_t rounded = (size + alignment - 1) / alignment * alignment;
    std::unique_ptr<char, Free> larger(static_cast<char*>(std::aligned_alloc(alignment, rounded)));
    if (!larger)
        throw std::bad_alloc();
    // Only advice: without huge pages the buffer works the same.
    if (alignment % huge_page == 0)
        ::madvise(larger.get(), rounded, MADV_HUGEPAGE);
    if (kept > 0)
        std::memcpy(larger.get(), data_.get(), kept);
    data_ = std::move(larger);
    size_ = rounded;
}
