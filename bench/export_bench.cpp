// Text report throughput: how fast the export streams a large data file, against
// the disk, xxd and cat in the same run. Prints figures, asserts nothing.
//
//   export_bench [MiB]     (default 64)
//
// Cases: (a) an empty definition, so every byte becomes an undefined-byte line;
// (b) a loop of small records (integers with bit flags and a short string).
// Each export is followed by dd writing as many bytes of zeros to the same folder
// with an fsync: the export is bound by the disk, not by its formatting, when its
// processor time (user + system) is at most half of dd's wall time.
// Peak memory is printed before and after to show it stays flat.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <string>

#include "document/data_mgr.h"
#include "document/report.h"
#include "model/items.h"
#include "random_file.h"
#include "bench_timing.h"

namespace {

using bench::peak_kib;

namespace fs = std::filesystem;

double seconds_of(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// Processor time of this program so far, in user and in system mode.
struct Cpu_time {
    double user = 0;
    double system = 0;

    static Cpu_time now()
    {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return {seconds_of(usage.ru_utime), seconds_of(usage.ru_stime)};
    }
    [[nodiscard]] double total() const { return user + system; }
    Cpu_time operator-(const Cpu_time& before) const { return {user - before.user, system - before.system}; }
};

double file_mb(const std::string& path) { return static_cast<double>(fs::file_size(path)) / 1e6; }

void print(const char* label, double seconds, double input_mb, const std::string& note)
{
    std::printf("%-34s %8.3f s  (%7.1f MB/s)  (%s)\n", label, seconds, input_mb / seconds, note.c_str());
    std::fflush(stdout);
}

// A 4-byte big-endian record count, then records of 8 bytes: a 2-byte number, a
// 4-byte word holding two bit flags and a 2-byte string.
void write_records(const std::string& path, std::size_t bytes)
{
    const std::uint32_t count = static_cast<std::uint32_t>((bytes - 4) / 8);
    std::ofstream out(path, std::ios::binary);
    const unsigned char head[4] = {static_cast<unsigned char>(count >> 24), static_cast<unsigned char>(count >> 16),
                                   static_cast<unsigned char>(count >> 8), static_cast<unsigned char>(count)};
    out.write(reinterpret_cast<const char*>(head), 4);
    // (An array, not a std::string made from the literal: that would stop at its first NUL.)
    char record[8] = {0, 0, 0x12, 0x34, 0x56, 0x78, 'a', 'b'};
    for (std::uint32_t i = 0; i < count; ++i) {
        record[0] = static_cast<char>(i >> 8);
        record[1] = static_cast<char>(i);
        out.write(record, sizeof record);
    }
}

void define_records()
{
    Data_mgr& doc = Data_mgr::instance();
    doc.insert_item(std::make_unique<Def_int>(Bcl_str("count"), false, 4, Def_int::decimal, Bcl_str("n")), nullptr);
    auto* loop = new Def_for(Bcl_str("records"), Bcl_str("n"));
    loop->insert_child(std::make_unique<Def_int>(Bcl_str("number"), false, 2, Def_int::decimal, Bcl_str()), nullptr);
    auto* word = new Def_int(Bcl_str("word"), false, 4, Def_int::hexadecimal, Bcl_str());
    word->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("kind"), 3, Bcl_str("kind")));
    word->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("level"), 5, Bcl_str()));
    loop->insert_child(std::unique_ptr<Define>(word), nullptr);
    loop->insert_child(std::make_unique<Def_fix_str>(Bcl_str("tag"), 2), nullptr);
    doc.insert_item(std::unique_ptr<Define>(loop), nullptr);
}

// Runs `command` through the shell; its wall time, or a negative number when it failed.
double timed_command(const std::string& command)
{
    int status = 0;
    const double seconds = bench::timed([&] { status = std::system(command.c_str()); });
    return status == 0 ? seconds : -1;
}

void run_tool(const char* label, const std::string& command, double input_mb)
{
    const double seconds = timed_command(command);
    if (seconds < 0)
        std::printf("%-34s not run (%s failed)\n", label, command.c_str());
    else
        print(label, seconds, input_mb, command);
}

// The wall time of dd writing `bytes` (rounded up to whole MiB) of zeros to a new
// file in `folder` and syncing it: what the disk takes for the report's bytes. The
// file is removed afterwards.
double disk_seconds(const std::string& folder, std::uintmax_t bytes)
{
    const std::string file = folder + "/dd.bin";
    const std::uintmax_t mib = (bytes + (1u << 20) - 1) >> 20;
    const double seconds = timed_command("dd if=/dev/zero of=" + file + " bs=1M count=" + std::to_string(mib) +
                                         " conv=fsync status=none");
    fs::remove(file);
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    const long mib = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 64;
    if (mib <= 0 || mib > 4095) {
        std::fprintf(stderr, "export_bench: size in MiB from 1 to 4095\n");
        return 2;
    }
    const std::size_t bytes = static_cast<std::size_t>(mib) << 20;
    char pattern[] = "/tmp/kestrix-export-bench-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    const std::string folder = pattern;
    const std::string random_file = folder + "/random.bin";
    const std::string records_file = folder + "/records.bin";
    const std::string report = folder + "/report.txt";
    write_random_file(random_file, bytes, 12345);
    write_records(records_file, bytes);
    const double input_mb = file_mb(random_file);
    std::printf("export of %ld MiB; peak memory before: %ld KiB\n", mib, peak_kib());

    Data_mgr& doc = Data_mgr::instance();
    doc.new_definition();
    // Read once so that every run below starts from the page cache.
    std::system(("cat " + random_file + " " + records_file + " > /dev/null").c_str());

    // The report is written and flushed to disk (the atomic replacement syncs it), so
    // the wall time includes the disk; the processor time shows the formatting cost.
    // Each export writes a new file, as dd does: replacing the previous report would
    // add the release of its pages to the processor time.
    const auto export_case = [&](const char* label, const std::string& data) {
        const Cpu_time before = Cpu_time::now();
        const double seconds = bench::timed([&] { write_report(doc, File_path(data), File_path(report)); });
        const Cpu_time cpu = Cpu_time::now() - before;
        const std::uintmax_t written = fs::file_size(report);
        fs::remove(report);
        char note[200];
        std::snprintf(note, sizeof note, "%.0f MB written, %.0f MB/s of output; processor %.3f s (user %.3f, system %.3f)",
                      static_cast<double>(written) / 1e6, static_cast<double>(written) / 1e6 / seconds, cpu.total(),
                      cpu.user, cpu.system);
        print(label, seconds, file_mb(data), note);

        const double dd = disk_seconds(folder, written);
        if (dd <= 0) {
            std::printf("  %-32s not run (dd failed)\n", "dd conv=fsync, same bytes");
            return;
        }
        std::snprintf(note, sizeof note, "export processor time ÷ dd time = %.2f (goal: at most 0.5)", cpu.total() / dd);
        std::printf("  %-32s %8.3f s  (%s)\n", "dd conv=fsync, same bytes", dd, note);
        std::fflush(stdout);
    };
    export_case("export, empty definition", random_file);
    define_records();
    export_case("export, loop of 8-byte records", records_file);
    doc.new_definition();

    run_tool("xxd, same file", "xxd " + random_file + " > " + folder + "/xxd.txt", input_mb);
    run_tool("cat, same file", "cat " + random_file + " > /dev/null", input_mb);
    std::printf("%-34s %ld KiB  (after both exports; the data is never held in memory)\n", "peak memory",
                peak_kib());
    fs::remove_all(folder);
    return 0;
}
