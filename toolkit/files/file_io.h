#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/files/file_path.h"
#include "toolkit/files/file_writer.h"

// Size of the regular file at `path`, or nothing when it cannot be obtained or the
// path names something else (a folder, a pipe, a device).
[[nodiscard]] std::optional<std::uint64_t> file_size(const File_path& path);

// Which file a name or a descriptor leads to, symbolic links followed: two names
// with the same identity are one file (hard links, links, "/dev/stdout").
struct File_identity {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const File_identity&, const File_identity&) = default;
};
[[nodiscard]] std::optional<File_identity> identity_of(const File_path& path);
[[nodiscard]] std::optional<File_identity> identity_of(int descriptor);

// Throws Same_file_exception(output) when `output` is an existing file that is also
// the input `input` (or the file open as `input`): writing it would destroy what is
// being read.
void refuse_same_file(const File_path& output, const File_path& input);
void refuse_same_file(const File_path& output, std::optional<File_identity> output_identity, const File_path& input);

// A buffered reader: reading one byte at a time costs no system call per byte.
// An I/O error while reading throws File_read_err_exception; the end of the file is
// not an error.
class File_reader {
public:
    File_reader() = default;
    ~File_reader();
    File_reader(const File_reader&) = delete;
    File_reader& operator=(const File_reader&) = delete;

    // Throws File_open_err_exception, also for a folder.
    void open(const File_path& path);
    void close();
    [[nodiscard]] bool is_open() const { return fd_ >= 0; }

    // False at the end of the file.
    bool get(std::uint8_t& byte)
    {
        if (pos_ == end_ && !refill())
            return false;
        byte = buffer_[pos_++];
        return true;
    }
    // The next `count` bytes, consumed, where they lie in the buffer when it holds
    // them all; nullptr (nothing consumed) when it does not: read() them then.
    // Saves a copy of the few bytes of a value.
    const std::uint8_t* take(std::size_t count)
    {
        if (count > end_ - pos_)
            return nullptr;
        const std::uint8_t* const bytes = buffer_.data() + pos_;
        pos_ += count;
        return bytes;
    }
    // The next `count` bytes where they lie in the buffer, not consumed; nullptr
    // when the buffer does not hold them all.
    [[nodiscard]] const std::uint8_t* peek(std::size_t count) const
    {
        return count > end_ - pos_ ? nullptr : buffer_.data() + pos_;
    }
    // Reads up to `count` bytes into `out`; returns how many were read.
    std::size_t read(void* out, std::size_t count);
    // Bytes read so far.
    [[nodiscard]] std::uint64_t offset() const { return consumed_ - (end_ - pos_); }
    // The file's size when it was opened.
    [[nodiscard]] std::uint64_t size() const { return size_; }

private:
    bool refill();

    int fd_ = -1;
    File_path path_;
    std::vector<std::uint8_t> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::uint64_t consumed_ = 0;
    std::uint64_t size_ = 0;
};

// The whole file at `path` (the command line reads its JSON this way). Throws
// File_open_err_exception and File_read_err_exception.
[[nodiscard]] std::string read_whole_file(const File_path& path);
