#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/bcl_str.h"

// Size of the file at `path`, or nothing when it cannot be obtained.
[[nodiscard]] std::optional<std::uint64_t> file_size(const Bcl_str& path);

// A buffered reader: reading one byte at a time costs no system call per byte.
// An I/O error while reading throws File_read_err_exception; the end of the file is
// not an error.
class File_reader {
public:
    File_reader() = default;
    ~File_reader();
    File_reader(const File_reader&) = delete;
    File_reader& operator=(const File_reader&) = delete;

    // Throws File_open_err_exception.
    void open(const Bcl_str& path);
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
    // Reads up to `count` bytes into `out`; returns how many were read.
    std::size_t read(void* out, std::size_t count);
    // Bytes read so far.
    [[nodiscard]] std::uint64_t offset() const { return consumed_ - (end_ - pos_); }

private:
    bool refill();

    int fd_ = -1;
    Bcl_str path_;
    std::vector<std::uint8_t> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::uint64_t consumed_ = 0;
};

// A buffered writer that replaces its target atomically: it writes a temporary file
// in the target's folder and renames it over the target only in commit(), after
// everything was written and flushed to disk. Destroying it without commit() removes
// the temporary file and leaves the target as it was.
class File_writer {
public:
    File_writer() = default;
    ~File_writer();
    File_writer(const File_writer&) = delete;
    File_writer& operator=(const File_writer&) = delete;

    // Throws File_open_err_exception when the temporary file cannot be created.
    void open(const Bcl_str& path);
    // Throws File_write_err_exception; the target is then unchanged.
    void commit();
    void abandon();
    [[nodiscard]] bool is_open() const { return fd_ >= 0; }

    void put(std::uint8_t byte)
    {
        if (used_ == buffer_.size())
            flush_buffer();
        buffer_[used_++] = byte;
    }
    void write(const void* data, std::size_t count);
    [[nodiscard]] std::uint64_t offset() const { return flushed_ + used_; }

private:
    void flush_buffer();

    int fd_ = -1;
    Bcl_str path_;
    std::string temp_path_;
    std::vector<std::uint8_t> buffer_;
    std::size_t used_ = 0;
    std::uint64_t flushed_ = 0;
    bool failed_ = false;
};
