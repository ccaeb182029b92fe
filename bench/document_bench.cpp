// Loads, changes and releases a large data file and prints time and memory figures.
// Usage: document_bench [MiB]   (default 64)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "document/data_mgr.h"
#include "toolkit/progress.h"
#include "random_file.h"
#include "bench_timing.h"

namespace {

using bench::seconds_since;
using bench::timed;

// Resident memory of this process in bytes.
std::size_t resident_bytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// Times the longest stretch between two chances to redraw (a text, a percentage or a
// tick): the window repaints only at those, so this is how long it can look frozen.
class Gap_reporter final : public Progress_reporter {
public:
    Gap_reporter() { set_reporter(this); }
    ~Gap_reporter() override { set_reporter(nullptr); }

    void set_text(const Bcl_str& text) override
    {
        seen();
        if (!text.empty())
            text_ = text.to_utf8();
    }
    void start() { last_ = std::chrono::steady_clock::now(); }

    double longest = 0;
    std::string during;

protected:
    void on_begin(std::uint64_t) override { seen(); }
    void on_percent(int) override { seen(); }
    void on_end() override { seen(); }
    void on_tick() override { seen(); }

private:
    void seen()
    {
        const auto now = std::chrono::steady_clock::now();
        const double gap = std::chrono::duration<double>(now - last_).count();
        if (gap > longest) {
            longest = gap;
            during = text_;
        }
        last_ = now;
    }

    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
    std::string text_;
};

} // namespace

int main(int argc, char** argv)
{
    const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    const std::size_t size = mib << 20;
    const std::string path = "/tmp/kestrix-document-bench.bin";
    write_random_file(path, size, 1);
    Data_mgr& doc = Data_mgr::instance();
    const std::size_t before = resident_bytes();
    Gap_reporter load_gaps;
    load_gaps.start();
    const double load = timed([&] { doc.load_data(File_path(path)); });
    const std::size_t after = resident_bytes();
    // Loading again releases the first load's data before installing its own.
    load_gaps.start();
    const double reload = timed([&] { doc.load_data(File_path(path)); });
    const double analyse = timed([&] { doc.analyze(); });
    const double change_end = timed([&] { doc.insert_bytes(doc.size() - 100, 1); });
    const double change_start = timed([&] { doc.insert_bytes(100, 1); });
    const double replace_end = timed([&] { doc.change_value(doc.node_at(doc.size() - 50), 4, 0x12345678, std::nullopt); });
    const double release = timed([&] { doc.new_data(); });

    std::printf("data size                       %zu MiB\n", mib);
    std::printf("sizeof(Data_node)               %zu bytes\n", sizeof(Data_node));
    std::printf("load_data (read, analyse)       %.3f s  (%.0f MB/s)\n", load, size / 1e6 / load);
    std::printf("load_data again (releases too)  %.3f s\n", reload);
    std::printf("longest stretch without report  %.3f s  (%s)\n", load_gaps.longest, load_gaps.during.c_str());
    std::printf("memory per data byte            %.2f bytes\n", double(after - before) / double(size));
    std::printf("analyze (empty definition)      %.3f s  (%.0f MB/s)\n", analyse, size / 1e6 / analyse);
    std::printf("insert 1 byte near the end      %.6f s\n", change_end);
    std::printf("insert 1 byte near the start    %.6f s\n", change_start);
    std::printf("replace 4 bytes near the end    %.6f s\n", replace_end);
    std::printf("release (new_data)              %.3f s\n", release);
    std::remove(path.c_str());
    return 0;
}
