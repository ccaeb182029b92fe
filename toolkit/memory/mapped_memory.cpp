#include "toolkit/memory/mapped_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace mapped_memory {

char* map(std::size_t bytes, std::size_t alignment, bool huge)
{
    // A larger mapping, trimmed to the aligned part.
    void* raw = ::mmap(nullptr, bytes + alignment, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + alignment - 1) & ~(std::uintptr_t(alignment) - 1);
    if (aligned > start)
        ::munmap(raw, aligned - start);
    ::munmap(reinterpret_cast<void*>(aligned + bytes), start + alignment - aligned);
#ifdef MADV_HUGEPAGE
    if (huge)
        ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
#else
    (void)huge;
#endif
    return reinterpret_cast<char*>(aligned);
}

void populate(char* start, std::size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    ::madvise(start, bytes, MADV_POPULATE_WRITE);
#else
    (void)start;
    (void)bytes;
#endif
}

void unmap(char* start, std::size_t bytes)
{
    if (start)
        ::munmap(start, bytes);
}

namespace {

// Runs `each` over [start, start + bytes) a piece at a time, telling `done` after each.
template <typename Each>
void by_pieces(char* start, std::size_t bytes, const Piece_done& done, Each each)
{
    for (std::size_t offset = 0; offset < bytes;) {
        const std::size_t n = std::min(piece_bytes, bytes - offset);
        each(start + offset, n);
        offset += n;
        if (done)
            done(offset);
    }
}

} // namespace

void populate(char* start, std::size_t bytes, const Piece_done& done)
{
    by_pieces(start, bytes, done, [](char* piece, std::size_t n) { populate(piece, n); });
}

void unmap(char* start, std::size_t bytes, const Piece_done& done)
{
    if (start)
        by_pieces(start, bytes, done, [](char* piece, std::size_t n) { ::munmap(piece, n); });
}

Buffer::Buffer(std::size_t size, bool fault_in)
    : size_(size), mapped_((size + huge_page_bytes - 1) / huge_page_bytes * huge_page_bytes),
      data_(mapped_ ? map(mapped_, huge_page_bytes, true) : nullptr)
{
    if (fault_in)
        populate(data_, mapped_);
}

Buffer::~Buffer() { unmap(data_, mapped_); }

} // namespace mapped_memory
