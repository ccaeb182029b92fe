// The inspector panel beside the data page: it follows the selection, copies a
// row's values and is hidden and shown again from the menu.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "analysis_helpers.h"
#include "ui/core/commands.h"
#include "window_fixture.h"

using namespace analysis_test;

namespace {

constexpr int data_list_id = 2104;
constexpr int inspector_list_id = 2120;

class Readings_panel_test : public Window_test {
protected:
    QTreeWidget* list() const { return control<QTreeWidget>(data_list_id); }
    QTreeWidget* inspector() const { return control<QTreeWidget>(inspector_list_id); }
    QDockWidget* dock() const { return main_window()->findChild<QDockWidget*>(); }
    // The inspector row labelled `label` as "little|big".
    std::string values(const QString& label) const
    {
        const auto found = inspector()->findItems(label, Qt::MatchExactly, 0);
        return found.empty() ? "no row" : (found[0]->text(1) + "|" + found[0]->text(2)).toStdString();
    }
};

TEST_F(Readings_panel_test, FollowsTheSelectedValueCopiesARowAndHidesFromTheMenu)
{
    define(int_item("a", 2, true), int_item("b", 4), fix_str("s", 2));
    load_bytes(std::vector<std::uint8_t>{0xFE, 0xFF, 0x00, 0x00, 0x80, 0x7F, 0x82, 0xA0});
    start();
    window->show_page(Kestrix::data_page);
    window->refresh_dump();
    main_window()->resize(1100, 700);
    ASSERT_NE(dock(), nullptr);
    EXPECT_FALSE(dock()->isHidden());  // shown by default

    list()->setCurrentItem(list()->topLevelItem(0));
    EXPECT_EQ(values("16ビット符号付き"), "-2|-257");
    EXPECT_EQ(values("64ビット符号なし"), "11565946980773462014|18374405006850753184");
    list()->setCurrentItem(list()->topLevelItem(1));
    EXPECT_EQ(values("32ビット浮動小数点"), "+∞|4.6096e-41");
    list()->setCurrentItem(list()->topLevelItem(2));
    EXPECT_EQ(values("Shift-JIS文字"), "あ|あ");
    EXPECT_EQ(values("32ビット符号なし"), "|");  // past the end
    QTest::qWait(50);
    save_screenshot(*main_window(), "inspector");
    // A move of the dump's caret shows the caret's byte.
    auto* dump = main_window()->findChild<QWidget*>(QStringLiteral("DumpWnd"));
    dump->setFocus();
    QTest::keyClick(dump, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(values("8ビット符号なし"), "160|160");

    inspector()->setCurrentItem(inspector()->topLevelItem(0));
    QTest::keyClick(inspector(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "8ビット符号付き\t-96\t-96");

    window->command(cmd::inspector);
    EXPECT_TRUE(dock()->isHidden());
    window->command(cmd::inspector);
    EXPECT_FALSE(dock()->isHidden());
}

// The menu item's check mark says whether the panel is shown, however it was closed,
// and comes back with the data page's menu.
TEST_F(Readings_panel_test, TheMenusCheckMarkFollowsThePanel)
{
    start();
    window->show_page(Kestrix::data_page);
    ASSERT_NE(dock(), nullptr);
    EXPECT_TRUE(window->menu_item_checked(cmd::inspector));
    window->command(cmd::inspector);
    EXPECT_FALSE(window->menu_item_checked(cmd::inspector));
    window->command(cmd::inspector);
    EXPECT_TRUE(window->menu_item_checked(cmd::inspector));

    auto* close = dock()->findChild<QAbstractButton*>(QStringLiteral("qt_dockwidget_closebutton"));
    ASSERT_NE(close, nullptr);
    close->click();
    EXPECT_TRUE(dock()->isHidden());
    EXPECT_FALSE(window->menu_item_checked(cmd::inspector));
    window->show_page(Kestrix::definition_page);
    window->show_page(Kestrix::data_page);
    EXPECT_FALSE(window->menu_item_checked(cmd::inspector));

    window->command(cmd::inspector);
    dock()->setFloating(true);
    wait_until([] { return false; }, 50);
    EXPECT_TRUE(window->menu_item_checked(cmd::inspector));
    close->click();
    EXPECT_FALSE(window->menu_item_checked(cmd::inspector));
    window->command(cmd::inspector);
    EXPECT_TRUE(window->menu_item_checked(cmd::inspector));
}

// A value changed in place (an undefined byte: nothing else moves) shows its new
// bytes.
TEST_F(Readings_panel_test, FollowsAValueChangedInPlace)
{
    load_bytes(std::vector<std::uint8_t>{0x4B, 0x01});
    start();
    window->show_page(Kestrix::data_page);
    auto* tree = control<QTreeWidget>(2105);
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    list()->setCurrentItem(list()->topLevelItem(0));
    EXPECT_EQ(values("8ビット符号なし"), "75|75");
    modals.then([](QWidget* dialog) {
        field<QLineEdit>(dialog, 1702)->setText("A5");
        field<QPushButton>(dialog, 1)->click();
    });
    window->command(cmd::data_edit);
    ASSERT_EQ(doc().node_at(0)->value, 0xA5);
    EXPECT_EQ(values("8ビット符号なし"), "165|165");
    EXPECT_EQ(values("16ビット符号なし"), "421|42241");
}

} // namespace
