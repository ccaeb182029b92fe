#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

// Writes blocks of bytes to a file on a thread of its own (see write_all), so that
// the caller fills its next block while the last one goes to the disk: a direct
// write returns only once the disk has the bytes. The thread starts with the first
// block; its signals are blocked, so that the terminating ones reach the caller's
// thread, which holds them back while a file is put in place.
class Block_writer {
public:
    // `fd` stays the caller's and must stay open while the writer exists.
    explicit Block_writer(int fd) : fd_(fd) {}
    // Lets the write under way end, drops one not yet begun, and ends the thread.
    ~Block_writer();
    Block_writer(const Block_writer&) = delete;
    Block_writer& operator=(const Block_writer&) = delete;

    // Waits until the block handed over before is written, then starts writing
    // `size` bytes from `data`, which must stay as they are until the next
    // hand_over() or finish(). False, and nothing started, when a write failed.
    [[nodiscard]] bool hand_over(const char* data, std::size_t size);
    // Waits until every block handed over is written; false when a write failed.
    [[nodiscard]] bool finish();

private:
    void run();
    bool start_thread();

    int fd_;
    std::mutex mutex_;
    std::condition_variable changed_;
    const char* data_ = nullptr;  // the block to write while busy_
    std::size_t size_ = 0;
    bool busy_ = false;
    bool failed_ = false;
    bool stopping_ = false;
    std::thread thread_;
};
