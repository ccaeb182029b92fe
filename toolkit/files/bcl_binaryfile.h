#pragma once

#include <cstdint>

#include "toolkit/text/bcl_str.h"
#include "toolkit/files/file_io.h"
#include "toolkit/files/file_path.h"

// A file opened for binary reading or writing, a byte, a big-endian unsigned integer
// of 1 to 4 bytes or a length-prefixed string at a time. Reads return false at the
// end of the file. Written contents take the target's place on close() (see
// File_writer); a file opened for writing and destroyed without close() leaves the
// target untouched.
class Bcl_binaryfile {
public:
    // Throw File_open_err_exception.
    void open_read(const File_path& path);
    void open_write(const File_path& path);
    // For a written file: commits it, throwing as File_writer::commit() does.
    void close();

    bool read_byte(std::uint8_t& byte) { return reader_.get(byte); }
    // See File_reader::take().
    const std::uint8_t* take(std::size_t count) { return reader_.take(count); }
    // See File_reader::peek().
    [[nodiscard]] const std::uint8_t* peek(std::size_t count) const { return reader_.peek(count); }
    // Up to `count` bytes into `out`; returns how many were read (fewer only at the end).
    std::size_t read(void* out, std::size_t count) { return reader_.read(out, count); }
    // Big-endian, `width` from 1 to 4.
    bool read_uint(int width, std::uint32_t& value);
    // A length prefix of `width` bytes (big-endian), then that many bytes. Memory
    // grows only with the bytes actually present, whatever the prefix claims; false
    // when the file ends first (`text` then holds what was there).
    bool read_str(int width, Bcl_str& text);

    void write_byte(std::uint8_t byte) { writer_.put(byte); }
    void write_uint(int width, std::uint32_t value);
    // The caller checks that the length fits in `width` bytes.
    void write_str(int width, const Bcl_str& text);

    [[nodiscard]] std::uint64_t offset() const { return reader_.is_open() ? reader_.offset() : writer_.offset(); }
    // A file opened for reading: its size when it was opened.
    [[nodiscard]] std::uint64_t size() const { return reader_.size(); }
    [[nodiscard]] const File_path& path() const { return path_; }

private:
    File_path path_;
    File_reader reader_;
    File_writer writer_;
};
