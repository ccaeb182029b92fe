#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "toolkit/files/direct_io.h"
#include "toolkit/files/file_path.h"
#include "toolkit/memory/small_copy.h"

class Block_writer;

// A buffered writer that changes only the file the user named, and that file only
// once everything was written: the new contents first go somewhere else, and
// commit() puts them in place. How depends on what the path names:
//
//  - A regular file (a symbolic link is followed to the file it names) is replaced:
//    the contents go to a temporary file in the same folder, which takes the old
//    file's owner, group and mode and is renamed over it. Its name is short, so
//    target names up to the file system's limit work.
//  - When renaming would change what the user did not ask to change (the file has
//    other hard links, extended attributes such as an access control list, an owner
//    or group the new file cannot be given), or cannot be done (the folder is not
//    writable), the file is written in place instead: the contents go to an unnamed
//    scratch file, then commit() secures a copy of the old contents, copies the new
//    ones over the file and puts the old ones back should that fail.
//  - A new file is created the same way as a replacement (mode 0666 less the umask).
//  - Something that is not a regular file (a FIFO, a terminal, /dev/stdout, a
//    device) is written directly, as a shell redirection would.
//
// A file the user may not write is refused, as is a folder. Every write failure
// throws at once, and the target then holds what it held before (except the direct
// case, where written bytes cannot be taken back). A temporary file is removed when
// the writer is destroyed without commit() and when SIGINT, SIGTERM or SIGHUP ends
// the program (see interrupt_cleanup).
//
// A temporary or scratch file is written with direct I/O where its file system takes
// it (see direct_io.h), a large buffer's whole blocks at a time, on a thread of its
// own while the caller fills the next buffer; the last partial block goes the usual
// way at commit(). A write that fails on that thread throws at the next write out of
// the buffer or at commit().
class File_writer {
public:
    // A save starts with a small buffer; for a regular file each buffer handed to
    // the writing thread makes the next one twice as large, up to the largest: no
    // thread nor large buffer for a small file, and few and large direct writes for
    // a large one. While the disk is slower than the caller, the caller waits for
    // the thread at every buffer it hands over, and each wait was measured to cost
    // it far more processor time than the wait's own work (most likely its caches
    // are cold after it; more so in a virtual machine): with 4 MiB buffers, a
    // 1.9 GB report took about a quarter more processor time than with 32 MiB ones.
    static constexpr std::size_t first_buffer = std::size_t{1} << 16;
    static constexpr std::size_t largest_buffer = std::size_t{1} << 25;

    File_writer();
    ~File_writer();
    File_writer(const File_writer&) = delete;
    File_writer& operator=(const File_writer&) = delete;

    // Throws File_open_err_exception when the target cannot be written.
    void open(const File_path& path);
    // Writes to the program's standard output as it stands, directly; `name` is the
    // path messages show.
    void open_standard_output(const File_path& name);
    // Throws File_write_err_exception, Stream_write_err_exception (direct writing)
    // or Restore_err_exception (see in_place.h).
    void commit();
    // Drops what was written; the target stays as it was.
    void abandon();
    [[nodiscard]] bool is_open() const { return fd_ >= 0; }
    // For tests, before open(): the block direct writes are aligned to, in place of
    // the file system's; 0 writes the usual way. Writes the file system refuses
    // continue the usual way from where that happens.
    static constexpr std::size_t file_system_block = ~std::size_t{0};
    void set_direct_block(std::size_t block) { direct_block_ = block; }

    // Each throws as put() does when the buffer cannot be written out.
    void put(std::uint8_t byte)
    {
        if (used_ == buffer_.size())
            flush_buffer();
        buffer_.data()[used_++] = static_cast<char>(byte);
    }
    void write(const void* data, std::size_t count)
    {
        if (count <= buffer_.size() - used_) {
            // The common case, a line that fits: one copy, mostly without a call.
            copy_small(buffer_.data() + used_, data, count);
            used_ += count;
            return;
        }
        write_through(data, count);
    }
    // For a writer that builds its next bytes in place, after the written ones (a
    // text line, without copying it): the room from there to the buffer's end.
    // place() makes room for `count` more bytes after `placed` bytes already built
    // there, writing out what precedes them or growing the buffer, and returns the
    // room again, the built bytes still at its start; take() counts `count` built
    // bytes as written.
    [[nodiscard]] std::span<char> room() { return {buffer_.data() + used_, buffer_.size() - used_}; }
    std::span<char> place(std::size_t placed, std::size_t count)
    {
        if (placed + count <= buffer_.size() - used_)
            return room();
        return place_elsewhere(placed, count);
    }
    void take(std::size_t count) { used_ += count; }

    [[nodiscard]] std::uint64_t offset() const { return flushed_ + used_; }
    [[nodiscard]] const File_path& path() const { return path_; }

private:
    enum class Mode { replace, in_place, direct };

    void start(const File_path& path, Mode mode, int fd);
    void open_existing(const File_path& path);
    void open_new(const File_path& path);
    bool try_replace(const std::string& final_path, int target_fd);
    void take_temporary(int fd, std::string name, const std::string& final_path);
    void flush_buffer() { write_out(0); }
    void write_out(std::size_t kept);
    void finish_writing();
    void write_through(const void* data, std::size_t count);
    std::span<char> place_elsewhere(std::size_t placed, std::size_t count);
    [[noreturn]] void fail();
    void commit_replace();
    void close_descriptors();

    Mode mode_ = Mode::replace;
    int fd_ = -1;              // where the bytes go: temporary, scratch or the target
    bool owns_fd_ = true;      // false for standard output
    int target_fd_ = -1;       // in place: the target, open for reading and writing
    File_path path_;           // as the user named it, for messages
    std::string final_path_;   // replace: the name the temporary file takes
    std::string temp_path_;    // replace: the temporary file
    std::string scratch_folder_;  // in place: where the old contents' copy goes
    int cleanup_ticket_ = -1;
    Aligned_buffer buffer_;    // being filled
    Aligned_buffer spare_;     // the one blocks_ may be writing from
    std::unique_ptr<Block_writer> blocks_;  // a regular file's writes, on a thread
    std::size_t block_ = 1;    // what goes to blocks_ is whole blocks
    std::size_t direct_block_ = file_system_block;
    std::size_t used_ = 0;
    std::uint64_t flushed_ = 0;
};
