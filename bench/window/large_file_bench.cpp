// The program's window on a file near the largest it takes: opened with an empty
// definition through the open command's file dialog, browsed (go to the last byte
// through its dialog, the dump scrolled to the middle, a row of the tree deep in the
// undefined bytes' table selected), edited through the data list's dialogs (a byte
// changed in the middle, 16 bytes inserted near the start and 16 deleted near the
// end), the three undone and the first redone, then saved under another name with
// "名前を付けて保存" and the saved file checked against what it must hold. Prints the
// time of each step and the peak resident memory per data byte, and writes
// screenshots of the window after the go to and after the edits. Runs on Qt's
// offscreen platform unless another is chosen.
//
// Usage: large_file_bench [MiB | FILE]   (default 3994 MiB; a sparse file is made
// with a few recognisable bytes near its start, middle and end, and removed after)
#include <fcntl.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "document/data_mgr.h"
#include "model/data_node.h"
#include "toolkit/memory/available_memory.h"
#include "ui/core/commands.h"
#include "ui/core/dump_caret.h"
#include "ui/kestrix.h"
#include "window/offscreen_app.h"
#include "window/top_window.h"

namespace {

using bench::timed;

constexpr std::uint64_t mib = 1 << 20;
// The largest data the document takes, and enough to hold the windows compared.
constexpr std::uint64_t largest_size = 0xFFFFFFFFu;
constexpr std::uint64_t smallest_size = 4 * mib;
// The file is held in memory whole; the saved copy is written as it streams out.
constexpr double memory_per_byte_needed = 1.2;
constexpr std::uint32_t edit_count = 16;
constexpr std::uint8_t changed_value = 0xA5;
constexpr std::uint64_t compared_window = mib;

int failures = 0;

void check(bool holds, const std::string& what)
{
    if (!holds) {
        ++failures;
        std::printf("  FAILED: %s\n", what.c_str());
    }
}

// Answers the window's modal dialogs as they open, one answer each, in order; a
// dialog nobody expected is reported and closed, so that a wrong turn shows instead
// of hanging the program.
class Modal_answers {
public:
    using Answer = std::function<void(QWidget* modal)>;

    Modal_answers()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(5);
    }

    void then(Answer answer) { answers_.push_back(std::move(answer)); }
    [[nodiscard]] std::size_t pending() const { return answers_.size(); }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == answering_)
            return;
        if (answers_.empty()) {
            std::string what = modal->windowTitle().toStdString();
            if (const auto* box = qobject_cast<QMessageBox*>(modal))
                what += ": " + box->text().toStdString();
            check(false, "a dialog nobody expected: " + what);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            return;
        }
        const Answer answer = std::move(answers_.front());
        answers_.pop_front();
        answering_ = modal;
        answer(modal);
        answering_ = nullptr;
    }

    QTimer timer_;
    std::deque<Answer> answers_;
    QWidget* answering_ = nullptr;
};

Modal_answers::Answer choose_file(const std::string& path)
{
    return [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            check(false, "no file dialog but " + modal->windowTitle().toStdString());
            static_cast<QDialog*>(modal)->reject();
            return;
        }
        dialog->selectFile(QString::fromStdString(path));
        static_cast<QDialog*>(dialog)->accept();
    };
}

using Field_texts = std::vector<std::pair<int, std::string>>;

// Checks the texts the dialog's fields open with (`shown`), fills in `typed` and
// presses OK.
Modal_answers::Answer fill_then_ok(Field_texts typed, Field_texts shown = {})
{
    return [typed, shown](QWidget* modal) {
        const std::string title = modal->windowTitle().toStdString();
        const auto field_of = [&](int id) {
            auto* field = modal->findChild<QLineEdit*>(QStringLiteral("id_%1").arg(id));
            check(field != nullptr, title + " has no field " + std::to_string(id));
            return field;
        };
        for (const auto& [id, text] : shown)
            if (QLineEdit* field = field_of(id))
                check(field->text().toStdString() == text,
                      title + " opens with " + field->text().toStdString() + ", not " + text);
        for (const auto& [id, text] : typed)
            if (QLineEdit* field = field_of(id))
                field->setText(QString::fromStdString(text));
        auto* ok = modal->findChild<QAbstractButton*>(QStringLiteral("id_1"));
        if (ok && ok->isEnabled()) {
            ok->click();
            return;
        }
        check(false, title + ": OK is not enabled");
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    };
}

std::string hex(std::uint64_t value)
{
    char text[20];
    std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(value));
    return text;
}

// The process's peak resident memory, in KiB (VmHWM).
long peak_resident_kib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

void process_events() { QApplication::processEvents(QEventLoop::AllEvents); }

void save_screenshot(QWidget& widget, const char* name)
{
    QDir().mkpath(QStringLiteral(KESTRIX_SCREENSHOT_DIR));
    const QString path = QStringLiteral(KESTRIX_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name));
    check(widget.grab().save(path), "screenshot " + path.toStdString());
}

// `count` bytes of the file from `at` (fewer at its end).
std::vector<std::uint8_t> read_at(int file, std::uint64_t at, std::uint64_t count)
{
    std::vector<std::uint8_t> bytes(count);
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::pread(file, bytes.data() + got, count - got, static_cast<off_t>(at + got));
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

// A sparse file of `size` bytes with a marker of 16 bytes at each of `places`.
bool make_sparse_file(const std::string& path, std::uint64_t size, const std::vector<std::uint64_t>& places)
{
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file < 0)
        return false;
    bool made = ::ftruncate(file, static_cast<off_t>(size)) == 0;
    for (std::size_t i = 0; i < places.size() && made; ++i) {
        char marker[17];
        std::snprintf(marker, sizeof marker, "KESTRIX-MARK-%03zu", i);
        made = ::pwrite(file, marker, edit_count, static_cast<off_t>(places[i])) == edit_count;
    }
    return ::close(file) == 0 && made;
}

std::string rate(std::uint64_t bytes, double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f MB/s", static_cast<double>(bytes) / 1e6 / seconds);
    return text;
}

// A step's time, with the peak resident memory so far.
void print_step(const char* step, double seconds, const std::string& note = {})
{
    std::printf("%-44s %9.3f s  peak %7.1f MiB%s%s\n", step, seconds, static_cast<double>(peak_resident_kib()) / 1024,
                note.empty() ? "" : "   ", note.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    std::string path = "/tmp/kestrix-large-file-bench.bin";
    const std::string saved_path = "/tmp/kestrix-large-file-bench-saved.bin";
    std::uint64_t size = 3994 * mib;
    bool own_file = true;
    if (argc > 1) {
        char* end = nullptr;
        const unsigned long long megabytes = std::strtoull(argv[1], &end, 10);
        if (*end == '\0') {
            size = megabytes * mib;
        } else {
            path = argv[1];
            own_file = false;
            std::ifstream file(path, std::ios::binary | std::ios::ate);
            size = file ? static_cast<std::uint64_t>(file.tellg()) : 0;
        }
    }
    if (size < smallest_size || size > largest_size) {
        std::fprintf(stderr, "usage: large_file_bench [MiB from 4 to 4095 | FILE of 4 MiB to 4 GiB - 1]\n");
        return 2;
    }
    const std::optional<std::uint64_t> memory = available_memory();
    const auto needed = static_cast<std::uint64_t>(static_cast<double>(size) * memory_per_byte_needed);
    if (memory && *memory < needed) {
        std::printf("large_file_bench: %llu MiB of memory available, the file of %llu MiB needs about %llu MiB: "
                    "not run\n",
                    static_cast<unsigned long long>(*memory / mib), static_cast<unsigned long long>(size / mib),
                    static_cast<unsigned long long>(needed / mib));
        return 0;
    }

    // The places the program visits: the changed byte is the first of the middle
    // marker; the insertion and the deletion lie 8 KiB inside either end.
    const std::uint64_t middle = size / 2;
    const std::uint64_t insert_at = 0x2000;
    const std::uint64_t delete_at = size - 0x2000;
    const std::uint64_t last = size - 1;
    if (own_file) {
        const double made = timed([&] {
            if (!make_sparse_file(path, size, {0x1000, middle, size - edit_count}))
                std::exit((std::fprintf(stderr, "large_file_bench: cannot make %s\n", path.c_str()), 1));
        });
        print_step("sparse file made (truncate, 3 markers)", made, path);
    }
    const int original = ::open(path.c_str(), O_RDONLY);
    const std::vector<std::uint8_t> middle_bytes = read_at(original, middle, 1);
    if (original < 0 || middle_bytes.size() != 1) {
        std::fprintf(stderr, "large_file_bench: cannot read %s\n", path.c_str());
        return 1;
    }
    // A file given may hold the changed value there already.
    const std::uint8_t new_value = middle_bytes[0] == changed_value ? 0x5A : changed_value;
    std::printf("data size                                    %llu bytes (%.1f MiB)\n",
                static_cast<unsigned long long>(size), static_cast<double>(size) / mib);

    const Offscreen_app app("large_file_bench");
    Data_mgr& doc = Data_mgr::instance();
    Kestrix window(doc);
    if (!window.start({})) {
        std::fprintf(stderr, "large_file_bench: no window\n");
        return 1;
    }
    QMainWindow* main = top_window("KestrixMainWnd");
    main->resize(1200, 800);
    window.show_page(Kestrix::data_page);
    process_events();
    Modal_answers answers;
    // The window's own memory, which does not grow with the data.
    const long window_kib = peak_resident_kib();
    const auto run = [&](int command, Modal_answers::Answer answer, Modal_answers::Answer then = {}) {
        for (Modal_answers::Answer* each : {&answer, &then})
            if (*each)
                answers.then(std::move(*each));
        window.command(command);
        process_events();
        check(answers.pending() == 0, "command " + std::to_string(command) + " opened no dialog");
    };
    const auto byte_at = [&](std::uint64_t at) {
        return at < doc.size() ? doc.node_at(static_cast<std::uint32_t>(at))->value : -1;
    };

    // Opening, as the open command does it.
    const double open = timed([&] { run(cmd::file_open, choose_file(path)); });
    print_step("open (file dialog, load, empty analysis)", open,
               rate(size, open));
    const long opened_kib = peak_resident_kib();
    check(doc.size() == size, "the data holds " + std::to_string(doc.size()) + " bytes");
    check(byte_at(middle) == middle_bytes[0], "the middle byte as loaded");

    // Browsing: every step as the user takes it.
    const auto go_to = [&](std::uint64_t at) { run(cmd::go_to, fill_then_ok({{1900, "0x" + hex(at)}})); };
    auto* status = main->findChild<QLabel*>(QStringLiteral("status_text"));
    const auto caret_shown_at = [&](std::uint64_t at) {
        return status && status->text().toStdString() ==
                             caret_status_text(static_cast<std::uint32_t>(at), 0, static_cast<std::uint32_t>(size));
    };
    print_step("go to the last byte (dialog)", timed([&] { go_to(last); }));
    check(caret_shown_at(last), "the status bar after the go to: " + (status ? status->text().toStdString() : ""));
    save_screenshot(*main, "large-file-end");

    auto* dump = main->findChild<QAbstractScrollArea*>(QStringLiteral("DumpWnd"));
    QScrollBar* dump_bar = dump ? dump->verticalScrollBar() : nullptr;
    // As a drag of the thumb: the view scrolls on the bar's actions, not on its value.
    const int middle_thumb = dump_bar ? dump_bar->maximum() / 2 : 0;
    const double scroll = timed([&] {
        if (dump_bar)
            dump_bar->setSliderPosition(middle_thumb);
        process_events();
    });
    print_step("dump scrolled to the middle", scroll,
               dump_bar ? std::to_string(dump_bar->value()) + " of " + std::to_string(dump_bar->maximum()) : "");
    check(dump_bar != nullptr && dump_bar->value() == middle_thumb, "the dump scrolled to the thumb");
    save_screenshot(*main, "large-file-middle");

    auto* tree = main->findChild<QTreeWidget*>(QStringLiteral("id_2105"));
    auto* list = main->findChild<QTreeWidget*>(QStringLiteral("id_2104"));
    QTreeWidgetItem* deep = tree ? tree->currentItem() : nullptr;
    QTreeWidgetItem* other = deep ? tree->itemAbove(deep) : nullptr;
    int depth = 0;
    for (QTreeWidgetItem* up = other; up && up->parent(); up = up->parent())
        ++depth;
    const double select_row = timed([&] {
        if (other)
            tree->setCurrentItem(other);
        process_events();
    });
    const int rows = list ? list->topLevelItemCount() : 0;
    print_step("a tree row deep in the table selected", select_row,
               other ? other->text(0).toStdString() + ", " + std::to_string(depth) + " levels down, " +
                           std::to_string(rows) + " rows listed"
                     : "");
    check(other != nullptr && rows > 0, "a tree row above the last byte's, with rows listed");

    // Editing through the data list, each from the row of the byte a go to selects.
    const auto edit = [&](const char* step, std::uint64_t at, int command, Modal_answers::Answer answer,
                          Modal_answers::Answer then = {}) {
        go_to(at);
        print_step(step, timed([&] { run(command, std::move(answer), std::move(then)); }));
    };
    const auto byte_hex = [](int value) { return hex(static_cast<std::uint64_t>(value)).substr(6); };
    edit("change the middle byte (change dialog)", middle, cmd::data_edit,
         fill_then_ok({{1702, byte_hex(new_value)}}, {{1702, byte_hex(middle_bytes[0])}}));
    check(byte_at(middle) == new_value, "the middle byte after its change");
    const std::string row_shown = list && list->currentItem() ? list->currentItem()->text(1).toStdString() : "";
    check(row_shown == "0x" + byte_hex(new_value), "the changed row shows " + row_shown);
    save_screenshot(*main, "large-file-edited");
    // The dialogs open on the selected byte's position; only the count is typed.
    // At the longest data the window refuses the insertion, saying why.
    const bool room_to_insert = size + edit_count <= largest_size;
    const std::uint32_t inserted = room_to_insert ? edit_count : 0;
    Modal_answers::Answer refusal;
    if (!room_to_insert)
        refusal = [](QWidget* modal) {
            const std::string text = modal->property("text").toString().toStdString();
            std::printf("  refused: %s\n", text.c_str());
            check(text.find("4294967295") != std::string::npos, "the refusal names the limit");
            static_cast<QDialog*>(modal)->accept();
        };
    edit(room_to_insert ? "insert 16 bytes near the start (dialog)" : "insert 16 bytes near the start (refused)",
         insert_at, cmd::data_add, fill_then_ok({{1801, std::to_string(edit_count)}}, {{1800, hex(insert_at)}}),
         refusal);
    check(doc.size() == size + inserted, "the size after the insertion");
    edit("delete 16 bytes near the end (dialog)", delete_at + inserted, cmd::data_delete,
         fill_then_ok({{1801, std::to_string(edit_count)}}, {{1800, hex(delete_at + inserted)}, {1801, "1"}}));
    check(doc.size() == size + inserted - edit_count, "the size after the deletion");
    check(byte_at(middle + inserted) == new_value, "the changed byte moved by the insertion");
    check(window.title().find('*') != std::string::npos, "the title marks the change: " + window.title());

    const int edits = room_to_insert ? 3 : 2;
    for (int step = 1; step <= edits; ++step)
        print_step(("undo " + std::to_string(step)).c_str(), timed([&] { run(cmd::undo, {}); }));
    check(doc.size() == size && byte_at(middle) == middle_bytes[0] && !doc.can_undo_data(),
          "the data as loaded after undoing every edit");
    print_step("redo 1 (the change)", timed([&] { run(cmd::redo, {}); }));
    check(byte_at(middle) == new_value && doc.size() == size, "the middle byte changed again by the redo");

    std::remove(saved_path.c_str());
    const double save = timed([&] { run(cmd::file_save_as, choose_file(saved_path)); });
    print_step("save as (file dialog)", save, rate(size, save));
    check(doc.data_path().display() == saved_path, "the data's path after the save: " + doc.data_path().display());

    // The saved file against the loaded one with the change, window by window.
    const int saved = ::open(saved_path.c_str(), O_RDONLY);
    const auto saved_size = static_cast<std::uint64_t>(::lseek(saved, 0, SEEK_END));
    check(saved >= 0 && saved_size == size, "the saved file's size " + std::to_string(saved_size));
    std::uint64_t compared = 0;
    const double compare = timed([&] {
        for (const std::uint64_t at :
             {std::uint64_t{0}, size / 4, middle - compared_window / 2, size / 4 * 3, size - compared_window}) {
            std::vector<std::uint8_t> expected = read_at(original, at, compared_window);
            if (middle >= at && middle < at + expected.size())
                expected[middle - at] = new_value;
            const std::vector<std::uint8_t> got = read_at(saved, at, compared_window);
            check(got == expected, "the saved bytes from " + hex(at));
            compared += got.size();
        }
    });
    print_step("saved file compared", compare, std::to_string(compared / mib) + " MiB in 5 windows");
    ::close(saved);
    ::close(original);

    const long peak = peak_resident_kib();
    std::printf("peak resident memory (VmHWM)                 %ld KiB, %.3f bytes per data byte; "
                "%.3f beyond the %ld KiB of the window before the open\n",
                peak, static_cast<double>(peak) * 1024 / static_cast<double>(size),
                static_cast<double>(peak - window_kib) * 1024 / static_cast<double>(size), window_kib);
    std::printf("  after the open                             %ld KiB, %.3f bytes per data byte\n", opened_kib,
                static_cast<double>(opened_kib) * 1024 / static_cast<double>(size));
    std::remove(saved_path.c_str());
    if (own_file)
        std::remove(path.c_str());
    std::printf("checks                                       %s\n",
                failures == 0 ? "all passed" : (std::to_string(failures) + " FAILED").c_str());
    return failures == 0 ? 0 : 1;
}
