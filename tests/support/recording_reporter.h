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

    void set_text(const Bcl_str& text) override
    {
        texts.push_back(text.to_utf8());
        if (!texts.back().empty())
            events.push_back(texts.back());
    }

    std::vector<std::string> texts;        // every status text, in order (UTF-8)
    std::vector<std::uint64_t> begins;     // totals given to begin_progress
    std::vector<int> percents;             // every percentage shown
    int ends = 0;
    int ticks = 0;
    // The texts that are not empty and the percentages, in the order they came.
    std::vector<std::string> events;

protected:
    void on_begin(std::uint64_t total) override { begins.push_back(total); }
    void on_percent(int percent) override
    {
        percents.push_back(percent);
        events.push_back(std::to_string(percent));
    }
    void on_end() override { ++ends; }
    void on_tick() override { ++ticks; }
};
