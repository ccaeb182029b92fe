#pragma once

#include <functional>
#include <memory>

// A repeating timer of the window's thread. Ticks that fall inside a long operation
// are dropped.
class Bcl_timer {
public:
    Bcl_timer();
    ~Bcl_timer();
    Bcl_timer(const Bcl_timer&) = delete;
    Bcl_timer& operator=(const Bcl_timer&) = delete;

    void start(int period_ms, std::function<void()> tick);
    void stop();
    [[nodiscard]] bool active() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
