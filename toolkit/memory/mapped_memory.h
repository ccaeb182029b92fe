#pragma once

#include <cstddef>
#include <functional>

// Anonymous memory straight from the system for large bulk data (the data's nodes,
// a file read whole), where a page fault per 4 KiB page costs more than the work on
// the page: mapped aligned, in transparent huge pages where the system has them,
// and faulted in at once.
namespace mapped_memory {

// Transparent huge pages come in 2 MiB, aligned to their size.
inline constexpr std::size_t huge_page_bytes = std::size_t(2) << 20;

// Maps `bytes` (a multiple of `alignment`, a power of two of at least a page)
// aligned to `alignment`. With `huge`, advises huge pages (the mapping should then
// be aligned to huge_page_bytes). Throws std::bad_alloc when the system refuses.
[[nodiscard]] char* map(std::size_t bytes, std::size_t alignment, bool huge);
// Faults the pages in at once rather than one trap per page. Older kernels refuse
// the advice, and the pages then come one by one as they are written.
void populate(char* start, std::size_t bytes);
void unmap(char* start, std::size_t bytes);

// The same, a piece of `piece_bytes` at a time, telling `done` the bytes handled
// after each piece: faulting in or handing back many gigabytes takes seconds, and
// the user should see it move.
inline constexpr std::size_t piece_bytes = std::size_t(16) << 20;
using Piece_done = std::function<void(std::size_t done)>;
void populate(char* start, std::size_t bytes, const Piece_done& done);
void unmap(char* start, std::size_t bytes, const Piece_done& done);

// A buffer of `size` bytes, left as the system gives them (zero), in huge pages.
// Faulted in at once, unless `fault_in` is false: the owner then populates it a
// piece at a time as it fills it.
class Buffer {
public:
    explicit Buffer(std::size_t size, bool fault_in = true);
    ~Buffer();
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    [[nodiscard]] char* data() const { return data_; }
    [[nodiscard]] std::size_t size() const { return size_; }

private:
    std::size_t size_;
    std::size_t mapped_;
    char* data_;
};

} // namespace mapped_memory
