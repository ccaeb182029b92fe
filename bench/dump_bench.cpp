// Times the dump view's line texts for one screen at the start, in the middle and
// at the end of a large data file, and at the worst place inside a skip block (its
// last line, reached by walking the whole block). The cost must not grow with the
// position or the file size.
// Usage: dump_bench [MiB]   (default 64)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/data_mgr.h"
#include "random_file.h"
#include "ui/core/dump_layout.h"
#include "ui/core/dump_lines.h"

namespace {

constexpr int client_height = 960;  // 60 lines on screen
constexpr int repeats = 50;

// Mean time in seconds of drawing the screen whose first line is `first_line`.
double screen_seconds(const Data_mgr& doc, const Dump_layout& layout, std::uint32_t first_line)
{
    const std::int32_t v = layout.clamp_vertical(std::int64_t{first_line} * 16 / layout.vertical_unit(), client_height);
    std::size_t cells = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) {
        const auto lines = dump_lines(doc, layout.first_line(v), layout.visible_lines(v, client_height),
                                      {true, first_line * 16, first_line * 16 + 100});
        cells += lines.size();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (cells == 0)
        std::printf("(nothing drawn)\n");
    return seconds / repeats;
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    const std::size_t size = mib << 20;
    const std::string path = "/tmp/kestrix-dump-bench.bin";
    // Random bytes: about a quarter of them are Shift-JIS lead bytes.
    write_random_file(path, size, 1);
    Data_mgr& doc = Data_mgr::instance();
    doc.load_data(File_path(path));
    const Dump_layout layout(doc.size());
    const std::uint32_t lines = layout.data_lines();
    const std::uint32_t block_lines = Data_mgr::skip_block / 16;

    std::printf("data size                          %zu MiB, %u lines\n", mib, lines);
    std::printf("screen at the start                %.6f s\n", screen_seconds(doc, layout, 0));
    std::printf("screen in the middle               %.6f s\n", screen_seconds(doc, layout, lines / 2));
    std::printf("screen at the end                  %.6f s\n", screen_seconds(doc, layout, lines - 60));
    std::printf("screen at a skip block's last line %.6f s  (the whole block walked)\n",
                screen_seconds(doc, layout, (lines / block_lines / 2) * block_lines - 1));
    std::printf("one page down from the middle      %.6f s\n", screen_seconds(doc, layout, lines / 2 + 60));
    doc.new_data();
    std::remove(path.c_str());
    return 0;
}
