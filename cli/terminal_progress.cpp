#include "cli/terminal_progress.h"

namespace {

constexpr int bar_width = 30;

} // namespace

void Terminal_progress::set_text(const Bcl_str& text) { text_ = text.to_utf8(); }

void Terminal_progress::on_begin(std::uint64_t) { draw(0); }

void Terminal_progress::on_percent(int percent) { draw(percent); }

void Terminal_progress::on_end() { erase(); }

void Terminal_progress::draw(int percent)
{
    char bar[bar_width + 1];
    const int filled = percent * bar_width / 100;
    for (int i = 0; i < bar_width; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[bar_width] = '\0';
    // "\r" returns to the start of the line; "\033[K" erases what a longer earlier
    // text left to the right.
    std::fprintf(terminal_, "\r%s [%s] %3d%%\033[K", text_.c_str(), bar, percent);
    std::fflush(terminal_);
    drawn_ = true;
}

void Terminal_progress::erase()
{
    if (!drawn_)
        return;
    std::fputs("\r\033[K", terminal_);
    std::fflush(terminal_);
    drawn_ = false;
}
