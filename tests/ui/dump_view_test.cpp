#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include <cstdio>
#include <optional>

#include "toolkit/text/bcl_str.h"
#include "toolkit/gui/bcl_sdi.h"
#include "ui/dump_wnd.h"
#include "window_fixture.h"

namespace {

constexpr std::uint32_t red = 0xFF0000;
constexpr std::uint32_t black = 0x000000;
constexpr std::uint32_t selection_blue = 0xBFD9FF;
constexpr std::uint32_t caret_blue = 0x0050C8;

// `count` bytes "ABCD..." repeating: printable, so every cell has ink.
std::vector<std::uint8_t> letters(std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>('A' + i % 26);
    return bytes;
}

} // namespace

// A dump view alone in a window, 10 lines of client area high and narrower than
// the content, on data of the test's choosing.
class Dump_view_test : public Document_test {
protected:
    static constexpr int client_width = 400;
    static constexpr int client_height = 160;

    void open(const std::vector<std::uint8_t>& bytes)
    {
        load_bytes(bytes);
        frame.create("DumpTestWnd");
        dump.create(frame);
        frame.set_client(dump);
        frame.show();
        widget()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        widget()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Grow or shrink the window by what the client area lacks or has too much.
        QWidget* top = widget()->window();
        const QSize wanted(client_width, client_height);
        for (int attempt = 0; attempt < 3 && widget()->viewport()->size() != wanted; ++attempt) {
            const QSize missing = QSize(client_width, client_height) - widget()->viewport()->size();
            top->resize(top->size() + missing);
            wait_until([&] { return widget()->viewport()->size() == wanted; }, 500);
        }
        ASSERT_EQ(dump.client_width(), client_width);
        ASSERT_EQ(dump.client_height(), client_height);
        dump.set_owner({.select_byte = [this](Data_node* byte) { selected = doc().position_of(byte); },
                        .focus_key = {},
                        .caret_moved = [this] { ++caret_moves; }});
        dump.refresh_range();
        dump.set_highlight(nullptr, nullptr);
    }

    static QAbstractScrollArea* widget()
    {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* view = top->findChild<QAbstractScrollArea*>(QStringLiteral("DumpWnd")))
                return view;
        return nullptr;
    }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(widget(), key, modifiers); }
    void click(int x, int y) { QTest::mouseClick(widget()->viewport(), Qt::LeftButton, {}, QPoint(x, y)); }
    void highlight(std::uint32_t first, std::optional<std::uint32_t> end)
    {
        dump.set_highlight(doc().node_at(first), end ? doc().node_at(*end) : nullptr);
    }

    // Which colours the cell's pixels have: red ink, black ink.
    struct Ink {
        bool red = false;
        bool black = false;
    };
    Ink ink(int x, int y, int width) const
    {
        Ink found;
        for (int dy = 0; dy < 16; ++dy)
            for (int dx = 0; dx < width; ++dx) {
                const std::uint32_t colour = dump.back_buffer().pixel(x + dx, y + dy);
                found.red = found.red || colour == red;
                found.black = found.black || colour == black;
            }
        return found;
    }

    Bcl_sdi frame;
    Dump_wnd dump{doc()};
    std::optional<std::uint32_t> selected;
    int caret_moves = 0;
};

TEST_F(Dump_view_test, TheFontHasTheCellsOfTheGeometry)
{
    open(letters(16));
    EXPECT_TRUE(dump.font_fits());
}

TEST_F(Dump_view_test, HighlightScrollsOnlyWhenItsFirstLineIsOffScreen)
{
    open(letters(4096));  // 256 lines, a range of 257 lines
    const std::int32_t last = 257 * 16 - client_height;
    struct Step {
        std::uint32_t first;
        std::int32_t expected;
    };
    for (const Step step : {Step{40, 0},              // on screen: no scroll
                            Step{2008, 2000},         // below: its line at the top
                            Step{2000 + 16 * 9, 2000},   // its line is the last on screen
                            Step{2000 + 16 * 10, 2160},  // just below the screen
                            Step{100, 96},               // above the screen
                            Step{4090, last}}) {         // near the end: clamped
        highlight(step.first, step.first + 4);
        EXPECT_EQ(dump.vertical_position(), step.expected) << step.first;
        EXPECT_EQ(dump.highlight().start, step.first);
        EXPECT_EQ(dump.highlight().end, step.first + 4);
    }
    highlight(4090, std::nullopt);
    EXPECT_EQ(dump.highlight().end, 4096u);  // no end byte: the end of the data
    dump.set_highlight(nullptr, nullptr);
    EXPECT_FALSE(dump.highlight().on);
    EXPECT_EQ(dump.vertical_position(), 0);
}

TEST_F(Dump_view_test, CaretKeysMoveTheCaretAndTheViewFollowsIt)
{
    open(letters(4096));  // 10 lines on screen
    caret_moves = 0;
    const std::int32_t last_line_at_bottom = 256 * 16 - client_height;
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::uint32_t caret;
        std::int32_t vertical;
    };
    for (const Press press : {Press{Qt::Key_Up, {}, 0, 0}, Press{Qt::Key_Right, {}, 1, 0},
                              Press{Qt::Key_PageDown, {}, 161, 16},  // line 10: scrolled by one line
                              Press{Qt::Key_Down, {}, 177, 32}, Press{Qt::Key_Up, {}, 161, 32},
                              Press{Qt::Key_PageUp, {}, 1, 0}, Press{Qt::Key_End, Qt::ControlModifier, 4095, last_line_at_bottom},
                              Press{Qt::Key_Home, Qt::ControlModifier, 0, 0}}) {
        key(press.key, press.modifiers);
        EXPECT_EQ(dump.caret().caret, press.caret) << press.key;
        EXPECT_EQ(dump.vertical_position(), press.vertical) << press.key;
        EXPECT_EQ(dump.horizontal_position(), 0) << press.key;
    }
    EXPECT_EQ(caret_moves, 7);  // Up on the first byte moved nothing
    const std::int32_t from = 1000;
    dump.scroll_to(0, from);
    dump.set_caret(3000);  // off screen: its line at the top
    EXPECT_EQ(dump.vertical_position(), 2992);
    dump.set_caret(3010);  // on screen: no scroll
    EXPECT_EQ(dump.vertical_position(), 2992);
    EXPECT_FALSE(dump.caret().anchor);

    // The scroll bar follows; its page and line steps, its thumb and the wheel
    // (three lines) move the view.
    QScrollBar* bar = widget()->verticalScrollBar();
    dump.scroll_to(0, 1 << 20);
    EXPECT_EQ(bar->value(), 257 * 16 - client_height);
    EXPECT_EQ(bar->maximum(), 257 * 16 - client_height);
    dump.scroll_to(0, 0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(dump.vertical_position(), client_height);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(dump.vertical_position(), client_height - 16);
    bar->setSliderPosition(1000);
    EXPECT_EQ(dump.vertical_position(), 1000);
    EXPECT_EQ(bar->value(), 1000);
    dump.scroll_to(0, 0);
    const QPoint centre = widget()->viewport()->rect().center();
    QWheelEvent wheel(centre, widget()->viewport()->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget()->viewport(), &wheel);
    EXPECT_EQ(dump.vertical_position(), 48);
    widget()->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(dump.horizontal_position(), 16);
}

TEST_F(Dump_view_test, ScrollKeysDoNothingWhenTheDataFits)
{
    open(letters(17));
    for (Qt::Key pressed : {Qt::Key_Down, Qt::Key_PageDown})
        key(pressed);
    EXPECT_EQ(dump.vertical_position(), 0);
}

TEST_F(Dump_view_test, HighlightedBytesAreRedAndTheOthersBlack)
{
    open(letters(40));
    highlight(18, 21);  // line 1, columns 2 ... 4
    for (std::uint32_t column = 0; column < 8; ++column) {
        const bool lit = column >= 2 && column <= 4;
        const Ink hex = ink(Dump_layout::hex_x(column), 16, Dump_layout::hex_width);
        const Ink character = ink(Dump_layout::char_x(column), 16, Dump_layout::char_width);
        EXPECT_EQ(hex.red, lit) << column;
        EXPECT_EQ(hex.black, !lit) << column;
        EXPECT_EQ(character.red, lit) << column;
        EXPECT_EQ(character.black, !lit) << column;
    }
    // Offsets and the separator stay black; line 2 has no byte in column 8.
    EXPECT_TRUE(ink(0, 16, 64).black);
    EXPECT_FALSE(ink(0, 16, 64).red);
    EXPECT_TRUE(ink(Dump_layout::separator_x, 16, 8).black);
    EXPECT_FALSE(ink(Dump_layout::separator_x, 32, 8).black);
    // Nothing below the data.
    EXPECT_FALSE(ink(0, 48, 400).black);
}

TEST_F(Dump_view_test, TheSelectionIsShadedAndTheCaretOutlined)
{
    open(letters(40));
    highlight(16, std::nullopt);  // lines 1 and 2 red: the selection shows apart from it
    dump.set_caret(17);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);  // bytes 17 ... 19 selected, the caret on 19
    const auto has = [this](int x, int width, std::uint32_t colour) {
        for (int dy = 0; dy < 16; ++dy)
            for (int dx = 0; dx < width; ++dx)
                if (dump.back_buffer().pixel(x + dx, 16 + dy) == colour)
                    return true;
        return false;
    };
    for (std::uint32_t column = 0; column < 6; ++column) {
        const bool lit = column >= 1 && column <= 3;
        EXPECT_EQ(has(Dump_layout::hex_x(column), Dump_layout::hex_width, selection_blue), lit) << column;
        EXPECT_EQ(has(Dump_layout::char_x(column), Dump_layout::char_width, selection_blue), lit) << column;
        EXPECT_TRUE(ink(Dump_layout::hex_x(column), 16, Dump_layout::hex_width).red) << column;
        // The caret's outline runs round its cells, in both columns.
        EXPECT_EQ(has(Dump_layout::hex_x(column) - 4, 1, caret_blue), column == 3) << column;
        EXPECT_EQ(has(Dump_layout::char_x(column), 1, caret_blue), column == 3) << column;
    }
    EXPECT_EQ(dump.caret().selection_length(), 3u);
}

TEST_F(Dump_view_test, AClickSelectsTheByteUnderItAndNothingElse)
{
    open(letters(40));
    struct Click {
        int x;
        int y;
        std::optional<std::uint32_t> offset;
    };
    for (const Click at : {Click{Dump_layout::hex_x(3) + 2, 20, 19u},
                           Click{Dump_layout::hex_x(3) + 18, 20, std::nullopt},  // the gap
                           Click{30, 20, std::nullopt},                        // the offset column
                           Click{Dump_layout::char_x(1) + 7, 35, 33u},
                           Click{Dump_layout::char_x(9), 35, std::nullopt}}) {  // past the data
        selected.reset();
        click(at.x, at.y);
        EXPECT_EQ(selected, at.offset) << at.x << "," << at.y;
    }
    EXPECT_EQ(dump.caret().caret, 33u);  // the click put the caret on its byte
    // Scrolled right by 16: the same point is 16 pixels further in the content.
    dump.scroll_to(16, 0);
    selected.reset();
    click(Dump_layout::hex_x(3) + 2 - 16, 20);
    EXPECT_EQ(selected, 19u);
}

// ---- in the main window ----

class Dump_window_test : public Window_test {
protected:
    QWidget* dump_widget() const { return main_window()->findChild<QWidget*>(QStringLiteral("DumpWnd")); }
    QAbstractScrollArea* dump_area() const { return qobject_cast<QAbstractScrollArea*>(dump_widget()); }
};

TEST_F(Dump_window_test, AClickSelectsTheComponentHoldingTheByte)
{
    start({"/d", example("png/definition.kxd"), example("png/sample.png")});
    main_window()->resize(1000, 700);
    wait_until([] { return false; }, 50);
    auto* tree = control<QTreeWidget>(2105);
    auto* list = control<QTreeWidget>(2104);
    ASSERT_NE(dump_area(), nullptr);
    // Byte 20 lies inside the first chunk after the signature.
    QTest::mouseClick(dump_area()->viewport(), Qt::LeftButton, {}, QPoint(Dump_layout::hex_x(4) + 2, 16 + 4));
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_NE(tree->currentItem(), tree->topLevelItem(0));
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), list);
    save_screenshot(*main_window(), "dump-png");
}

TEST_F(Dump_window_test, ShiftJisTextShowsItsCharactersWhole)
{
    // Two-byte characters, one of them across the end of the first line, and
    // half-width katakana.
    const std::string text =
        Bcl_str::from_utf8("Kestrix 表示テスト:日本語のテキスト。ｶﾀｶﾅ\r\n二行目は全角文字だけで書かれています。\r\n")
            .bytes();
    const std::string path = temp_path("sjis.txt");
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    start({path});
    main_window()->resize(1000, 700);
    wait_until([] { return false; }, 100);
    save_screenshot(*main_window(), "dump-sjis-text");
    EXPECT_EQ(doc().size(), text.size());
}

// While new data loads and the old components go, a click in the dump reaches
// nothing: neither during the load nor after it.
TEST_F(Dump_window_test, AClickWhileTheDataIsReplacedSelectsNothing)
{
    const std::string big = temp_path("big.bin");
    {
        std::FILE* file = std::fopen(big.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        const std::vector<char> block(1 << 20, 'K');
        for (int i = 0; i < 8; ++i)
            std::fwrite(block.data(), 1, block.size(), file);
        std::fclose(file);
    }
    start({"/d", example("png/definition.kxd"), example("png/sample.png")});
    main_window()->resize(1000, 700);
    main_window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_window()));
    auto* tree = control<QTreeWidget>(2105);
    bool clicked = false;
    drop_files(main_window(), {big}, [&] {
        clicked = true;
        QTest::mouseClick(dump_area()->viewport(), Qt::LeftButton, {}, QPoint(Dump_layout::hex_x(4) + 2, 16 + 4));
    });
    EXPECT_TRUE(clicked);
    wait_until([] { return false; }, 100);
    EXPECT_EQ(doc().size(), 8u << 20);
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    EXPECT_EQ(control<QTreeWidget>(2104)->currentItem(), nullptr);
}
