// The data page on a large record file, in a window: go to the last byte (the way
// down the tree opened, the row selected, the dump scrolled to it), the inspector
// following a caret move, and the window's repaints while the find bar searches
// every record by value and finds nothing. Runs on Qt's offscreen platform unless
// another is chosen.
//
// The find runs as a Return in the find bar runs it, inside the window's handling
// of a long operation. Paints are counted twice: once as they come (the status bar
// redraws what changed), once with a timer that damages the status text every 10 ms,
// so that each chance the find gives the window to repaint shows as a paint; a
// "round" is the paints of one such chance, and the longest gap between rounds is
// how long the window could not repaint.
//
// Usage: browse_bench [records]   (default 8388608: about 64 MiB of data)
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "document/data_mgr.h"
#include "records_layout.h"
#include "toolkit/gui/bcl_sdi.h"
#include "toolkit/gui/bcl_statusbar.h"
#include "toolkit/gui/bcl_tab.h"
#include "ui/core/byte_readings.h"
#include "ui/core/dump_caret.h"
#include "ui/data_page.h"
#include "ui/page_frame.h"
#include "window/offscreen_app.h"
#include "window/top_window.h"

namespace {

using bench::timed;
using Clock = std::chrono::steady_clock;

constexpr int find_bar_id = 2122;
constexpr int tab_id = 2100;

// A main window holding the data page alone, with the status bar as the program's
// reporter, as the program's window has them.
class Browse_window final : public Bcl_sdi, private Page_frame {
public:
    explicit Browse_window(Data_mgr& document) : document_(document), page_(document, *this) {}
    [[nodiscard]] Data_page& page() { return page_; }

protected:
    void on_create() override
    {
        // The page in a tab control, as the program's window holds it.
        status_.create(*this);
        tab_.create(*this, tab_id);
        set_client(tab_);
        page_.create(tab_, client_width(), client_height(), [](Focus_place, const Bcl_key_event&) { return false; });
        tab_.add_page("データ", page_.window());
        // The caret's place in the status bar, as the program shows it.
        page_.add_caret_listener([this](std::uint32_t caret, std::uint32_t selected) {
            status_.set_resting_text(caret_status_text(caret, selected, document_.size()));
        });
    }

private:
    Bcl_wnd& owner() override { return *this; }
    void run_command(int) override {}
    void set_status_text(const Bcl_str& text) override { status_.set_text(text); }
    void document_changed() override {}
    void data_analysed() override { page_.rebuild_tree({}); }

    Data_mgr& document_;
    Bcl_statusbar status_;
    Bcl_tab tab_;
    Data_page page_;
};

void process_events() { QApplication::processEvents(QEventLoop::AllEvents); }

// The times of the paints of a window's widgets, split into those of the status bar
// and the rest.
class Paint_clock : public QObject {
public:
    explicit Paint_clock(QWidget* window, QWidget* status) : window_(window), status_(status)
    {
        qApp->installEventFilter(this);
    }
    ~Paint_clock() override { qApp->removeEventFilter(this); }
    Paint_clock(const Paint_clock&) = delete;
    Paint_clock& operator=(const Paint_clock&) = delete;

    bool eventFilter(QObject* target, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !target->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(target);
        if (widget->window() != window_)
            return false;
        const Clock::time_point now = Clock::now();
        (status_->isAncestorOf(widget) || widget == status_ ? status : other).push_back(now);
        return false;
    }

    std::vector<Clock::time_point> status;
    std::vector<Clock::time_point> other;

private:
    QWidget* window_;
    QWidget* status_;
};

struct Rounds {
    std::size_t count = 0;
    double longest_gap_ms = 0;
};

// Paints less than 5 ms apart belong to one chance to repaint; the gaps are
// measured from the find's start to its end.
Rounds rounds_of(std::vector<Clock::time_point> paints, Clock::time_point start, Clock::time_point end)
{
    std::sort(paints.begin(), paints.end());
    Rounds rounds;
    Clock::time_point last = start;
    for (const Clock::time_point at : paints) {
        if (at < start || at > end)
            continue;
        const double gap = std::chrono::duration<double, std::milli>(at - last).count();
        if (rounds.count == 0 || gap >= 5) {
            ++rounds.count;
            rounds.longest_gap_ms = std::max(rounds.longest_gap_ms, gap);
        }
        last = at;
    }
    rounds.longest_gap_ms =
        std::max(rounds.longest_gap_ms, std::chrono::duration<double, std::milli>(end - last).count());
    return rounds;
}

struct Find_figures {
    double seconds = 0;
    std::string note;
    std::size_t status_paints = 0;
    std::size_t other_paints = 0;
    Rounds rounds;
};

// One search of the bar by value, started by Return in its text field.
Find_figures run_find(QMainWindow* window, bool damage)
{
    QWidget* bar = window->findChild<QWidget*>(QStringLiteral("id_%1").arg(find_bar_id));
    auto* status = window->findChild<QStatusBar*>();
    auto* text = bar->findChild<QLineEdit*>(QStringLiteral("find_text"));
    bar->findChild<QRadioButton*>(QStringLiteral("find_kind_1"))->click();
    text->setText(QStringLiteral("xyz"));
    process_events();

    QTimer damager;
    QLabel* status_text = status->findChild<QLabel*>(QStringLiteral("status_text"));
    QObject::connect(&damager, &QTimer::timeout, status_text, [status_text] { status_text->update(); });
    if (damage)
        damager.start(10);
    Find_figures figures;
    {
        Paint_clock paints(window, status);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        const Clock::time_point start = Clock::now();
        QApplication::sendEvent(text, &enter);
        const Clock::time_point end = Clock::now();
        figures.seconds = std::chrono::duration<double>(end - start).count();
        figures.status_paints = paints.status.size();
        figures.other_paints = paints.other.size();
        std::vector<Clock::time_point> all = paints.status;
        all.insert(all.end(), paints.other.begin(), paints.other.end());
        figures.rounds = rounds_of(all, start, end);
    }
    damager.stop();
    figures.note = bar->findChild<QLabel*>(QStringLiteral("find_note"))->text().toStdString();
    process_events();
    return figures;
}

void print_find(const char* how, const Find_figures& f, double mb)
{
    std::printf("find by value, no hit (\"xyz\"), %s\n", how);
    std::printf("  time                                   %.3f s, %.1f MB/s (bar says \"%s\")\n", f.seconds,
                mb / f.seconds, f.note.c_str());
    std::printf("  paint events: status bar, rest          %zu, %zu (%.1f and %.1f a second)\n", f.status_paints,
                f.other_paints, static_cast<double>(f.status_paints) / f.seconds,
                static_cast<double>(f.other_paints) / f.seconds);
    std::printf("  repaint rounds                         %zu (%.1f a second), longest gap %.0f ms\n", f.rounds.count,
                static_cast<double>(f.rounds.count) / f.seconds, f.rounds.longest_gap_ms);
}

struct Spread {
    double mean = 0;
    double worst = 0;
};

// The mean and the worst of `repeats` runs of `step(i)`, in milliseconds, each
// after an untimed `setup()`.
template <typename Step, typename Setup = void (*)()>
Spread spread_ms(int repeats, Step step, Setup setup = [] {})
{
    Spread spread;
    for (int i = 0; i < repeats; ++i) {
        setup();
        const double ms = timed([&] { step(i); }) * 1e3;
        spread.mean += ms / repeats;
        spread.worst = std::max(spread.worst, ms);
    }
    return spread;
}

struct Painted {
    std::size_t events = 0;
    double ms = 0;
};

// The window's pending paints, done now.
Painted painted(QMainWindow* window)
{
    Paint_clock paints(window, window->statusBar());
    Painted result;
    result.ms = timed(process_events) * 1e3;
    result.events = paints.status.size() + paints.other.size();
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t records = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 8388608;
    if (records == 0 || records > 500'000'000) {
        std::fprintf(stderr, "usage: browse_bench [records from 1 to 500000000]\n");
        return 2;
    }
    const Offscreen_app app("browse_bench");
    // Other work on the machine slows every figure: say how busy it was.
    double busy[1] = {-1};
    (void)::getloadavg(busy, 1);

    const std::string path = "/tmp/kestrix-browse-bench.bin";
    const std::size_t size = records_layout::write_records(path, records);
    Data_mgr& doc = Data_mgr::instance();
    const double load = timed([&] { doc.load_data(File_path(path)); });
    std::remove(path.c_str());
    records_layout::define_records(doc, records);
    const double analyse = timed([&] { doc.analyze(); });
    const double mb = static_cast<double>(size) / 1e6;

    Browse_window window(doc);
    if (!window.create("BrowseBenchWnd")) {
        std::fprintf(stderr, "browse_bench: no window\n");
        return 1;
    }
    QMainWindow* main = top_window("BrowseBenchWnd");
    main->resize(1200, 800);
    Data_page& page = window.page();
    page.rebuild_tree({});
    page.refresh_dump();
    process_events();

    std::printf("records                                  %zu\n", records);
    std::printf("data size                                %zu bytes (%.1f MiB)\n", size,
                static_cast<double>(size) / 1048576.0);
    std::printf("load, analysis (no window)               %.2f s, %.2f s\n", load, analyse);
    std::printf("load average at start                    %.2f\n", busy[0]);

    // (a) Go to the last byte: first from a fresh tree, then again after a go to the
    // first byte each time (shown and painted before the clock starts); the paints
    // that follow are timed apart.
    const auto last = static_cast<std::uint32_t>(size - 1);
    bool went = false;
    const double first_go = timed([&] { went = page.go_to(last); });
    const Painted first_paint = painted(main);
    const auto selected = page.selected_indices();
    std::printf("go to the last byte, first time          %.2f ms, then %zu paints in %.2f ms%s\n", first_go * 1e3,
                first_paint.events, first_paint.ms, went && page.dump().caret().caret == last ? "" : "  CARET NOT THERE");
    std::printf("  selected                               %zu levels down, row %d\n", selected ? selected->size() : 0,
                page.list().selected());
    const auto from_start = [&] {
        page.go_to(0);
        process_events();
    };
    const Spread again = spread_ms(10, [&](int) { page.go_to(last); }, from_start);
    std::size_t paint_events = 0;
    const Spread again_paint = spread_ms(10, [&](int) { paint_events += painted(main).events; }, [&] {
        from_start();
        page.go_to(last);
    });
    // Its last step alone: the dump scrolled and the caret's listeners told.
    const Spread caret_part = spread_ms(10, [&](int) { page.dump().set_caret(last); }, [&] {
        page.dump().set_caret(0);
        process_events();
    });
    std::printf("go to the last byte, again (10 times)    %.2f ms mean, %.2f ms worst\n", again.mean, again.worst);
    std::printf("  of which the caret put there (dump, status, inspector) %.2f ms mean\n", caret_part.mean);
    std::printf("  then its paints                        %.2f ms mean, %.2f ms worst (%zu paints each)\n",
                again_paint.mean, again_paint.worst, paint_events / 10);

    // (b) The inspector. The bytes are reached from the start of their skip block,
    // so the caret is put at the start, the middle and the end of the last byte's
    // block; a caret move updates the dump, the status and the inspector.
    std::vector<std::uint8_t> eight(inspector_bytes);
    for (std::size_t i = 0; i < eight.size(); ++i)
        eight[i] = static_cast<std::uint8_t>(0x3F + i * 17);
    std::size_t rows = 0;
    const Spread readings = spread_ms(10000, [&](int) { rows += byte_readings(eight).size(); });
    std::printf("inspector: byte_readings() of 8 bytes     %.4f ms mean, %.4f ms worst (%zu rows)\n", readings.mean,
                readings.worst, rows / 10000);
    const std::uint32_t block = last & ~(Data_mgr::skip_block - 1);
    const std::uint32_t room = last - block > 8 ? last - block - 8 : 0;
    for (const auto& [place, at] : {std::pair{"block start", block}, std::pair{"block middle", block + room / 2},
                                    std::pair{"block end", block + room}}) {
        const auto near = [at](int i) { return at + static_cast<std::uint32_t>(i % 8); };
        const Spread show = spread_ms(200, [&](int i) { page.inspector().show_at(near(i)); });
        const Spread move = spread_ms(200, [&](int i) { page.dump().set_caret(near(i)); });
        std::size_t events = 0;
        const Spread move_paint = spread_ms(100, [&](int i) {
            page.dump().set_caret(near(i));
            events += painted(main).events;
        });
        const Spread node = spread_ms(200, [&](int i) { (void)doc.node_at(near(i)); });
        std::printf("  at %-12s %10u: panel update %.3f ms (worst %.3f), caret move %.3f ms (worst %.3f),"
                    " with its %zu paints %.3f ms (worst %.3f); of which reaching the byte (node_at) %.3f ms\n",
                    place, at, show.mean, show.worst, move.mean, move.worst, events / 100, move_paint.mean,
                    move_paint.worst, node.mean);
    }
    page.go_to(last);
    process_events();
    // (c) Repaints during a find through every record.
    page.find_bar().open();
    process_events();
    print_find("paints as they come", run_find(main, false), mb);
    print_find("status text damaged every 10 ms", run_find(main, true), mb);
    std::printf("peak memory                              %ld KiB\n", bench::peak_kib());
    doc.new_data();
    return 0;
}
