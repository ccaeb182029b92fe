// The find bar under the data page: Ctrl+F, F3 and Shift+F3 round the hits, found
// inside tables nobody opened, bytes found in the dump, and searches that find
// nothing or cannot run leaving the selection where it was.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QWindow>

#include "analysis_helpers.h"
#include "window_fixture.h"

using namespace analysis_test;

namespace {

constexpr int data_list_id = 2104;
constexpr int data_tree_id = 2105;
constexpr int find_bar_id = 2122;

class Find_bar_test : public Window_test {
protected:
    void SetUp() override
    {
        Window_test::SetUp();
        // Records [0] to [2] of a = 1, 3, 5 and b = 2, 4, 6 (big-endian).
        define(int_item("head", 1), for_loop("table", "3", int_item("a", 1), int_item("b", 2)));
        load_bytes(std::vector<std::uint8_t>{9, 1, 0, 2, 3, 0, 4, 5, 0, 6});
        open_window();
    }
    void open_window()
    {
        start();
        window->show_page(Kestrix::data_page);
        window->refresh_dump();
        main_window()->resize(1100, 700);
        main_window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main_window()));
    }
    QWidget* bar() const { return control<QWidget>(find_bar_id); }
    QLineEdit* text() const { return bar()->findChild<QLineEdit*>(QStringLiteral("find_text")); }
    std::string note() const { return bar()->findChild<QLabel*>(QStringLiteral("find_note"))->text().toStdString(); }
    QTreeWidget* tree() const { return control<QTreeWidget>(data_tree_id); }
    QTreeWidget* list() const { return control<QTreeWidget>(data_list_id); }
    // The tree's selected container and the list's selected row.
    std::string selection() const
    {
        const QTreeWidgetItem* row = list()->currentItem();
        return tree()->currentItem()->text(0).toStdString() + "/" +
               (row && row->isSelected() ? row->text(0).toStdString() + "=" + row->text(1).toStdString() : "");
    }
    std::string status_text() const
    {
        return control<QStatusBar>(3001)->findChild<QLabel*>(QStringLiteral("status_text"))->text().toStdString();
    }
    void find(const QString& typed)
    {
        QTest::keyClick(main_window(), Qt::Key_F, Qt::ControlModifier);
        ASSERT_TRUE(text()->hasFocus());
        text()->setText(typed);
        QTest::keyClick(text(), Qt::Key_Return);
    }
};

TEST_F(Find_bar_test, F3AndShiftF3GoRoundTheHitsInTreeOrder)
{
    EXPECT_FALSE(bar()->isVisible());
    // "b" is in "table" and in each record's "b"; the table was never opened.
    find(QStringLiteral("B"));
    EXPECT_TRUE(bar()->isVisible());
    EXPECT_EQ(selection(), "table/");
    EXPECT_EQ(note(), "1 件目");
    EXPECT_TRUE(text()->hasFocus());  // a search from the bar keeps the focus there

    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(main_window(), Qt::Key_F3);
        seen.push_back(selection() + " " + note());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"[0]/b=2 2 件目", "[1]/b=4 3 件目", "[2]/b=6 4 件目",
                                              "table/ 1 件目（末尾まで検索したので先頭から続けました）"}));
    QTest::keyClick(main_window(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selection() + " " + note(), "[2]/b=6 4 件目（先頭まで検索したので末尾から続けました）");
    EXPECT_FALSE(list()->visualItemRect(list()->currentItem()).isEmpty());
    EXPECT_EQ(status_text(), "位置 00000008 (8)");  // the caret on the hit's first byte
    save_screenshot(*main_window(), "find-bar");
    QTest::keyClick(main_window(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selection() + " " + note(), "[1]/b=4 3 件目");
    // From a row chosen by hand.
    list()->setCurrentItem(list()->topLevelItem(0));
    QTest::keyClick(main_window(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selection() + " " + note(), "[0]/b=2 2 件目");

    // Escape in the bar closes it; the data list has the focus again.
    text()->setFocus();
    QTest::keyClick(text(), Qt::Key_Escape);
    EXPECT_FALSE(bar()->isVisible());
    EXPECT_TRUE(list()->hasFocus());
}

TEST_F(Find_bar_test, ValuesAndBytesSelectTheirComponentAndNothingFoundMovesNothing)
{
    find(QStringLiteral("5"));  // by name: none
    EXPECT_EQ(note(), "見つかりません。");
    EXPECT_EQ(selection(), "未定義/");
    // 値(&A); a button's mnemonic clicks it after a short show of the press.
    QTest::keyClick(text(), Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(wait_until([this] { return bar()->findChild<QRadioButton*>(QStringLiteral("find_kind_1"))->isChecked(); }));
    text()->setFocus();
    QTest::keyClick(text(), Qt::Key_Return);
    EXPECT_EQ(selection() + " " + note(), "[2]/a=5 1 件目");

    // Bytes, from the caret (on the hit "a" of [2] at 7): the component holding the
    // first byte, the pattern selected in the dump.
    EXPECT_EQ(status_text(), "位置 00000007 (7)");
    bar()->findChild<QRadioButton*>(QStringLiteral("find_kind_2"))->click();
    text()->setText(QStringLiteral("00 04"));
    QTest::keyClick(text(), Qt::Key_Return);
    EXPECT_EQ(selection() + " " + note(), "[1]/b=4 1 件目（末尾まで検索したので先頭から続けました）");
    EXPECT_EQ(status_text(), "位置 00000005 (5)  選択 2 バイト");

    // Nothing found, or nothing to search for: the selection stays.
    for (const auto& [typed, message] : {std::pair{"07", "見つかりません。"},
                                         std::pair{"0G", "バイト列は16進数2桁ずつで入力してください（例: 89 50 4E 47）。"},
                                         std::pair{"", "検索する文字列を入力してください。"}}) {
        text()->setText(QString::fromUtf8(typed));
        QTest::keyClick(main_window(), Qt::Key_F3, Qt::ShiftModifier);
        EXPECT_EQ(note(), message) << typed;
        EXPECT_EQ(selection(), "[1]/b=4") << typed;
        EXPECT_EQ(status_text(), "位置 00000005 (5)  選択 2 バイト") << typed;
    }
}

// While a find runs, the dump scrolls by the wheel and by its scroll bar; a click that
// would select is thrown away, and closing the window stops the find (the window
// stays, nothing is asked).
class Find_scroll_test : public Find_bar_test {
protected:
    void SetUp() override
    {
        Window_test::SetUp();
        // 200,000 components without a hit: the find checks for a stop many times.
        define(for_loop("table", "65536", int_item("a", 4), int_item("b", 4)));
        load_bytes(std::vector<std::uint8_t>(8 * 65536, 0x41));
        open_window();
    }
};

TEST_F(Find_scroll_test, TheDumpScrollsAndTheCloseBoxStopsWhileAFindRuns)
{
    auto* dump = main_window()->findChild<QAbstractScrollArea*>(QStringLiteral("DumpWnd"));
    QScrollBar* bar = dump->verticalScrollBar();
    const std::string before = selection();
    bool ran = false;
    // Inside the find's first repaint.
    QTimer::singleShot(0, main_window(), [&] {
        ran = true;
        ASSERT_TRUE(control<QProgressBar>(100)->property("running").toBool());
        // Sent to the window, as the window system does: it hands them on to the
        // view under the pointer.
        QWindow* handle = main_window()->windowHandle();
        const QPoint middle = dump->viewport()->mapTo(main_window(), dump->viewport()->rect().center());
        QWheelEvent wheel(middle, main_window()->mapToGlobal(middle), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(handle, &wheel);
        const int wheeled = bar->value();
        EXPECT_GT(wheeled, 0);
        // A click on the bar below its handle: a page down.
        QTest::mouseClick(handle, Qt::LeftButton, {},
                          bar->mapTo(main_window(), QPoint(bar->width() / 2, bar->height() - 20)));
        EXPECT_GT(bar->value(), wheeled);
        save_screenshot(*main_window(), "find-scrolls");
        // A click on a byte selects nothing.
        QTest::mouseClick(handle, Qt::LeftButton, {}, dump->viewport()->mapTo(main_window(), QPoint(120, 8)));
        main_window()->close();
    });
    find(QStringLiteral("zzz"));
    EXPECT_TRUE(ran);
    EXPECT_EQ(note(), "検索を中止しました。");
    EXPECT_EQ(selection(), before);
    EXPECT_EQ(status_text(), "位置 00000000 (0)");
    EXPECT_TRUE(main_window()->isVisible());
    EXPECT_FALSE(window->destroyed());
    EXPECT_TRUE(modals.seen.empty());
}

} // namespace
