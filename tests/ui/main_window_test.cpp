// The main window's commands in both modes: title marks, undo per mode, the menus and
// accelerators of each mode, closing with its prompts, drops, failures, focus, and
// long operations that repaint without letting anything else in.
#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "toolkit/gui/bcl_htmlhelp.h"
#include "toolkit/gui/bcl_statusbar.h"
#include "toolkit/gui/detail/status_note.h"
#include "toolkit/progress.h"
#include "ui/core/settings_change.h"
#include "window_fixture.h"

namespace {

bool toolbar_button(QToolBar* toolbar, int id, bool (QAction::*state)() const)
{
    for (QAction* action : toolbar->actions())
        if (action->property("bcl_id").toInt() == id)
            return (action->*state)();
    ADD_FAILURE() << "no toolbar button " << id;
    return false;
}

class Main_window_test : public Window_test {
protected:
    // Copies of the PNG example, so that saving does not touch the shipped files.
    void start_with_png_copies()
    {
        definition_path = temp_path("png.kxd");
        data_path = temp_path("sample.png");
        std::filesystem::copy_file(example("png/definition.kxd"), definition_path);
        std::filesystem::copy_file(example("png/sample.png"), data_path);
        start({"/d", definition_path, data_path});
    }

    void activate()
    {
        main_window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main_window()));
    }

    bool undo_enabled() const
    {
        const bool menu = window->menu_item_enabled(cmd::undo);
        EXPECT_EQ(menu, toolbar_button(control<QToolBar>(4001), cmd::undo, &QAction::isEnabled));
        return menu;
    }

    std::string definition_path;
    std::string data_path;
};

TEST_F(Main_window_test, TitleMarksAndUndoFollowTheMode)
{
    start_with_png_copies();
    EXPECT_EQ(title(), "ケストリクス - " + data_path + " [" + definition_path + "]");
    EXPECT_FALSE(undo_enabled());

    // A change of the data marks the data side and enables undo in data mode only.
    doc().insert_bytes(0, 1);
    window->update_title();
    window->update_command_states();
    EXPECT_EQ(title(), "ケストリクス - " + data_path + " * [" + definition_path + "]");
    EXPECT_TRUE(undo_enabled());
    window->show_page(Kestrix::definition_page);
    EXPECT_FALSE(undo_enabled());
    window->command(cmd::undo);
    EXPECT_EQ(doc().size(), std::filesystem::file_size(data_path) + 1);

    window->show_page(Kestrix::data_page);
    window->command(cmd::undo);
    EXPECT_EQ(doc().size(), std::filesystem::file_size(data_path));
    EXPECT_FALSE(undo_enabled());
    EXPECT_TRUE(window->menu_item_enabled(cmd::redo));
    window->command(cmd::redo);
    EXPECT_EQ(doc().size(), std::filesystem::file_size(data_path) + 1);

    // Saving takes the mark away.
    window->command(cmd::file_save);
    EXPECT_EQ(title(), "ケストリクス - " + data_path + " [" + definition_path + "]");
    EXPECT_EQ(std::filesystem::file_size(data_path), doc().size());
}

TEST_F(Main_window_test, TheDataModeHasNoExportNorSettingsAndCtrlEDoesNothingThere)
{
    start_with_png_copies();
    activate();
    auto* toolbar = control<QToolBar>(4001);
    EXPECT_FALSE(toolbar_button(toolbar, cmd::text_export, &QAction::isVisible));
    EXPECT_FALSE(toolbar_button(toolbar, cmd::settings, &QAction::isVisible));
    QTest::keyClick(main_window(), Qt::Key_E, Qt::ControlModifier);
    wait_until([] { return false; }, 50);
    EXPECT_TRUE(modals.seen.empty());

    // On the definition page the same key opens the settings.
    window->show_page(Kestrix::definition_page);
    EXPECT_TRUE(toolbar_button(toolbar, cmd::settings, &QAction::isVisible));
    EXPECT_TRUE(toolbar_button(toolbar, cmd::text_export, &QAction::isVisible));
    modals.then(cancel_dialog());
    QTest::keyClick(main_window(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(modals.seen, (std::vector<std::string>{"環境設定"}));
    // A command by id ignores the mode's menu but not its check.
    window->show_page(Kestrix::data_page);
    window->command(cmd::settings);
    EXPECT_EQ(modals.seen.size(), 1u);
}

TEST_F(Main_window_test, ClosingAsksForTheDefinitionThenTheDataAndCancelKeepsTheWindow)
{
    start();
    change_settings(doc(), Bcl_str("t"), Byte_order::big_endian);
    doc().insert_bytes(0, 4);
    const std::string definition_prompt = "ケストリクス|定義 無題 は変更されています。保存しますか？";
    const std::string data_prompt = "ケストリクス|データ 無題 は変更されています。保存しますか？";

    modals.then(press(QMessageBox::Cancel));
    window->command(cmd::exit);
    EXPECT_EQ(modals.seen, (std::vector<std::string>{definition_prompt}));
    EXPECT_FALSE(window->destroyed());

    modals.then(press(QMessageBox::No)).then(press(QMessageBox::Cancel));
    main_window()->close();
    wait_until([&] { return modals.seen.size() == 3; });
    EXPECT_EQ(modals.seen, (std::vector<std::string>{definition_prompt, definition_prompt, data_prompt}));
    EXPECT_FALSE(window->destroyed());
    EXPECT_TRUE(main_window()->isVisible());

    modals.then(press(QMessageBox::No)).then(press(QMessageBox::No));
    window->command(cmd::exit);
    EXPECT_TRUE(window->destroyed());
    EXPECT_FALSE(main_window()->isVisible());
}

TEST_F(Main_window_test, AFailedSaveInThePromptShowsThePathAndAbandonsTheCommand)
{
    // The definition's folder disappears before it is saved again.
    const std::string folder = temp_path("gone");
    const std::string definition = folder + "/png.kxd";
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(example("png/definition.kxd"), definition);
    start({"/d", definition});
    change_settings(doc(), Bcl_str("t"), Byte_order::big_endian);
    std::filesystem::remove_all(folder);

    modals.then(press(QMessageBox::Yes)).then(press(QMessageBox::Ok));
    window->command(cmd::file_new);
    ASSERT_EQ(modals.seen.size(), 2u);
    EXPECT_EQ(modals.seen[0], "ケストリクス|定義 " + definition + " は変更されています。保存しますか？");
    EXPECT_EQ(modals.seen[1].rfind("ケストリクス|" + definition, 0), 0u) << modals.seen[1];
    // New was abandoned: the changed definition is still there.
    EXPECT_TRUE(doc().is_definition_modified());
    EXPECT_EQ(doc().title(), "t");
    EXPECT_EQ(title(), "ケストリクス - 無題 [" + definition + " *]");
}

// Qt's own parts of the file dialog (its file list) are Japanese too on a system
// whose locale is not (the tests' main sets LANG=C.UTF-8).
TEST_F(Main_window_test, TheFileDialogsListIsJapaneseWhateverTheSystemsLocale)
{
    ASSERT_NE(QLocale::system().language(), QLocale::Japanese);
    const std::string folder = temp_path("files");
    std::filesystem::create_directories(folder + "/sub");
    std::ofstream(folder + "/a.kxd") << "abc";
    start();
    std::map<std::string, std::vector<std::string>> rows;
    modals.then([&](QWidget* modal) {
        qobject_cast<QFileDialog*>(modal)->setDirectory(QString::fromStdString(folder));
        auto* list = modal->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(list, nullptr);
        ASSERT_TRUE(wait_until([list] { return list->model()->rowCount(list->rootIndex()) == 2; }));
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 4; ++column)
                rows[list->model()->index(row, 0, list->rootIndex()).data().toString().toStdString()].push_back(
                    list->model()->index(row, column, list->rootIndex()).data().toString().toStdString());
        save_screenshot(*modal, "open-dialog-files");
        cancel_dialog()(modal);
    });
    window->command(cmd::file_open);
    const QDateTime changed = QFileInfo(QString::fromStdString(folder + "/a.kxd")).lastModified();
    const std::string date = QLocale(QLocale::Japanese).toString(changed, QLocale::ShortFormat).toStdString();
    ASSERT_EQ(rows["sub"].size(), 4u);
    ASSERT_EQ(rows["a.kxd"].size(), 4u);
    EXPECT_EQ(rows["sub"][2], "フォルダ");
    EXPECT_EQ(rows["a.kxd"][3], date);
    EXPECT_NE(date.find('/'), std::string::npos) << date;
}

TEST_F(Main_window_test, OpenOffersTheModesFiltersInOrder)
{
    start();
    std::vector<std::string> filters;
    const auto read_filters = [&filters](QWidget* modal) {
        for (const QString& filter : qobject_cast<QFileDialog*>(modal)->nameFilters())
            filters.push_back(filter.toStdString());
    };
    modals.then([&](QWidget* modal) {
        read_filters(modal);
        save_screenshot(*modal, "open-dialog");
        cancel_dialog()(modal);
    });
    window->command(cmd::file_open);
    EXPECT_EQ(filters, (std::vector<std::string>{"ケストリクス定義ファイル (*.kxd)", "全てのファイル (*)"}));

    filters.clear();
    window->show_page(Kestrix::data_page);
    modals.then([&](QWidget* modal) {
        read_filters(modal);
        choose_file(example("wav/sample.wav"))(modal);
    });
    window->command(cmd::file_open);
    EXPECT_EQ(filters, (std::vector<std::string>{"全てのファイル (*)"}));
    EXPECT_EQ(doc().data_path().bytes(), example("wav/sample.wav"));
}

TEST_F(Main_window_test, ADroppedFileOpensInTheCurrentMode)
{
    start();
    window->show_page(Kestrix::data_page);
    drop_files(main_window(), {example("png/definition.kxd"), example("png/sample.png")});
    // The first file, a definition, is opened as data on the data page.
    EXPECT_EQ(doc().data_path().bytes(), example("png/definition.kxd"));
    EXPECT_TRUE(doc().definition_path().empty());

    window->show_page(Kestrix::definition_page);
    drop_files(main_window(), {example("png/definition.kxd")});
    EXPECT_EQ(doc().definition_path().bytes(), example("png/definition.kxd"));
}

TEST_F(Main_window_test, TabCyclesThroughTheShownPageAndCtrlTabSwitchesPages)
{
    start();
    activate();
    window->show_page(Kestrix::data_page);
    auto* tree = control<QTreeWidget>(2105);
    auto* list = control<QTreeWidget>(2104);
    QWidget* dump = main_window()->findChild<QWidget*>(QStringLiteral("DumpWnd"));
    QWidget* tab_bar = control<QTabWidget>(2100)->tabBar();
    ASSERT_NE(dump, nullptr);
    auto* inspector = control<QTreeWidget>(2120);
    tree->setFocus();
    const auto go_round = [](const std::vector<QWidget*>& expected_widgets, bool backward) {
        for (QWidget* expected : expected_widgets) {
            QTest::keyClick(QApplication::focusWidget(), backward ? Qt::Key_Backtab : Qt::Key_Tab,
                            backward ? Qt::ShiftModifier : Qt::NoModifier);
            EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
        }
    };
    go_round({list, dump, inspector, tab_bar, tree}, false);
    go_round({tab_bar, inspector, dump, list, tree}, true);
    // The find bar, once shown, is a stop after the inspector; inside it Tab goes
    // round its field, buttons and the checked kind.
    window->command(cmd::find);
    auto* bar = control<QWidget>(2122);
    ASSERT_TRUE(bar->isVisible());
    const auto in_bar = [bar](const char* name) { return bar->findChild<QWidget*>(QString::fromLatin1(name)); };
    const std::vector<QWidget*> bar_stops{in_bar("find_text"), in_bar("find_next"), in_bar("find_previous"),
                                          in_bar("find_close"), in_bar("find_kind_0")};
    inspector->setFocus();
    go_round({bar_stops[0], bar_stops[1], bar_stops[2], bar_stops[3], bar_stops[4], tab_bar, tree}, false);
    go_round({tab_bar, bar_stops[4], bar_stops[3], bar_stops[2], bar_stops[1], bar_stops[0], inspector}, true);
    // Closed, the panels are no stops.
    window->command(cmd::inspector);
    QTest::keyClick(bar_stops[0], Qt::Key_Escape);
    dump->setFocus();
    go_round({tab_bar, tree}, false);
    window->command(cmd::inspector);

    QTest::keyClick(list, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window->page(), Kestrix::definition_page);
    EXPECT_FALSE(window->in_data_mode());
    auto* definitions = control<QTreeWidget>(2101);
    EXPECT_EQ(QApplication::focusWidget(), definitions);
    // On the definition page Tab goes between the list and the tab control.
    QTest::keyClick(definitions, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), tab_bar);
    QTest::keyClick(tab_bar, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), definitions);
    QTest::keyClick(definitions, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window->page(), Kestrix::data_page);
    EXPECT_TRUE(window->in_data_mode());
    EXPECT_EQ(QApplication::focusWidget(), tree);
}

TEST_F(Main_window_test, HelpShowsTheContentsAndThePagesTopic)
{
    start();
    activate();
    window->command(cmd::help);
    EXPECT_EQ(help_viewer().shown_page(), "index.html");
    QTest::keyClick(main_window(), Qt::Key_F1);
    EXPECT_EQ(help_viewer().shown_page(), "topic_14.html");
    window->show_page(Kestrix::data_page);
    main_window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_window()));
    QTest::keyClick(main_window(), Qt::Key_F1);
    EXPECT_EQ(help_viewer().shown_page(), "topic_42.html");
    // The find bar and the inspector have pages of their own.
    for (const auto& [focused, page] : {std::pair{control<QWidget>(2122), "topic_56.html"},
                                        std::pair{control<QWidget>(2120), "topic_58.html"}}) {
        main_window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main_window()));
        window->command(cmd::find);
        focused->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        EXPECT_EQ(help_viewer().shown_page(), page);
    }

    // Closing the window closes the help.
    window->command(cmd::exit);
    EXPECT_EQ(help_viewer().shown_page(), "");
}

TEST_F(Main_window_test, WithoutItsPagesHelpSaysItCannotOpen)
{
    start();
    help_viewer().set_path(temp_path("nowhere/index.html"));
    modals.then(press(QMessageBox::Ok));
    window->command(cmd::help);
    EXPECT_EQ(modals.seen, (std::vector<std::string>{"エラー|HtmlHelpを開けません。"}));
    EXPECT_EQ(help_viewer().shown_page(), "");
    help_viewer().set_file("help/index.html");
    EXPECT_TRUE(help_viewer().available());
}

// The progress bar shows only while something runs: busy until a total is known, and
// a tick after a quiet stretch lets the window repaint.
TEST_F(Main_window_test, TheProgressBarShowsOnlyWhileAnOperationRuns)
{
    start();
    auto* progress = control<QProgressBar>(100);
    const auto state = [&] {
        return std::string(progress->property("running").toBool() ? "shown" : "hidden") +
               (progress->maximum() == 0 ? " busy" : "");
    };
    EXPECT_EQ(state(), "hidden");
    // A field's note shows in the bar's place, hiding nothing, until an operation starts.
    show_status_note(*main_window(), "note");
    EXPECT_EQ(status_note(), "note");
    EXPECT_TRUE(control<QStatusBar>(3001)->findChild<QLabel*>(QStringLiteral("status_text"))->isVisible());
    reporter().set_text(Bcl_str::from_utf8("更新しています・・・"));
    EXPECT_EQ(status_note(), "");
    EXPECT_EQ(state(), "shown busy");
    reporter().begin_progress(10);
    EXPECT_EQ(state(), "shown");
    reporter().end_progress();
    EXPECT_EQ(state(), "shown busy");
    bool repainted = false;
    QTimer::singleShot(0, main_window(), [&] { repainted = true; });
    std::this_thread::sleep_for(Bcl_statusbar::redraw_interval + std::chrono::milliseconds(10));
    reporter().tick();
    EXPECT_TRUE(repainted);
    reporter().set_text(Bcl_str());
    EXPECT_EQ(state(), "hidden");
}

// Counts the paints of the progress bar and what it and the status text showed then.
class Paint_recorder : public QObject {
public:
    Paint_recorder(QProgressBar* bar, QLabel* text) : bar_(bar), text_(text) { bar->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            values.push_back(bar_->value());
            texts.insert(text_->text().toStdString());
        }
        return false;
    }
    std::vector<int> values;
    std::set<std::string> texts;

private:
    QProgressBar* bar_;
    QLabel* text_;
};

TEST_F(Main_window_test, ALongLoadRepaintsItsProgressAndLetsNoInputIn)
{
    const std::string big = temp_path("big.bin");
    {
        std::ofstream out(big, std::ios::binary);
        std::mt19937 random(12);
        std::vector<char> block(1 << 20);
        for (int i = 0; i < 8; ++i) {
            for (char& byte : block)
                byte = static_cast<char>(random());
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    }
    start();
    window->show_page(Kestrix::data_page);
    activate();
    auto* progress = control<QProgressBar>(100);
    auto* status_text = control<QStatusBar>(3001)->findChild<QLabel*>(QStringLiteral("status_text"));
    EXPECT_FALSE(progress->property("running").toBool());
    Paint_recorder paints(progress, status_text);
    // What the user does while the file loads (the timer fires in the first repaint):
    // Ctrl+O, the close box.
    bool tried = false;
    drop_files(main_window(), {big}, [&] {
        tried = true;
        QTest::keyClick(main_window(), Qt::Key_O, Qt::ControlModifier);
        main_window()->close();
    });
    EXPECT_TRUE(tried);
    wait_until([] { return false; }, 100);

    EXPECT_EQ(doc().size(), 8u << 20);
    const bool moved = std::any_of(paints.values.begin(), paints.values.end(), [](int v) { return v > 0 && v < 100; });
    EXPECT_TRUE(moved) << paints.values.size() << " paints";
    EXPECT_TRUE(paints.texts.count("読み込んでいます・・・"));
    EXPECT_TRUE(paints.texts.count("解析しています・・・"));
    EXPECT_FALSE(progress->property("running").toBool());
    // The load's texts are gone; the caret's place is back.
    EXPECT_EQ(status_text->text().toStdString(), "位置 00000000 (0)");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Neither the open nor the close happened.
    EXPECT_TRUE(modals.seen.empty());
    EXPECT_FALSE(window->destroyed());
    EXPECT_TRUE(main_window()->isVisible());
}

// Escape or a click on the stop button during a long load stops it: the document
// keeps what it held, no box opens, the status bar says so, and the window works as
// before.
class Stop_window_test : public Main_window_test, public testing::WithParamInterface<bool> {};

TEST_P(Stop_window_test, StopsALoadAndLeavesTheDocumentAsItWas)
{
    const bool by_escape = GetParam();
    const std::string big = temp_path("big.bin");
    {
        std::ofstream out(big, std::ios::binary);
        const std::vector<char> block(1 << 20, 'K');
        for (int i = 0; i < 8; ++i)
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    start({"/d", example("png/definition.kxd"), example("png/sample.png")});
    main_window()->resize(900, 500);
    activate();
    const std::uint32_t size_before = doc().size();
    const std::string title_before = title();
    auto* progress = control<QProgressBar>(100);
    bool stopped = false;
    drop_files(main_window(), {big}, [&] {
        stopped = true;
        // While it runs, the bar shows its stop button and names its key.
        EXPECT_EQ(progress->accessibleName().toStdString(), "中止 (Esc)");
        if (by_escape) {
            save_screenshot(*control<QStatusBar>(3001), "status_bar_stop");
            // Posted, as the window system queues it during the operation.
            QCoreApplication::postEvent(main_window(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        } else {
            // Through the window, as the window system sends it; the bar's left part
            // is the progress, not the button.
            const auto click = [&](int x) {
                QTest::mouseClick(main_window()->windowHandle(), Qt::LeftButton, {},
                                  progress->mapTo(main_window(), QPoint(x, progress->height() / 2)));
            };
            click(5);
            EXPECT_FALSE(reporter().stop_requested());
            click(progress->width() - 5);
        }
    });
    EXPECT_TRUE(stopped);
    wait_until([] { return false; }, 100);

    EXPECT_EQ(doc().size(), size_before);
    EXPECT_EQ(title(), title_before);
    EXPECT_TRUE(modals.seen.empty());
    EXPECT_EQ(status_note(), "中止しました。");
    EXPECT_FALSE(progress->property("running").toBool());
    EXPECT_EQ(progress->accessibleName().toStdString(), "");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Nothing of the stop is left over: the same file now loads.
    drop_files(main_window(), {big});
    wait_until([] { return false; }, 100);
    EXPECT_EQ(doc().size(), 8u << 20);
    EXPECT_EQ(status_note(), "");
}

INSTANTIATE_TEST_SUITE_P(ByEscapeAndByTheButton, Stop_window_test, testing::Bool());

} // namespace
