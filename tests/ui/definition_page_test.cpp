// The definition page driven as a user drives it: items added through their
// dialogs, edited, deleted and dragged, with undo and redo.
#include <QApplication>
#include <QImage>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <functional>

#include "edit/definition_edits.h"
#include "model/def_int.h"
#include "model/items.h"
#include "model/limits.h"
#include "support/temp_files.h"
#include "window_fixture.h"

namespace {

constexpr int definition_list_id = 2101;

// Puts texts into a dialog's fields by id (a number picks a drop-down entry) and
// confirms it; with a name, a picture of the filled dialog is saved first.
Modal_script::Answer fill_and_ok(std::vector<std::pair<int, QString>> texts, std::string screenshot = {})
{
    return [texts, screenshot](QWidget* dialog) {
        for (const auto& [id, text] : texts) {
            if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("id_%1").arg(id)))
                combo->setCurrentIndex(text.toInt());
            else
                field<QLineEdit>(dialog, id)->setText(text);
        }
        if (!screenshot.empty())
            save_screenshot(*dialog, screenshot);
        field<QPushButton>(dialog, 1)->click();
    };
}

void mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    QApplication::processEvents();
}

QPoint centre(QTreeWidget* list, int row) { return list->visualItemRect(list->topLevelItem(row)).center(); }

enum class Drag_end { drop, right_button, escape };

// Presses the left button on row `from` of `list` and moves to row `to`; returns
// the cursor shown there.
Qt::CursorShape begin_drag(QTreeWidget* list, int from, int to)
{
    QWidget* viewport = list->viewport();
    mouse(viewport, QEvent::MouseButtonPress, centre(list, from), Qt::LeftButton, Qt::LeftButton);
    mouse(viewport, QEvent::MouseMove, centre(list, from) + QPoint(0, 12), Qt::NoButton, Qt::LeftButton);
    mouse(viewport, QEvent::MouseMove, centre(list, to), Qt::NoButton, Qt::LeftButton);
    return list->cursor().shape();
}

// Ends a drag over row `to` as `end` says. The right button is pressed as the
// window system does it, followed by its request for a context menu; no popup may
// open then.
void end_drag(QTreeWidget* list, int to, Drag_end end)
{
    QWidget* viewport = list->viewport();
    if (end == Drag_end::right_button) {
        bool popup = false;
        QTimer closer;
        closer.setSingleShot(true);
        QObject::connect(&closer, &QTimer::timeout, [&popup] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                popup = true;
                menu->close();
            }
        });
        closer.start(50);
        mouse(viewport, QEvent::MouseButtonPress, centre(list, to), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
        QContextMenuEvent request(QContextMenuEvent::Mouse, centre(list, to), viewport->mapToGlobal(centre(list, to)));
        QApplication::sendEvent(viewport, &request);
        EXPECT_FALSE(popup) << "the right button that cancelled the drag opened a popup";
    }
    if (end == Drag_end::escape)
        QTest::keyClick(list, Qt::Key_Escape);
    mouse(viewport, QEvent::MouseButtonRelease, centre(list, to), Qt::LeftButton, Qt::NoButton);
}

// Drags row `from` of `list` to row `to` with the left button and ends the drag as
// `end` says; returns the cursor shown over `to`.
Qt::CursorShape drag_row(QTreeWidget* list, int from, int to, Drag_end end)
{
    const Qt::CursorShape shape = begin_drag(list, from, to);
    end_drag(list, to, end);
    return shape;
}

class Definition_page_test : public Window_test {
protected:
    QTreeWidget* list() const { return control<QTreeWidget>(definition_list_id); }
    std::vector<std::string> rows() const { return rows_of(list()); }

    void select(int row) const { list()->setCurrentItem(list()->topLevelItem(row)); }

    void add(int row, Def_kind kind, Modal_script::Answer answer)
    {
        select(row);
        modals.then(std::move(answer));
        window->command(add_command(kind));
        EXPECT_EQ(modals.pending(), 0u);
    }

    // Drags row `from` to row `to`, noting the cursor shown over `to`.
    void drag(int from, int to, Drag_end end = Drag_end::drop) { drop_cursor = drag_row(list(), from, to, end); }

    Qt::CursorShape drop_cursor = Qt::ArrowCursor;
};

// Every kind is added through its dialog on the top level and on the rows that
// close an If's then-list, its else-list and the lists of a For and a While.
const std::vector<std::string> every_kind_rows = {
    "||if (a == 1) {||",        "文字列||  then_str||",    "||} else {||", "4||  else_str||",
    "||}||",                    "||loop for (3) {||",      "1||  count|n|", "set||  ref||",
    "||}||",                    "||w while (n > 0) {||",   "2 + 文字列||  text||", "||}||",
    "8||ratio||浮動小数点数",  "n * 4||data||バイト列",   "||set (n - 1)|n|",         "||定義 (set) {||",
    "||}||",                    "||||"};

// The fixed string's dialog takes a length expression and an encoding; OK waits
// for a length that is not empty nor 0.
TEST_F(Definition_page_test, AFixedStringTakesALengthExpressionAndAnEncoding)
{
    start();
    add(0, Def_kind::fix_str, [](QWidget* dialog) {
        auto* length = field<QLineEdit>(dialog, 501);
        auto* ok = field<QPushButton>(dialog, 1);
        field<QLineEdit>(dialog, 500)->setText("name");
        for (const char* refused : {"", "0"}) {
            length->setText(refused);
            EXPECT_FALSE(ok->isEnabled()) << refused;
        }
        length->setText("name_length * 2");
        EXPECT_TRUE(ok->isEnabled());
        auto* encoding = dialog->findChild<QComboBox*>("id_502");
        ASSERT_EQ(encoding->count(), 6);
        encoding->setCurrentIndex(3);
        save_screenshot(*dialog, "fix-str-encoding-dialog");
        ok->click();
    });
    EXPECT_EQ(rows(), (std::vector<std::string>{"name_length * 2||name||UTF-16LE", "||||"}));
}

TEST_F(Definition_page_test, EveryKindIsAddedThroughItsDialogIntoTheListTheRowCloses)
{
    start();
    ASSERT_EQ(rows(), std::vector<std::string>{"||||"});
    add(0, Def_kind::if_branch, fill_and_ok({{1000, "a == 1"}}, "if-dialog"));
    add(3, Def_kind::for_loop, fill_and_ok({{801, "loop"}, {800, "3"}}, "for-dialog"));
    add(5, Def_kind::while_loop, fill_and_ok({{900, "w"}, {901, "n > 0"}}, "while-dialog"));
    add(7, Def_kind::set_variable, fill_and_ok({{1100, "n"}, {1101, "n - 1"}}, "set-variable-dialog"));
    add(8, Def_kind::def_set, fill_and_ok({{1300, "set"}}, "def-set-dialog"));
    add(1, Def_kind::null_str, fill_and_ok({{700, "then_str"}}, "null-str-dialog"));
    add(3, Def_kind::fix_str, fill_and_ok({{500, "else_str"}, {501, "4"}}, "fix-str-dialog"));
    add(6, Def_kind::integer, fill_and_ok({{300, "count"}, {304, "n"}}, "integer-new-dialog"));
    add(7, Def_kind::def_ref, fill_and_ok({{1400, "ref"}, {1401, "set"}}, "def-ref-dialog"));
    add(10, Def_kind::flex_str, fill_and_ok({{600, "text"}, {601, "1"}}, "flex-str-dialog"));
    add(12, Def_kind::floating, fill_and_ok({{2100, "ratio"}, {2101, "1"}}, "float-dialog"));
    add(13, Def_kind::byte_block, fill_and_ok({{2120, "data"}, {2121, "n * 4"}}, "bytes-dialog"));
    EXPECT_EQ(rows(), every_kind_rows);
    EXPECT_EQ(title(), "ケストリクス - 無題 [無題 *]");

    // Cancel adds nothing.
    select(0);
    modals.then(cancel_dialog());
    window->command(cmd::def_add_first);
    EXPECT_EQ(rows(), every_kind_rows);

    // Undo all gives the empty definition, redo all the same rows and the same file.
    const std::string saved = temp_path("all.kxd");
    doc().save_definition(File_path(saved));
    for (int step = 0; step < 12; ++step)
        window->command(cmd::undo);
    EXPECT_EQ(rows(), std::vector<std::string>{"||||"});
    EXPECT_FALSE(window->menu_item_enabled(cmd::undo));
    for (int step = 0; step < 12; ++step)
        window->command(cmd::redo);
    EXPECT_EQ(rows(), every_kind_rows);
    const std::string again = temp_path("again.kxd");
    doc().save_definition(File_path(again));
    EXPECT_EQ(file_contents(again), file_contents(saved));
}

TEST_F(Definition_page_test, AnIntegerOfEightBytesIsAddedAndSavedInTheLaterFormat)
{
    start();
    add(0, Def_kind::integer, fill_and_ok({{300, "offset"}, {301, "3"}}, "integer-8-bytes-dialog"));
    EXPECT_EQ(rows().front(), "8||offset||");
    const std::string saved = temp_path("wide.kxd");
    doc().save_definition(File_path(saved));
    EXPECT_EQ(file_contents(saved).substr(3, 4), std::string("\x00\x65\x00\x65", 4));

    // Down to 4 bytes: a 64-bit named value cannot come along, and OK says so and
    // leaves the item as it was.
    auto item = std::make_unique<Def_int>(Bcl_str("w"), false, 8, Def_int::decimal, Bcl_str());
    item->set_named_values({{1ll << 40, Bcl_str("big")}, {4294967295ll, Bcl_str("all")}});
    doc().insert_item(std::move(item), nullptr);
    window->refresh_definition_list(nullptr);
    modals.then([this](QWidget* dialog) {
        modals.then(press(QMessageBox::Ok));
        field<QComboBox>(dialog, 301)->setCurrentIndex(2);
        field<QPushButton>(dialog, 1)->click();
        EXPECT_TRUE(dialog->isVisible());
        field<QPushButton>(dialog, 2)->click();
    });
    select(1);
    window->command(cmd::def_edit);
    ASSERT_EQ(modals.seen.size(), 3u);
    EXPECT_EQ(modals.seen[2], "ケストリクス|定義値が整数のサイズに入りません。");
    EXPECT_EQ(rows()[1], "8||w||4294967295:all  1099511627776:big  ");
}

TEST_F(Definition_page_test, ThePopupOpensOnInsertableRowsWithTheRowsStates)
{
    start();
    add(0, Def_kind::if_branch, fill_and_ok({{1000, "x"}}));
    std::vector<std::string> seen;
    answer_popup(&seen, QString());
    right_click(list(), 1);  // "} else {": insertable only
    EXPECT_EQ(seen, (std::vector<std::string>{"追加", "編集(off)", "削除(off)"}));
    seen.clear();
    answer_popup(&seen, QStringLiteral("削除"));
    right_click(list(), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"追加", "編集", "削除"}));
    EXPECT_EQ(rows(), std::vector<std::string>{"||||"});
    window->command(cmd::undo);
    EXPECT_EQ(rows(), (std::vector<std::string>{"||if (x) {||", "||} else {||", "||}||", "||||"}));
    EXPECT_TRUE(list()->topLevelItem(0)->isSelected());
}

// An integer with three flags, placed directly in the definition.
class Flag_rows_test : public Definition_page_test {
protected:
    void SetUp() override
    {
        Definition_page_test::SetUp();
        start();
        auto item = std::make_unique<Def_int>(Bcl_str("flags"), false, 1, Def_int::decimal, Bcl_str());
        Named_values values{{-1, Bcl_str("all")}, {1, Bcl_str("one")}};
        item->set_named_values(values);
        item->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("a"), 1, Bcl_str()));
        item->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("b"), 3, Bcl_str("v")));
        item->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("c"), 4, Bcl_str()));
        definition_edits::add_item(doc(), {}, std::move(item));
        window->refresh_definition_list(nullptr);
    }
};

const std::vector<std::string> three_flag_rows = {"1||flags||1:one  4294967295:all  ", "bit 0||  a||",
                                                  "bit 1 - 3||  b|v|", "bit 4 - 7||  c||", "||||"};

TEST_F(Flag_rows_test, EditingTheIntegerDownToOneFlagLeavesOneFlagRowAndUndoBringsThreeBack)
{
    ASSERT_EQ(rows(), three_flag_rows);
    modals.then([](QWidget* dialog) {
        auto* flags = field<QTreeWidget>(dialog, 307);
        EXPECT_EQ(rows_of(flags), (std::vector<std::string>{"a|1||", "b|3|v|", "c|4||", "|||"}));
        auto* values = field<QTreeWidget>(dialog, 305);
        EXPECT_EQ(rows_of(values), (std::vector<std::string>{"-1(4294967295)|all", "1|one"}));
        save_screenshot(*dialog, "integer-dialog");
        for (int deleted = 0; deleted < 2; ++deleted) {
            std::vector<std::string> seen;
            answer_popup(&seen, QStringLiteral("削除"));
            right_click(flags, 0);
            EXPECT_EQ(seen, (std::vector<std::string>{"追加", "編集", "削除"}));
        }
        EXPECT_EQ(rows_of(flags), (std::vector<std::string>{"c|4||", "|||"}));
        field<QPushButton>(dialog, 1)->click();
    });
    select(0);
    window->command(cmd::def_edit);
    EXPECT_EQ(rows(), (std::vector<std::string>{"1||flags||1:one  4294967295:all  ", "bit 0 - 3||  c||", "||||"}));
    window->command(cmd::undo);
    EXPECT_EQ(rows(), three_flag_rows);
}

TEST_F(Flag_rows_test, CancelAfterChangingFlagsLeavesTheItemAsItWas)
{
    modals.then([](QWidget* dialog) {
        std::vector<std::string> seen;
        answer_popup(&seen, QStringLiteral("削除"));
        right_click(field<QTreeWidget>(dialog, 307), 1);
        field<QPushButton>(dialog, 2)->click();
    });
    select(0);
    window->command(cmd::def_edit);
    EXPECT_EQ(rows(), three_flag_rows);
    EXPECT_FALSE(window->menu_item_enabled(cmd::undo));
}

void type(QWidget* field, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
}

TEST_F(Flag_rows_test, AFlagWithANamedValueIsAddedOnTheClosingRowThroughItsDialogs)
{
    modals
        .then([](QWidget* dialog) {
            answer_popup(nullptr, QStringLiteral("追加"));
            right_click(field<QTreeWidget>(dialog, 307), 3);
            field<QPushButton>(dialog, 1)->click();
        })
        .then([](QWidget* dialog) {
            auto* bits = field<QLineEdit>(dialog, 401);
            auto* ok = field<QPushButton>(dialog, 1);
            EXPECT_EQ(bits->text().toStdString(), "1");
            field<QLineEdit>(dialog, 400)->setText(QStringLiteral("d"));
            bits->setFocus();
            bits->selectAll();
            type(bits, QStringLiteral("0"));
            EXPECT_EQ(bits->text().toStdString(), "0");
            EXPECT_FALSE(ok->isEnabled());
            type(bits, QStringLiteral("2"));
            EXPECT_EQ(bits->text().toStdString(), "2");
            EXPECT_TRUE(ok->isEnabled());
            type(bits, QStringLiteral("9"));  // 29 is within 0 to 32
            type(bits, QStringLiteral("9"));  // 299 is not: refused
            EXPECT_EQ(bits->text().toStdString(), "29");
            auto* variable = field<QLineEdit>(dialog, 402);
            variable->setFocus();
            type(variable, QStringLiteral("1a-b変数"));
            EXPECT_EQ(variable->text().toStdString(), "ab変数");
            answer_popup(nullptr, QStringLiteral("追加"));
            right_click(field<QTreeWidget>(dialog, 403), 0);
            EXPECT_EQ(rows_of(field<QTreeWidget>(dialog, 403)), std::vector<std::string>{"0|zero"});
            save_screenshot(*dialog, "bitflag-dialog");
            ok->click();
        })
        .then([](QWidget* dialog) {
            auto* value = field<QLineEdit>(dialog, 1200);
            EXPECT_EQ(value->text().toStdString(), "0");
            value->setFocus();
            type(value, QStringLiteral("-"));  // an unsigned integer's flag: no minus
            EXPECT_EQ(value->text().toStdString(), "0");
            field<QLineEdit>(dialog, 1201)->setText(QStringLiteral("zero"));
            save_screenshot(*dialog, "enum-val-dialog");
            field<QPushButton>(dialog, 1)->click();
        });
    select(0);
    window->command(cmd::def_edit);
    EXPECT_EQ(modals.pending(), 0u);
    EXPECT_EQ(rows()[4], "bit 8 - 36||  d|ab変数|0:zero  ");
}

// Enter on a row of the integer dialog's lists opens the row's dialog and nothing
// else: cancelling that dialog leaves the integer dialog open and the item as it was.
TEST_F(Flag_rows_test, EnterOnAListRowOnlyOpensTheRowsDialog)
{
    QPointer<QWidget> integer;
    modals
        .then([&](QWidget* dialog) {
            integer = dialog;
            field<QLineEdit>(dialog, 300)->setText(QStringLiteral("half"));
            for (const int id : {307, 305}) {
                auto* list = field<QTreeWidget>(dialog, id);
                list->setFocus();
                list->setCurrentItem(list->topLevelItem(0));
                QTest::keyClick(list, Qt::Key_Return);
                EXPECT_TRUE(dialog->isVisible()) << id;
            }
            field<QPushButton>(dialog, 2)->click();
        })
        .then([&](QWidget* dialog) {
            EXPECT_EQ(field<QLineEdit>(dialog, 400)->text(), "a");
            // Centred over the integer dialog, the flag's dialog shows where it ends:
            // without a frame its plain edge would read as a hole in the dialog behind.
            const QImage flag = dialog->grab().toImage();
            const QColor background = integer->palette().color(QPalette::Window);
            for (const QPoint edge : {QPoint(0, flag.height() / 2), QPoint(flag.width() / 2, 0),
                                      QPoint(flag.width() - 1, flag.height() / 2)})
                EXPECT_NE(flag.pixelColor(edge).name(), background.name()) << edge.x() << "," << edge.y();
            // The flag's own list: Enter there opens the value and leaves the flag open.
            auto* values = field<QTreeWidget>(dialog, 403);
            answer_popup(nullptr, QStringLiteral("追加"));
            right_click(values, 0);
            values->setFocus();
            QTest::keyClick(values, Qt::Key_Return);
            EXPECT_TRUE(dialog->isVisible());
            field<QPushButton>(dialog, 2)->click();
        })
        .then(fill_and_ok({}))
        .then(cancel_dialog())
        .then([](QWidget* dialog) {
            EXPECT_EQ(field<QLineEdit>(dialog, 1200)->text(), "4294967295");
            field<QPushButton>(dialog, 2)->click();
        });
    select(0);
    window->command(cmd::def_edit);
    EXPECT_EQ(modals.pending(), 0u);
    EXPECT_EQ(rows(), three_flag_rows);
    EXPECT_FALSE(window->menu_item_enabled(cmd::undo));
    EXPECT_EQ(title().find('*'), std::string::npos) << title();
}

// A flag of 0 bits (a file can hold one) opens with OK disabled.
TEST_F(Definition_page_test, AFlagOfNoBitsCannotBeConfirmedAsItIs)
{
    start();
    auto item = std::make_unique<Def_int>(Bcl_str("i"), false, 1, Def_int::decimal, Bcl_str());
    item->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("none"), 0, Bcl_str()));
    definition_edits::add_item(doc(), {}, std::move(item));
    window->refresh_definition_list(nullptr);
    modals
        .then([](QWidget* dialog) {
            auto* flags = field<QTreeWidget>(dialog, 307);
            flags->setFocus();
            flags->setCurrentItem(flags->topLevelItem(0));
            QTest::keyClick(flags, Qt::Key_Return);
            field<QPushButton>(dialog, 2)->click();
        })
        .then([](QWidget* dialog) {
            EXPECT_EQ(field<QLineEdit>(dialog, 401)->text(), "0");
            EXPECT_FALSE(field<QPushButton>(dialog, 1)->isEnabled());
            field<QPushButton>(dialog, 2)->click();
        });
    select(0);
    window->command(cmd::def_edit);
    EXPECT_EQ(modals.pending(), 0u);
}

TEST_F(Flag_rows_test, FlagsAreReorderedByDraggingAndEscapeEndsOnlyTheDrag)
{
    modals.then([](QWidget* dialog) {
        auto* flags = field<QTreeWidget>(dialog, 307);
        EXPECT_EQ(drag_row(flags, 0, 3, Drag_end::drop), Qt::BitmapCursor);  // onto the closing row: to the end
        EXPECT_EQ(rows_of(flags), (std::vector<std::string>{"b|3|v|", "c|4||", "a|1||", "|||"}));
        EXPECT_EQ(drag_row(flags, 0, 1, Drag_end::drop), Qt::ForbiddenCursor);  // just below itself
        EXPECT_EQ(drag_row(flags, 3, 0, Drag_end::drop), Qt::ArrowCursor);      // the closing row is not dragged
        drag_row(flags, 2, 0, Drag_end::escape);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(rows_of(flags), (std::vector<std::string>{"b|3|v|", "c|4||", "a|1||", "|||"}));
        field<QPushButton>(dialog, 1)->click();
    });
    select(0);
    window->command(cmd::def_edit);
    EXPECT_EQ(modals.pending(), 0u);
    EXPECT_EQ(rows(), (std::vector<std::string>{"1||flags||1:one  4294967295:all  ", "bit 0 - 2||  b|v|",
                                                "bit 3 - 6||  c||", "bit 7||  a||", "||||"}));
}

TEST_F(Flag_rows_test, DeletingTheIntegerTakesItsFourRows)
{
    select(0);
    window->command(cmd::def_delete);
    EXPECT_EQ(rows(), std::vector<std::string>{"||||"});
    window->command(cmd::undo);
    EXPECT_EQ(rows(), three_flag_rows);
}

TEST_F(Definition_page_test, RowsAreDraggedIntoAndOutOfALoopAndNotOntoTheirOwnBlock)
{
    start();
    add(0, Def_kind::null_str, fill_and_ok({{700, "s"}}));
    add(1, Def_kind::for_loop, fill_and_ok({{801, "l"}, {800, "2"}}));
    const std::vector<std::string> before = {"文字列||s||", "||l for (2) {||", "||}||", "||||"};
    ASSERT_EQ(rows(), before);

    drag(0, 2);  // onto the For's closing row: into the loop
    EXPECT_EQ(drop_cursor, Qt::BitmapCursor);
    EXPECT_EQ(rows(), (std::vector<std::string>{"||l for (2) {||", "文字列||  s||", "||}||", "||||"}));
    EXPECT_TRUE(list()->topLevelItem(1)->isSelected());

    drag(0, 2);  // the For onto its own closing row: refused
    EXPECT_EQ(drop_cursor, Qt::ForbiddenCursor);
    drag(0, 3);  // just below its own block: refused
    EXPECT_EQ(drop_cursor, Qt::ForbiddenCursor);
    EXPECT_EQ(rows(), (std::vector<std::string>{"||l for (2) {||", "文字列||  s||", "||}||", "||||"}));

    drag(1, 3, Drag_end::right_button);
    EXPECT_EQ(rows()[1], "文字列||  s||");
    EXPECT_FALSE(window->menu_item_enabled(cmd::redo));

    drag(1, 3, Drag_end::escape);
    EXPECT_EQ(rows()[1], "文字列||  s||");
    drag(1, 3);  // out of the loop, to the end
    EXPECT_EQ(rows(), (std::vector<std::string>{"||l for (2) {||", "||}||", "文字列||s||", "||||"}));
    window->command(cmd::undo);
    window->command(cmd::undo);
    EXPECT_EQ(rows(), before);
}

// Whatever comes between the press and the release ends a row drag: the release
// then moves nothing, neither by the rows as they were nor on a hidden page.
TEST_F(Definition_page_test, ADragEndsWhenTheRowsOrThePageChangeADialogOpensOrTheWindowLosesTheFocus)
{
    start();
    for (const char* name : {"d", "c", "b", "a"})
        add(0, Def_kind::null_str, fill_and_ok({{700, name}}));
    QWidget other;
    struct Row {
        const char* what;
        std::function<void()> meanwhile;
    };
    const std::vector<Row> cases = {
        {"undo, which takes away row 0", [this] { QTest::keyClick(list(), Qt::Key_Z, Qt::ControlModifier); }},
        {"the page switch", [this] { QTest::keyClick(list(), Qt::Key_Tab, Qt::ControlModifier); }},
        {"the row's dialog",
         [this] {
             modals.then(cancel_dialog());
             QTest::keyClick(list(), Qt::Key_Return);
         }},
        {"another window",
         [&other] {
             other.show();
             other.activateWindow();
             EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
         }},
    };
    for (const Row& row : cases) {
        SCOPED_TRACE(row.what);
        window->show_page(Kestrix::definition_page);
        main_window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main_window()));
        list()->setFocus();
        begin_drag(list(), 1, 3);
        row.meanwhile();
        const std::vector<std::string> meanwhile = rows();
        end_drag(list(), 3, Drag_end::drop);
        other.hide();
        window->show_page(Kestrix::definition_page);
        EXPECT_EQ(rows(), meanwhile);
        EXPECT_TRUE(window->menu_item_enabled(cmd::redo)) << "a move was recorded after the undo";
        EXPECT_EQ(modals.pending(), 0u);
    }
    EXPECT_EQ(rows(), (std::vector<std::string>{"文字列||b||", "文字列||c||", "文字列||d||", "||||"}));
    EXPECT_TRUE(window->menu_item_enabled(cmd::redo));
}

// The definition file holds 256 levels: the window refuses an item that would
// stand deeper, with a word, before its dialog opens.
TEST_F(Definition_page_test, NothingIsAddedOrMovedDeeperThanTheFileHolds)
{
    start();
    // Loops nested 256 deep (their rows 0 to 255, then their closing rows), and a
    // string in the 254th loop after the 255th.
    std::vector<Def_for*> chain{new Def_for(Bcl_str("l"), Bcl_str("1"))};
    doc().insert_item(std::unique_ptr<Define>(chain.front()), nullptr);
    while (chain.size() < static_cast<std::size_t>(limits::max_definition_depth)) {
        chain.push_back(new Def_for(Bcl_str("l"), Bcl_str("1")));
        chain[chain.size() - 2]->insert_child(std::unique_ptr<Define>(chain.back()), nullptr);
    }
    chain[253]->insert_child(std::make_unique<Def_null_str>(Bcl_str("s")), nullptr);
    window->refresh_definition_list(nullptr);
    constexpr int innermost_end = 256;  // into the 256th loop: level 257
    constexpr int outer_end = 257;      // into the 255th loop: level 256
    constexpr int string_row = 258;
    list()->scrollToItem(list()->topLevelItem(outer_end), QAbstractItemView::PositionAtCenter);
    const std::vector<std::string> before = rows();
    const std::string refused = "ケストリクス|入れ子が256段を超えるので、ここには置けません。";

    select(innermost_end);
    modals.then(press(QMessageBox::Ok));
    window->command(cmd::def_add_first + static_cast<int>(Def_kind::for_loop));
    EXPECT_EQ(modals.seen, std::vector<std::string>{refused});
    modals.then(press(QMessageBox::Ok));
    drag(string_row, innermost_end);
    EXPECT_EQ(modals.seen, (std::vector<std::string>{refused, refused}));
    EXPECT_EQ(rows(), before);
    EXPECT_FALSE(window->menu_item_enabled(cmd::undo));

    drag(string_row, outer_end);
    EXPECT_EQ(rows()[outer_end].find("文字列"), 0u);
    EXPECT_TRUE(window->menu_item_enabled(cmd::undo));
}

TEST_F(Definition_page_test, TheShippedPngDefinitionIsListedInFull)
{
    start({"/d", example("png/definition.kxd"), example("png/sample.png")});
    window->show_page(Kestrix::definition_page);
    EXPECT_GT(rows().size(), 10u);
    EXPECT_EQ(rows().back(), "||||");
    save_screenshot(*main_window(), "definition-page-png");
}

} // namespace
