#pragma once

#include <atomic>
#include <cstdint>

#include "toolkit/text/bcl_str.h"

// What a long operation does to the document, for what the window may let the user
// do while it repaints: a find only reads the data and walks the analysis aside.
enum class Operation_kind { changing, finding };

// The status and progress reporter: a status text and a progress bar with a total,
// advanced by positions and redrawn only when the whole percentage changes.
//
// step() is called per item and per byte block, so its common case (percentage
// unchanged) is two comparisons inline; only a change of percentage reaches the
// implementation through on_percent().
class Progress_reporter {
public:
    virtual ~Progress_reporter() = default;

    virtual void set_text(const Bcl_str& text) = 0;

    // Arms the bar when total is not 0; an unarmed bar ignores step().
    void begin_progress(std::uint64_t total);
    void step(std::uint64_t done)
    {
        if (done >= low_ && done < high_)
            return;
        advance(done);
    }
    void end_progress();
    // Said between steps during a long stretch whose percentage moves slowly (a large
    // mapping faulted in a piece at a time): cheap to call often, the reporter decides
    // when to redraw.
    void tick() { on_tick(); }

    // Stopping. The window asks for a stop while an operation runs (request_stop,
    // from a repaint in the middle of it, or from another thread); the logic reads
    // the request at points where it can leave cleanly, either by asking
    // (stop_requested) or by stop_point(), which throws Operation_stopped.
    //
    // An operation is one thing the user asked for (one handler of the window's),
    // bracketed by begin_operation() and end_operation(): the request lasts until the
    // operation ends, however many progresses it arms, so that a stop asked for at
    // the end of one step is honoured by the next step's first stop point.
    void request_stop() { stop_requested_ = true; }
    [[nodiscard]] bool stop_requested() const { return stop_requested_; }
    void stop_point()
    {
        if (stop_requested_)
            leave();
    }
    // Marks the operation as stopped without throwing: for logic that honours a
    // request it found through stop_requested().
    void note_stopped() { stopped_ = true; }
    void begin_operation();
    // Ends the operation; tells on_stopped() when it was stopped.
    void end_operation();
    // Whether the current operation was stopped (a stop point left it, or
    // note_stopped() said so).
    [[nodiscard]] bool stopped() const { return stopped_; }

    // What the operation that runs does (Operation_kind_scope says it).
    [[nodiscard]] Operation_kind operation_kind() const { return kind_; }
    void set_operation_kind(Operation_kind kind) { kind_ = kind; }

    [[nodiscard]] bool armed() const { return total_ != 0; }
    [[nodiscard]] std::uint64_t total() const { return total_; }

protected:
    virtual void on_begin(std::uint64_t total) = 0;
    virtual void on_percent(int percent) = 0;
    virtual void on_end() = 0;
    virtual void on_tick() {}
    // The operation that ends was stopped: the window says so.
    virtual void on_stopped() {}

private:
    void advance(std::uint64_t done);
    [[noreturn]] void leave();

    std::atomic<bool> stop_requested_ = false;
    bool stopped_ = false;
    Operation_kind kind_ = Operation_kind::changing;

    std::uint64_t total_ = 0;
    // Positions in [low_, high_) map to the percentage last shown.
    std::uint64_t low_ = 0;
    std::uint64_t high_ = UINT64_MAX;
};

// Does nothing: the reporter in force when nobody installed one.
class Null_reporter final : public Progress_reporter {
public:
    void set_text(const Bcl_str&) override {}

protected:
    void on_begin(std::uint64_t) override {}
    void on_percent(int) override {}
    void on_end() override {}
};

// The program-wide reporter the logic talks to.
Progress_reporter& reporter();
// Installs `r` (not owned) as the program-wide reporter; nullptr restores the
// do-nothing one.
void set_reporter(Progress_reporter* r);

// Sets a status text and arms the progress for the length of a scope; ends the
// progress and clears the text however the scope is left.
class Progress_scope {
public:
    Progress_scope(const Bcl_str& text, std::uint64_t total)
    {
        reporter().set_text(text);
        reporter().begin_progress(total);
    }
    ~Progress_scope()
    {
        reporter().end_progress();
        reporter().set_text(Bcl_str());
    }
    Progress_scope(const Progress_scope&) = delete;
    Progress_scope& operator=(const Progress_scope&) = delete;
};

// Tells the reporter what the operation does for the length of a scope.
class Operation_kind_scope {
public:
    explicit Operation_kind_scope(Operation_kind kind) : before_(reporter().operation_kind())
    {
        reporter().set_operation_kind(kind);
    }
    ~Operation_kind_scope() { reporter().set_operation_kind(before_); }
    Operation_kind_scope(const Operation_kind_scope&) = delete;
    Operation_kind_scope& operator=(const Operation_kind_scope&) = delete;

private:
    Operation_kind before_;
};
