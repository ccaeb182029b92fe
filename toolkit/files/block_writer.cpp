#include "toolkit/files/block_writer.h"

#include <pthread.h>

#include <csignal>
#include <system_error>

#include "toolkit/files/direct_io.h"

Block_writer::~Block_writer()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool Block_writer::hand_over(const char* data, std::size_t size)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    if (failed_)
        return false;
    if (!thread_.joinable() && !start_thread()) {
        // No thread to be had: the block is written here and now.
        failed_ = !write_all(fd_, data, size);
        return !failed_;
    }
    data_ = data;
    size_ = size;
    busy_ = true;
    lock.unlock();
    changed_.notify_all();
    return true;
}

bool Block_writer::finish()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    return !failed_;
}

bool Block_writer::start_thread()
{
    // The new thread inherits the signal mask: every signal blocked.
    sigset_t all{};
    sigset_t old{};
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &old);
    bool started = true;
    try {
        thread_ = std::thread(&Block_writer::run, this);
    } catch (const std::system_error&) {
        started = false;
    }
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return started;
}

void Block_writer::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (stopping_)
            return;
        const char* data = data_;
        const std::size_t size = size_;
        lock.unlock();
        const bool written = write_all(fd_, data, size);
        lock.lock();
        failed_ = failed_ || !written;
        busy_ = false;
        changed_.notify_all();
    }
}
