#pragma once

#include <sys/resource.h>

#include <csignal>

// Sets the file size limit for the lifetime of the object; SIGXFSZ is ignored as
// every save makes it.
class File_size_limit {
public:
    explicit File_size_limit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        struct rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~File_size_limit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }
    File_size_limit(const File_size_limit&) = delete;
    File_size_limit& operator=(const File_size_limit&) = delete;

private:
    struct rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};
