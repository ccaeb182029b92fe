#include "toolkit/progress.h"

#include "toolkit/exception.h"

void Progress_reporter::begin_progress(std::uint64_t total)
{
    total_ = total;
    if (total == 0) {
        low_ = 0;
        high_ = UINT64_MAX;
        return;
    }
    low_ = 0;
    high_ = (total + 99) / 100;
    on_begin(total);
}

void Progress_reporter::advance(std::uint64_t done)
{
    if (total_ == 0)
        return;
    // Percentages above 100 (a position past the announced total) stay at 100.
    const std::uint64_t percent = done >= total_ ? 100 : done * 100 / total_;
    low_ = (percent * total_ + 99) / 100;
    high_ = percent == 100 ? UINT64_MAX : ((percent + 1) * total_ + 99) / 100;
    on_percent(static_cast<int>(percent));
}

void Progress_reporter::end_progress()
{
    const bool was_armed = total_ != 0;
    total_ = 0;
    low_ = 0;
    high_ = UINT64_MAX;
    if (was_armed)
        on_end();
}

void Progress_reporter::leave()
{
    stopped_ = true;
    throw Operation_stopped();
}

void Progress_reporter::begin_operation()
{
    stop_requested_ = false;
    stopped_ = false;
}

void Progress_reporter::end_operation()
{
    const bool was_stopped = stopped_;
    begin_operation();
    if (was_stopped)
        on_stopped();
}

namespace {
Null_reporter null_reporter;
Progress_reporter* current = &null_reporter;
} // namespace

Progress_reporter& reporter() { return *current; }

void set_reporter(Progress_reporter* r) { current = r ? r : &null_reporter; }
