#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/progress.h"

// Records what the logic reports, installed for the lifetime of the object.
class Recording_reporter : public Progress_reporter {
public:
    Recording_reporter() { set_reporter(this); }
    ~Recording_reporter() override { set_reporter(nullptr); }

    void set_text(const Bcl_str& text) override { texts.push_back(text.to_utf8()); }

    std::vector<std::string> texts;        // every status text, in order (UTF-8)
    std::vector<std::uint64_t> begins;     // totals given to begin_progress
    std::vector<int> percents;             // every percentage shown
    int ends = 0;

protected:
    void on_begin(std::uint64_t total) override { begins.push_back(total); }
    void on_percent(int percent) override { percents.push_back(percent); }
    void on_end() override { ++ends; }
};
