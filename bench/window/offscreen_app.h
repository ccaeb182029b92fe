#pragma once

// The application of a window benchmark: on Qt's offscreen platform unless another
// is chosen, with a command line of its own name alone.
#include <cstdlib>
#include <memory>
#include <string>

#include "toolkit/gui/bcl_app.h"

class Offscreen_app {
public:
    explicit Offscreen_app(const char* name) : name_(name)
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app_ = std::make_unique<Bcl_app>(argc_, argv_);
    }
    Offscreen_app(const Offscreen_app&) = delete;
    Offscreen_app& operator=(const Offscreen_app&) = delete;

private:
    // The application keeps these for its lifetime.
    std::string name_;
    int argc_ = 1;
    char* argv_[2] = {name_.data(), nullptr};
    std::unique_ptr<Bcl_app> app_;
};
