#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

// Writing a regular file with direct I/O (O_DIRECT): the kernel takes the bytes
// straight from our memory instead of copying them into its page cache first, which
// for a large file is most of the processor time writing takes. Each write must
// start at a multiple of the file system's block in the file and in memory and be
// whole blocks long; a file system that cannot do that refuses the write (EINVAL),
// and the file is then written the usual way from there on.

// Turns direct I/O on for `fd` when its file system takes it; the block every
// direct write must be aligned to and a multiple of, or 0 when it stays off.
// `block`, when not 0, is taken in place of what the file system asks (for tests).
[[nodiscard]] std::size_t start_direct_io(int fd, std::size_t block = 0);

// Turns direct I/O off for `fd`; false when it cannot be.
[[nodiscard]] bool stop_direct_io(int fd);

// Writes all `size` bytes at the file's current offset; false when a write fails.
// When a direct write is refused, direct I/O is turned off and the same bytes are
// written again the usual way.
[[nodiscard]] bool write_all(int fd, const char* data, std::size_t size);

// Memory aligned to a block (at least a page), as direct writes need it; its size is
// a multiple of that alignment.
class Aligned_buffer {
public:
    [[nodiscard]] char* data() const { return data_.get(); }
    [[nodiscard]] std::size_t size() const { return size_; }
    // Makes the buffer at least `size` bytes long (rounded up to the alignment), keeping its
    // first `kept` bytes. Throws std::bad_alloc.
    void grow(std::size_t size, std::size_t block, std::size_t kept);

private:
    struct Free {
        void operator()(char* memory) const { std::free(memory); }
    };
    std::unique_ptr<char, Free> data_;
    std::size_t size_ = 0;
};
