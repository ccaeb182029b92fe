#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "toolkit/gui/bcl_wnd.h"
#include "toolkit/progress.h"

class Bcl_sdi;

// The status bar (id 3001) with its progress bar (id 100, 0 to 100): the status text
// in the first part, a quarter of the window wide, the progress bar in the second.
// It is the program's progress reporter while it exists.
//
// The progress bar shows only while an operation runs, that is while a status text
// is shown or the progress is armed: with a total it fills as the work goes, without
// one (a step whose size is not known) it is a busy bar.
//
// Long operations run on the window's thread. Whenever the status text or the
// percentage changes during one, and at a tick at least redraw_interval after the
// last redraw, the window is allowed to repaint: pending events are processed with
// all user input (keys, mouse, shortcuts, drops, the close box) thrown away, and the
// program's own handlers deferred until the operation is over, so nothing can enter
// the document half-way. Only a stop gets through: while an operation runs, a
// button "中止" at the progress bar's right end, or Escape, asks for it (see
// Progress_reporter::request_stop), and a stopped operation leaves the note
// "中止しました。" in the progress bar's place.
class Bcl_statusbar : public Bcl_wnd, public Progress_reporter {
public:
    static constexpr std::chrono::milliseconds redraw_interval{50};

    ~Bcl_statusbar() override;
    void create(Bcl_sdi& owner);

    void set_text(const Bcl_str& text) override;
    // A text shown in the status text's place while no operation's text is (the
    // place of the caret): an operation's text replaces it and it comes back when the
    // operation ends. It starts no progress bar nor wait cursor. UTF-8.
    void set_resting_text(const std::string& text);

protected:
    void on_begin(std::uint64_t total) override;
    void on_percent(int percent) override;
    void on_end() override;
    void on_tick() override;
    // Says "中止しました。" in the progress bar's place.
    void on_stopped() override;

private:
    void set_progress(int percent);
    void show_progress();
    void repaint();
    bool wait_cursor_ = false;
    bool text_shown_ = false;
    std::string resting_text_;
    std::chrono::steady_clock::time_point last_redraw_{};
};
