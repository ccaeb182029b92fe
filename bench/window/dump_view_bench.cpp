// Times the dump view's whole redraw (the lines read from the document and drawn
// into the back buffer) for one screen at the start, in the middle and at the end
// of a large data file, and a page scroll at each place. The cost must not grow with
// the position or the file size. Runs on Qt's offscreen platform unless another is
// chosen.
// Usage: dump_view_bench [MiB]   (default 1024; 0 MiB is not allowed)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/data_mgr.h"
#include "random_file.h"
#include "toolkit/gui/bcl_sdi.h"
#include "ui/dump_wnd.h"
#include "window/offscreen_app.h"

namespace {

constexpr int repeats = 20;

template <typename Step>
double mean_seconds(Step step)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i)
        step(i);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / repeats;
}

// A redraw with the top line at `line`, and a page down from there (each repeat
// starts from `line` again).
void measure(Dump_wnd& dump, const char* place, std::uint32_t line)
{
    const std::int64_t v = std::int64_t{line} * Dump_layout::line_height / dump.layout().vertical_unit();
    dump.scroll_to(0, v);
    const double redraw = mean_seconds([&](int) { dump.redraw(); });
    const double page = mean_seconds([&](int i) {
        dump.scroll_to(0, v + (i % 2 == 0 ? dump.layout().vertical_page(dump.client_height()) : 0));
    });
    std::printf("%-8s line %10u   redraw %8.3f ms   page scroll %8.3f ms\n", place, line, redraw * 1e3, page * 1e3);
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1024;
    if (mib == 0 || mib > 4095) {
        std::fprintf(stderr, "usage: dump_view_bench [MiB from 1 to 4095]\n");
        return 2;
    }
    const Offscreen_app app("dump_view_bench");

    const std::string path = "/tmp/kestrix-dump-view-bench.bin";
    // Random bytes: about a quarter of them are Shift-JIS lead bytes.
    write_random_file(path, mib << 20, 1);
    Data_mgr& doc = Data_mgr::instance();
    const auto load_start = std::chrono::steady_clock::now();
    doc.load_data(File_path(path));
    std::remove(path.c_str());
    const double load = std::chrono::duration<double>(std::chrono::steady_clock::now() - load_start).count();

    Bcl_sdi frame;
    frame.create("DumpBenchWnd");
    Dump_wnd dump(doc);
    dump.create(frame);
    // 65 lines of 16 pixels, as on a tall screen.
    dump.show();
    dump.move(0, 0, 640, 1044);
    dump.refresh_range();
    dump.set_highlight(doc.node_at(100), doc.node_at(200));

    const std::uint32_t lines = dump.layout().data_lines();
    const std::uint32_t screen = static_cast<std::uint32_t>(dump.client_height() / Dump_layout::line_height);
    const std::uint32_t block_lines = Data_mgr::skip_block / Dump_layout::bytes_per_line;
    std::printf("data %zu MiB (%u lines, loaded in %.1f s), client %d x %d (%u lines), vertical unit %d px\n", mib,
                lines, load, dump.client_width(), dump.client_height(), screen, dump.layout().vertical_unit());
    measure(dump, "start", 0);
    measure(dump, "middle", lines / 2);
    // The last line of a skip block: the whole block is walked to reach it.
    measure(dump, "block", (lines / block_lines / 2 + 1) * block_lines - 1);
    measure(dump, "end", lines > 2 * screen ? lines - 2 * screen : 0);
    doc.new_data();
    return 0;
}
