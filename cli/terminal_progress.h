#pragma once

#include <cstdio>
#include <string>

#include "toolkit/progress.h"

// The progress reporter of the command line: the status text and a bar drawn on one
// line of a terminal, redrawn when the whole percentage changes and erased at the
// end. Installed only when that stream is a terminal; nothing is written otherwise.
class Terminal_progress final : public Progress_reporter {
public:
    explicit Terminal_progress(std::FILE* terminal) : terminal_(terminal) {}
    ~Terminal_progress() override { erase(); }
    Terminal_progress(const Terminal_progress&) = delete;
    Terminal_progress& operator=(const Terminal_progress&) = delete;

    void set_text(const Bcl_str& text) override;

protected:
    void on_begin(std::uint64_t total) override;
    void on_percent(int percent) override;
    void on_end() override;

private:
    void draw(int percent);
    void erase();

    std::FILE* terminal_;
    std::string text_;  // UTF-8
    bool drawn_ = false;
};
