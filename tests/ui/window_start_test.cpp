// The main window as it starts: title, pages, controls, menus, the command line, and
// screenshots of both pages with the PNG example.
#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

#include "model/component.h"
#include "model/def_disp_visitor.h"
#include "window_fixture.h"

namespace {

// Each column's header and width; the last column's width is "rest" when it reaches
// the list's right edge and is still as wide as it was given.
std::vector<std::string> header_texts(QTreeWidget* list, int last_width)
{
    std::vector<std::string> texts;
    const int last = list->columnCount() - 1;
    for (int column = 0; column < last; ++column)
        texts.push_back(list->headerItem()->text(column).toStdString() + ":" + std::to_string(list->columnWidth(column)));
    if (last >= 0) {
        const QHeaderView* header = list->header();
        const bool fills = header->sectionPosition(last) + header->sectionSize(last) >= list->viewport()->width();
        const bool rest = fills && header->sectionSize(last) >= last_width;
        texts.push_back(list->headerItem()->text(last).toStdString() + ":" +
                        (rest ? std::string("rest") : std::to_string(header->sectionSize(last))));
    }
    return texts;
}

TEST_F(Window_test, StartsUntitledOnTheDefinitionPage)
{
    start();
    EXPECT_EQ(title(), "ケストリクス - 無題 [無題]");
    auto* tabs = control<QTabWidget>(2100);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0).toStdString(), "定義");
    EXPECT_EQ(tabs->tabText(1).toStdString(), "データ");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_FALSE(window->in_data_mode());

    auto* definitions = control<QTreeWidget>(2101);
    ASSERT_NE(definitions, nullptr);
    EXPECT_EQ(header_texts(definitions, 100),
              (std::vector<std::string>{"サイズ:80", "符号:50", "内容:350", "変数:100", "備考:rest"}));
    // Only the closing row.
    EXPECT_EQ(definitions->topLevelItemCount(), 1);
    auto* data = control<QTreeWidget>(2104);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(header_texts(data, 200), (std::vector<std::string>{"名称:200", "データ:rest"}));

    EXPECT_FALSE(window->menu_item_enabled(cmd::undo));
    EXPECT_FALSE(window->menu_item_enabled(cmd::redo));
    auto* toolbar = control<QToolBar>(4001);
    ASSERT_NE(toolbar, nullptr);
    std::vector<std::string> tips;
    for (QAction* action : toolbar->actions())
        tips.push_back(action->isSeparator() ? "|" : action->toolTip().toStdString() + (action->isEnabled() ? "" : "(off)"));
    EXPECT_EQ(tips, (std::vector<std::string>{"新規作成", "開く", "保存", "解析して出力", "|", "元に戻す(off)",
                                              "やり直し(off)", "環境設定", "|", "ヘルプ"}));
    ASSERT_NE(control<QStatusBar>(3001), nullptr);
    auto* progress = control<QProgressBar>(100);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->value(), 0);
    EXPECT_TRUE(definitions->hasFocus() || !main_window()->isActiveWindow());
}

TEST_F(Window_test, TheMenuBarIsTheDefinitionModes)
{
    start();
    std::vector<std::string> titles;
    for (QAction* action : main_window()->menuBar()->actions())
        titles.push_back(action->text().toStdString());
    EXPECT_EQ(titles, (std::vector<std::string>{"ファイル(&F)", "編集(&E)", "ヘルプ(&H)"}));
    EXPECT_EQ(window->menu_ids(), (std::vector<int>{2200, 2201, 2203, 2204, 0, 2202, 0, 2205, 2206, 2207, 2208, 2209, 2210}));
    // What a screen reader says of the first item: its name, and its key (not the
    // mnemonic's Alt+N).
    QMenu* file = main_window()->menuBar()->actions().front()->menu();
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(file)->child(0);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(QAccessible::Name).toStdString(), "新規作成(N)");
    EXPECT_EQ(item->text(QAccessible::Accelerator).toStdString(), "Ctrl+N");
}

TEST_F(Window_test, DefinitionAndDataFromTheCommandLineShowTheDataPage)
{
    const std::string definition = example("png/definition.kxd");
    const std::string data = example("png/sample.png");
    start({"/d", definition, data});
    EXPECT_EQ(title(), "ケストリクス - " + data + " [" + definition + "]");
    EXPECT_EQ(control<QTabWidget>(2100)->currentIndex(), 1);
    EXPECT_TRUE(window->in_data_mode());
    EXPECT_EQ(window->menu_ids(), (std::vector<int>{2200, 2201, 2203, 2204, 0, 2205, 2206, 2207, 0, 2320, 2321, 2322, 2323, 2330, 2209, 2210}));
    EXPECT_FALSE(control<QToolBar>(4001)->actions()[3]->isVisible());

    // The tree: the root (the definition's title) with its containers; the list: the
    // root's children.
    auto* tree = control<QTreeWidget>(2105);
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0).toStdString(), doc().title().to_utf8());
    EXPECT_GT(tree->topLevelItem(0)->childCount(), 0);
    auto* list = control<QTreeWidget>(2104);
    EXPECT_EQ(list->topLevelItemCount(), doc().root_component()->child_count());
    // The definition list has every row of the definition and the closing row.
    EXPECT_EQ(control<QTreeWidget>(2101)->topLevelItemCount(),
              static_cast<int>(definition_rows(doc().mutable_definition_items()).size()));
    EXPECT_TRUE(modals.seen.empty());
}

TEST_F(Window_test, ALoneArgumentIsADataFile)
{
    const std::string data = example("bmp/sample.bmp");
    start({data});
    EXPECT_EQ(title(), "ケストリクス - " + data + " [無題]");
    EXPECT_TRUE(window->in_data_mode());
}

TEST_F(Window_test, AMissingFileOnTheCommandLineIsReportedWithItsPathAsAWarning)
{
    const std::string missing = temp_path("no such file.bin");
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    modals.then([&icon](QWidget* modal) {
        icon = qobject_cast<QMessageBox*>(modal)->icon();
        press(QMessageBox::Ok)(modal);
    });
    start({missing});
    ASSERT_EQ(modals.seen.size(), 1u);
    EXPECT_EQ(modals.seen[0], "ケストリクス|" + missing + "は開けません。");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(title(), "ケストリクス - 無題 [無題]");
}

TEST_F(Window_test, ScreenshotsOfBothPagesWithThePngExample)
{
    start({"/d", example("png/definition.kxd"), example("png/sample.png")});
    main_window()->resize(1000, 700);
    auto* tree = control<QTreeWidget>(2105);
    // The first container below the root, then its first one: the list shows values.
    QTreeWidgetItem* table = tree->topLevelItem(0)->child(0);
    ASSERT_NE(table, nullptr);
    tree->setCurrentItem(table);
    ASSERT_GT(table->childCount(), 0);
    table->setExpanded(true);
    tree->setCurrentItem(table->child(0));
    EXPECT_GT(control<QTreeWidget>(2104)->topLevelItemCount(), 0);
    wait_until([] { return false; }, 100);
    save_screenshot(*main_window(), "data-page");
    window->show_page(Kestrix::definition_page);
    wait_until([] { return false; }, 100);
    save_screenshot(*main_window(), "definition-page");
}

} // namespace
