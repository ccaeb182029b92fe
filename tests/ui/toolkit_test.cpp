// The toolkit's own rules and wrappers: splitter bars, dialog placement, the canvas,
// lists and trees, version values, its failure messages and how it calls the
// program's handlers.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>

#include <QDropEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <new>

#include "toolkit/gui/bcl_canvas.h"
#include "toolkit/gui/bcl_menu.h"
#include "toolkit/gui/bcl_timer.h"
#include "ui/menu_items.h"
#include "toolkit/gui/bcl_listview.h"
#include "toolkit/gui/bcl_sdi.h"
#include "toolkit/gui/bcl_split.h"
#include "toolkit/gui/bcl_treeview.h"
#include "toolkit/gui/bcl_verinfo.h"
#include "toolkit/gui/input_rules.h"
#include "toolkit/gui/placement.h"
#include "toolkit/gui/split_bar.h"
#include "window_fixture.h"

namespace {

struct Split_case {
    const char* what;
    int position;
    int extent;
    int drag_to;      // -1: no drag
    int new_extent;   // -1: unchanged
    int shown;
    int remembered;
};

class Split_bar_test : public testing::TestWithParam<Split_case> {};

TEST_P(Split_bar_test, KeepsTheBarInsideAndRemembersWhereItWas)
{
    const Split_case& c = GetParam();
    Split_bar bar;
    bar.set_position(c.position);
    bar.set_extent(c.extent);
    if (c.drag_to >= 0)
        bar.drag_to(c.drag_to);
    if (c.new_extent >= 0)
        bar.set_extent(c.new_extent);
    EXPECT_EQ(bar.shown(), c.shown) << c.what;
    EXPECT_EQ(bar.position(), c.remembered) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Bars, Split_bar_test,
    testing::Values(Split_case{"inside", 100, 400, -1, -1, 100, 100},
                    Split_case{"dragged", 100, 400, 250, -1, 250, 250},
                    Split_case{"not below 10", 100, 400, 3, -1, 10, 10},
                    Split_case{"not within 14 of the far edge", 100, 400, 395, -1, 386, 386},
                    Split_case{"pushed in when the window shrinks", 300, 400, -1, 200, 186, 300},
                    Split_case{"restored when it grows again", 300, 400, -1, 600, 300, 300},
                    Split_case{"a tiny window", 300, 400, -1, 5, 0, 300}));

struct Place_case {
    const char* what;
    Bcl_rect owner;
    int width;
    int height;
    int x;
    int y;
};

class Dialog_place_test : public testing::TestWithParam<Place_case> {};

TEST_P(Dialog_place_test, CentresOnTheOwnerInsideTheWorkArea)
{
    const Place_case& c = GetParam();
    const Bcl_rect area{0, 0, 1920, 1040};
    const Bcl_rect placed = dialog_place(c.owner, c.width, c.height, area);
    EXPECT_EQ(placed.x, c.x) << c.what;
    EXPECT_EQ(placed.y, c.y) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Places, Dialog_place_test,
    testing::Values(Place_case{"centred", {100, 100, 800, 600}, 400, 200, 300, 300},
                    Place_case{"no owner: the screen", {0, 0, 1920, 1040}, 400, 200, 760, 420},
                    Place_case{"pulled in at the right and bottom", {1700, 900, 400, 300}, 600, 400, 1320, 640},
                    Place_case{"pulled in at the left and top", {-300, -200, 400, 300}, 600, 400, 0, 0},
                    Place_case{"larger than the area: left and top edge", {100, 100, 800, 600}, 2500, 1200, 0, 0}));

// The stop button sits at the bar's right end, its text with room around it, and
// leaves at least half of a narrow bar to the progress.
TEST(Toolkit, TheStopButtonTakesTheBarsRightEnd)
{
    const Bcl_rect wide = stop_button_place(600, 18, 30);
    EXPECT_EQ(wide.x + wide.width, 600);
    EXPECT_GT(wide.width, 30);
    EXPECT_EQ(wide.height, 18);
    EXPECT_TRUE(rect_contains(wide, 599, 17));
    EXPECT_FALSE(rect_contains(wide, wide.x - 1, 5));
    EXPECT_FALSE(rect_contains(wide, 599, 18));
    EXPECT_EQ(stop_button_place(40, 18, 30).x, 20);
    EXPECT_EQ(stop_button_place(0, 0, 30).width, 0);
}

// While an operation lets the window repaint, a stop always gets through; the views
// scroll and the close box stops only during a find; anything else is thrown away.
TEST(Toolkit, InputDuringAnOperationPassesScrollsOnlyDuringAFind)
{
    using enum Busy_input;
    using enum Busy_verdict;
    const struct {
        Busy_input input;
        Busy_verdict changing;
        Busy_verdict finding;
    } rows[] = {{stop_key, stop, stop},  {stop_button, stop, stop}, {close, eat, stop},
                {view_wheel, eat, pass}, {scroll_bar, eat, pass},   {other, eat, eat}};
    for (const auto& row : rows) {
        EXPECT_EQ(busy_verdict(Operation_kind::changing, row.input), row.changing) << static_cast<int>(row.input);
        EXPECT_EQ(busy_verdict(Operation_kind::finding, row.input), row.finding) << static_cast<int>(row.input);
    }
}

TEST(Toolkit, SplitterPushesItsBarInAndRestoresIt)
{
    Bcl_sdi window;
    window.create("TestWindow");
    Bcl_vsplit split;
    split.create(window, 7);
    split.show();
    Bcl_listview top;
    Bcl_listview bottom;
    top.create(split, 8);
    bottom.create(split, 9);
    split.set_panes(top, bottom, 300);
    split.move(0, 0, 200, 400);
    EXPECT_EQ(split.shown_position(), 300);
    EXPECT_EQ(top.height(), 300);
    EXPECT_EQ(bottom.height(), 400 - 300 - 4);
    split.move(0, 0, 200, 250);
    EXPECT_EQ(split.shown_position(), 250 - 14);
    EXPECT_EQ(split.position(), 300);
    split.move(0, 0, 200, 500);
    EXPECT_EQ(split.shown_position(), 300);
    EXPECT_EQ(top.height(), 300);
}

TEST(Toolkit, CanvasDrawsTextThatTheViewPaints)
{
    Bcl_sdi window;
    Bcl_view view;
    view.create(window, "TestView");
    view.move(0, 0, 200, 100);
    Bcl_canvas canvas;
    ASSERT_TRUE(canvas.attach(&view, 200, 100));
    // IPAGothic at 16 pixels: 8 x 16 cells.
    EXPECT_EQ(canvas.cell_width(), 8);
    EXPECT_EQ(canvas.cell_height(), 16);
    canvas.clear();
    EXPECT_EQ(canvas.pixel(4, 8), 0xFFFFFFu);
    canvas.set_text_colour(0xFF0000);
    canvas.draw_text(0, 0, "■");
    bool red = false;
    for (int y = 0; y < 16 && !red; ++y)
        for (int x = 0; x < 16 && !red; ++x)
            red = canvas.pixel(x, y) == 0xFF0000u;
    EXPECT_TRUE(red);

    // A font wider than the cells asked for is made smaller.
    EXPECT_TRUE(canvas.fit_cells(8, 16));
    EXPECT_FALSE(canvas.fit_cells(6, 16));
    EXPECT_LE(canvas.cell_width(), 6);
    EXPECT_GT(canvas.cell_width(), 0);
}

TEST(Toolkit, ACanvasWithoutAWindowSaysSo)
{
    Modal_script modals;
    modals.then(press(QMessageBox::Ok));
    Bcl_canvas canvas;
    EXPECT_FALSE(canvas.attach(nullptr, 10, 10));
    EXPECT_EQ(modals.seen, (std::vector<std::string>{"エラー|ウィンドウハンドルが指定されていません"}));
}

TEST(Toolkit, AcceleratorsThatCannotBeReadAreReported)
{
    Bcl_sdi window;
    Modal_script modals;
    modals.then(press(QMessageBox::Ok));
    const std::vector<Bcl_accelerator> keys{{"Ctrl+N", 1}, {"Ctrl+NoSuchKey", 2}};
    EXPECT_FALSE(window.load_accelerators(keys));
    EXPECT_EQ(modals.seen, (std::vector<std::string>{"エラー|アクセラレーターの読込に失敗しました"}));
}

TEST(Toolkit, ListRowsSelectionHitTestAndDropHighlight)
{
    Bcl_sdi window;
    Bcl_listview list;
    list.create(window, 10);
    list.add_column("名称", 100);
    list.add_column("データ", 100);
    list.move(0, 0, 300, 200);
    list.show();
    int reported = -2;
    list.set_selection_handler([&reported](int row) { reported = row; });
    EXPECT_EQ(list.insert_row(-1, {"a", "1"}), 0);
    EXPECT_EQ(list.insert_row(-1, {"c", "3"}), 1);
    EXPECT_EQ(list.insert_row(1, {"b", "2"}), 1);
    EXPECT_EQ(list.cell(1, 0), "b");
    EXPECT_EQ(list.cell(2, 1), "3");
    list.select(2);
    EXPECT_EQ(list.selected(), 2);
    EXPECT_EQ(reported, 2);
    list.set_drop_highlight(1);
    EXPECT_EQ(list.drop_highlight(), 1);
    list.delete_row(1);
    EXPECT_EQ(list.drop_highlight(), -1);
    EXPECT_EQ(list.row_count(), 2);
    EXPECT_EQ(list.hit_test({5, 2}), 0);
    EXPECT_EQ(list.hit_test({5, 190}), -1);
    list.select(-1);
    EXPECT_EQ(list.selected(), -1);
}

// The list or tree control `id` of a shown window.
QTreeWidget* shown_tree_widget(int id)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* view = top->findChild<QTreeWidget*>(QStringLiteral("id_%1").arg(id)))
            return view;
    return nullptr;
}

// The last column fills the room to the list's right edge, and keeps its own width
// when there is none.
TEST(Toolkit, TheLastListColumnTakesTheRestOfTheWidth)
{
    Bcl_sdi window;
    Bcl_listview list;
    list.create(window, 10);
    list.add_column("名称", 100);
    list.add_column("備考", 80);
    list.move(0, 0, 400, 200);
    window.show();
    list.show();
    QTreeWidget* view = shown_tree_widget(10);
    ASSERT_NE(view, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(view->columnWidth(0), 100);
    EXPECT_EQ(view->columnWidth(1), view->viewport()->width() - 100);
    view->setColumnWidth(0, 150);
    EXPECT_EQ(view->columnWidth(1), view->viewport()->width() - 150);
    list.move(0, 0, 120, 200);
    QApplication::processEvents();
    EXPECT_EQ(view->columnWidth(1), 80);
}

TEST(Toolkit, TreeItemsAndSelection)
{
    Bcl_sdi window;
    Bcl_treeview tree;
    tree.create(window, 11);
    Bcl_tree_item chosen = nullptr;
    tree.set_selection_handler([&chosen](Bcl_tree_item item) { chosen = item; });
    const Bcl_tree_item root = tree.insert(nullptr, "根");
    const Bcl_tree_item first = tree.insert(root, "一");
    const Bcl_tree_item second = tree.insert(root, "二");
    EXPECT_EQ(tree.root(), root);
    EXPECT_EQ(tree.first_child(root), first);
    EXPECT_EQ(tree.next_sibling(first), second);
    EXPECT_EQ(tree.next_sibling(second), nullptr);
    EXPECT_EQ(tree.parent(second), root);
    EXPECT_EQ(tree.child_count(root), 2);
    EXPECT_EQ(tree.text(second), "二");
    tree.select(second);
    EXPECT_EQ(tree.selected(), second);
    EXPECT_EQ(chosen, second);
    tree.remove(first);
    EXPECT_EQ(tree.child_count(root), 1);
    tree.remove_all();
    EXPECT_EQ(tree.root(), nullptr);
}

// A deep item whose name is wider than the pane keeps the whole name, to be scrolled
// to, instead of showing "…".
TEST(Toolkit, ATreeColumnTakesTheWidthOfItsLongNames)
{
    Bcl_sdi window;
    Bcl_treeview tree;
    tree.create(window, 11);
    const std::string name = "未定義[4188010496 - 4188011519]";
    Bcl_tree_item item = tree.insert(nullptr, "未定義");
    for (int level = 0; level < 3; ++level)
        item = tree.insert(item, name);
    tree.move(0, 0, 120, 200);
    window.show();
    tree.show();
    QTreeWidget* view = shown_tree_widget(11);
    ASSERT_NE(view, nullptr);
    view->expandAll();
    QApplication::processEvents();
    const QTreeWidgetItem* deepest = view->topLevelItem(0)->child(0)->child(0)->child(0);
    EXPECT_GE(view->visualItemRect(deepest).width(), view->fontMetrics().horizontalAdvance(QString::fromStdString(name)));
}

TEST(Toolkit, APopupMenuAnswersTheChosenCommand)
{
    Bcl_menu popup(menu_items("IDM_POPUP"));
    popup.enable(2301, false);
    std::vector<std::string> items;
    QTimer::singleShot(20, [&items] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            items.push_back(action->text().toStdString() + (action->isEnabled() ? "" : "(off)"));
        menu->setActiveAction(menu->actions().back());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    EXPECT_EQ(popup.track(), 2302);
    EXPECT_EQ(items, (std::vector<std::string>{"追加", "編集(off)", "削除"}));
}

TEST(Toolkit, ATimerTicksUntilStopped)
{
    Bcl_timer timer;
    int ticks = 0;
    timer.start(5, [&ticks] { ++ticks; });
    EXPECT_TRUE(timer.active());
    EXPECT_TRUE(wait_until([&ticks] { return ticks >= 3; }));
    timer.stop();
    const int stopped_at = ticks;
    wait_until([] { return false; }, 30);
    EXPECT_EQ(ticks, stopped_at);
    EXPECT_FALSE(timer.active());
}

TEST(Toolkit, VersionValuesComeFromTheBuild)
{
    Bcl_verinfo info;
    ASSERT_TRUE(info.load());
    EXPECT_EQ(info.value("\\StringFileInfo\\041103A4\\FileVersion"), KESTRIX_VERSION);
    EXPECT_EQ(info.value("\\StringFileInfo\\041103A4\\FileDescription"), "ケストリクス");
    EXPECT_EQ(info.value("\\StringFileInfo\\040904B0\\FileVersion"), std::nullopt);
}

} // namespace

// ---- how the toolkit calls the program's handlers ----

namespace {

class Recording_window : public Bcl_sdi {
public:
    int commands = 0;
    std::vector<std::string> dropped;

protected:
    void on_command(int) override { ++commands; }
    void on_files_dropped(const std::vector<File_path>& files) override
    {
        for (const File_path& file : files)
            dropped.push_back(file.bytes());
    }
};

QMainWindow* qt_window_of(const std::string& class_name)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName().toStdString() == class_name)
            return qobject_cast<QMainWindow*>(widget);
    return nullptr;
}

} // namespace

TEST(Toolkit, AFailingKeyHandlerIsShownAsTheProgramShowsFailuresAndTheWindowGoesOn)
{
    Bcl_sdi window;
    Bcl_listview list;
    ASSERT_TRUE(window.create("Key_test"));
    list.create(window, 10);
    list.show();
    int keys = 0;
    list.set_key_handler([&keys](const Bcl_key_event& key) -> bool {
        if (key.key == Bcl_key::page_down)
            throw std::bad_alloc();
        ++keys;
        return false;
    });
    Modal_script modals;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    modals.then([&icon](QWidget* modal) {
        icon = qobject_cast<QMessageBox*>(modal)->icon();
        press(QMessageBox::Ok)(modal);
    });
    auto* widget = qt_window_of("Key_test")->findChild<QTreeWidget*>(QStringLiteral("id_10"));
    QTest::keyClick(widget, Qt::Key_PageDown);
    EXPECT_EQ(modals.seen, (std::vector<std::string>{"ケストリクス|メモリが足りません。"}));
    EXPECT_EQ(icon, QMessageBox::Warning);
    QTest::keyClick(widget, Qt::Key_Down);
    EXPECT_EQ(keys, 1);
}

TEST(Toolkit, DroppedFilesReachTheProgramAfterTheDropEventHasReturned)
{
    Recording_window window;
    ASSERT_TRUE(window.create("Drop_test"));
    window.accept_files(true);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.bin"))});
    const auto drop = [&files] {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(qt_window_of("Drop_test"), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(qt_window_of("Drop_test"), &drop);
    };
    drop();
    EXPECT_TRUE(window.dropped.empty());
    QApplication::processEvents();
    EXPECT_EQ(window.dropped, (std::vector<std::string>{"/tmp/a.bin"}));

    // A drop still waiting when the window goes reaches nothing.
    drop();
    window.destroy();
    QApplication::processEvents();
    EXPECT_EQ(window.dropped.size(), 1u);
}

// The menu's actions carry the keys (shown and read out as key bindings) and the
// accelerators dispatch them, once, in either mode's menu.
TEST(Toolkit, MenuActionsCarryTheirKeysAndAKeyRunsItsCommandOnce)
{
    Recording_window window;
    window.set_menu(menu_items("IDM_MAIN"));
    ASSERT_TRUE(window.create("Menu_test"));
    ASSERT_TRUE(window.load_accelerators(accelerator_items()));
    QMainWindow* qt_window = qt_window_of("Menu_test");
    qt_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(qt_window));

    for (const char* bar : {"IDM_MAIN", "IDM_MAIN_FOR_DATA"}) {
        window.set_menu(menu_items(bar));
        QAction* action = nullptr;
        for (QAction* candidate : qt_window->menuBar()->findChildren<QAction*>())
            if (candidate->property("bcl_id").toInt() == 2200)
                action = candidate;
        ASSERT_NE(action, nullptr) << bar;
        EXPECT_EQ(action->text().toStdString(), "新規作成(&N)") << bar;
        EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N)) << bar;
        window.commands = 0;
        QTest::keyClick(qt_window, Qt::Key_N, Qt::ControlModifier);
        EXPECT_EQ(window.commands, 1) << bar;
    }
}
