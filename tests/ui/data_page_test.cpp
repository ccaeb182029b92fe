// The data page driven as a user drives it: the tree of containers, the list of
// values, the dump highlight, the popup, the change dialogs, adding and deleting
// bytes, undo and redo.
#include <QApplication>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTextCursor>
#include <QTreeWidget>

#include "analysis_helpers.h"
#include "support/temp_files.h"
#include "window_fixture.h"

using namespace analysis_test;

namespace {

constexpr int data_list_id = 2104;
constexpr int data_tree_id = 2105;

using Bytes = std::vector<std::uint8_t>;

// The tree's items, depth first, each indented by two spaces per level.
void tree_lines(QTreeWidgetItem* item, int depth, std::vector<std::string>& lines)
{
    lines.push_back(std::string(2 * static_cast<std::size_t>(depth), ' ') + item->text(0).toStdString());
    for (int i = 0; i < item->childCount(); ++i)
        tree_lines(item->child(i), depth + 1, lines);
}

// Fills field `id` of a value or string dialog with `text` and confirms it; with a
// name, a picture of the filled dialog is saved first.
Modal_script::Answer change_to(int id, const QString& text, const std::string& screenshot = {})
{
    return [id, text, screenshot](QWidget* dialog) {
        if (auto* plain = dialog->findChild<QPlainTextEdit*>(QStringLiteral("id_%1").arg(id)))
            plain->setPlainText(text);
        else
            field<QLineEdit>(dialog, id)->setText(text);
        if (!screenshot.empty())
            save_screenshot(*dialog, screenshot);
        field<QPushButton>(dialog, 1)->click();
    };
}

Modal_script::Answer confirm(const std::string& screenshot = {})
{
    return [screenshot](QWidget* dialog) {
        if (!screenshot.empty())
            save_screenshot(*dialog, screenshot);
        field<QPushButton>(dialog, 1)->click();
    };
}

class Data_page_test : public Window_test {
protected:
    QTreeWidget* tree() const { return control<QTreeWidget>(data_tree_id); }
    QTreeWidget* list() const { return control<QTreeWidget>(data_list_id); }

    void open(const std::vector<std::uint8_t>& bytes)
    {
        load_bytes(bytes);
        start();
        window->show_page(Kestrix::data_page);
        window->rebuild_data_tree({});
        main_window()->resize(900, 700);
    }
    std::vector<std::string> tree_text() const
    {
        std::vector<std::string> lines;
        if (tree()->topLevelItemCount() > 0)
            tree_lines(tree()->topLevelItem(0), 0, lines);
        return lines;
    }
    // Selects the tree item reached from the root by the child indexes `path`.
    void select_tree(std::initializer_list<int> path) const
    {
        QTreeWidgetItem* item = tree()->topLevelItem(0);
        for (int i : path)
            item = item->child(i);
        tree()->setCurrentItem(item);
    }
    void select_row(int row) const { list()->setCurrentItem(list()->topLevelItem(row)); }
    std::string current_row() const
    {
        QTreeWidgetItem* item = list()->currentItem();
        return item ? item->text(0).toStdString() + "|" + item->text(1).toStdString() : std::string();
    }
    // Runs the data command `id` on row `row` of the list, answering its dialog.
    void run_on_row(int row, int id, Modal_script::Answer answer)
    {
        select_row(row);
        modals.then(std::move(answer));
        window->command(id);
        EXPECT_EQ(modals.pending(), 0u);
    }
};

TEST_F(Data_page_test, TheTreeShowsTheContainersAndTheListTheirValues)
{
    define(int_item("count", 1, false, Def_int::decimal, "count"), for_loop("records", "count", int_item("id", 1), fix_str("tag", 2)),
           null_str("name"));
    open(Bytes{2, 1, 'a', 'b', 2, 'c', 'd', 'x', 0, 0xEE});
    EXPECT_EQ(tree_text(), (std::vector<std::string>{"未定義", "  records", "  未定義[0 - 0]"}));
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"count|2", "records|...", "name|x", "未定義[0 - 0]|..."}));

    // Selecting the table makes its records; Enter on a record row moves into it.
    select_tree({0});
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"[0]|...", "[1]|..."}));
    select_row(1);
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(tree()->currentItem()->text(0).toStdString(), "[1]");
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"id|2", "tag|cd"}));
    EXPECT_EQ(tree_text(), (std::vector<std::string>{"未定義", "  records", "    [0]", "    [1]", "  未定義[0 - 0]"}));

    // The popup: "編集" only for a value, "削除" for any row.
    std::vector<std::string> seen;
    answer_popup(&seen, QString());
    right_click(list(), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"追加", "編集", "削除"}));
    select_tree({});
    seen.clear();
    answer_popup(&seen, QString());
    right_click(list(), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"追加", "編集(off)", "削除"}));
}

TEST_F(Data_page_test, MoreThanFiftyExpandedCollapseTheOldestThatHoldNoOther)
{
    define(for_loop("outer", "60", for_loop("inner", "1", int_item("v", 1))));
    open(Bytes(60, 7));
    select_tree({0});
    QTreeWidgetItem* outer = tree()->topLevelItem(0)->child(0);
    ASSERT_EQ(outer->childCount(), 60);
    for (int i = 0; i < 60; ++i)
        tree()->setCurrentItem(outer->child(i));
    // Root, "outer" and the records 12 ... 59 stay expanded: 50 items.
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(outer->child(i)->childCount(), i < 12 ? 0 : 1) << i << " " << outer->child(i)->text(0).toStdString();
    // A collapsed record opens again with its children.
    tree()->setCurrentItem(outer->child(0));
    EXPECT_EQ(outer->child(0)->childCount(), 1);
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"inner|..."}));
}

TEST_F(Data_page_test, AByteInsideARecordInsideATableSelectsItsRow)
{
    define(int_item("head", 1), for_loop("table", "3", int_item("a", 1), int_item("b", 2)));
    open(Bytes{9, 1, 0, 2, 3, 0, 4, 5, 0, 6});
    window->select_byte(doc().node_at(7));  // "a" of record [2]
    EXPECT_EQ(tree()->currentItem()->text(0).toStdString(), "[2]");
    EXPECT_EQ(current_row(), "a|5");
    window->select_byte(doc().node_at(9));  // the second byte of "b" of [2]
    EXPECT_EQ(current_row(), "b|6");
    window->select_byte(doc().node_at(0));
    EXPECT_EQ(tree()->currentItem(), tree()->topLevelItem(0));
    EXPECT_EQ(current_row(), "head|9");
}

// Every kind of change through its dialog, then undo all and redo all: the data
// saves byte for byte as loaded, and again as changed.
TEST_F(Data_page_test, ChangesUndoneAndRedoneGiveTheBytesBack)
{
    Def_int* flags = with_flag(with_flag(int_item("flags", 1), "lo", 4), "hi", 3);
    define(int_item("s", 2, true), flags, null_str("mid"), int_item("x", 1), null_str("last"));
    const Bytes loaded{0x00, 0x05, 0x21, 'a', 'b', 0, 7, 'z', 0};
    open(loaded);

    run_on_row(0, cmd::data_edit, change_to(1602, "-300", "datchg-int-dialog"));
    EXPECT_EQ(current_row(), "s|-300");

    // The flag: the integer is a container in the tree; the flag stays selected.
    select_tree({0});
    run_on_row(1, cmd::data_edit, change_to(1602, "5"));
    EXPECT_EQ(tree()->currentItem()->text(0).toStdString(), "flags");
    EXPECT_EQ(current_row().substr(0, 3), "hi|");

    select_tree({});
    run_on_row(2, cmd::data_edit, change_to(1500, "hello\nworld", "datchg-str-dialog"));
    // The line break shows as a mark: the row keeps one line.
    EXPECT_EQ(rows_of(list())[2], "mid|hello⏎world");
    run_on_row(4, cmd::data_edit, change_to(1500, "end"));
    EXPECT_EQ(current_row(), "last|end");

    run_on_row(3, cmd::data_add, change_to(1801, "2", "datadd-dialog"));
    run_on_row(3, cmd::data_delete, confirm("datdel-dialog"));
    const Bytes changed{0xFE, 0xD4, 0x51, 'h', 'e', 'l', 'l', 'o', '\r', '\n', 'w', 'o', 'r', 'l', 'd', 0, 0, 7, 'e', 'n', 'd', 0};
    EXPECT_EQ(data_bytes(), changed);
    EXPECT_NE(title().find(" * ["), std::string::npos) << title();

    // Undoing the steps down to the flag's change shows the flag again.
    for (int step = 0; step < 5; ++step)
        window->command(cmd::undo);
    EXPECT_EQ(tree()->currentItem()->text(0).toStdString(), "flags");
    EXPECT_EQ(current_row().substr(0, 3), "hi|");
    while (window->menu_item_enabled(cmd::undo))
        window->command(cmd::undo);
    const std::string saved = temp_path("saved.bin");
    doc().save_data(File_path(saved));
    EXPECT_EQ(file_contents(saved), std::string(loaded.begin(), loaded.end()));
    while (window->menu_item_enabled(cmd::redo))
        window->command(cmd::redo);
    EXPECT_EQ(data_bytes(), changed);
}

TEST_F(Data_page_test, AFloatTakesOnlyANumberAndTheChangeIsUndone)
{
    define(float_item("x", 4), float_item("y", 8));
    open(Bytes{0x3D, 0xCC, 0xCC, 0xCD, 0x7F, 0xF0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"x|0.1", "y|inf"}));
    window->refresh_dump();
    select_row(0);
    wait_until([] { return false; }, 50);
    save_screenshot(*main_window(), "data-page-floats");
    run_on_row(0, cmd::data_edit, [](QWidget* dialog) {
        auto* value = field<QLineEdit>(dialog, 2110);
        auto* ok = field<QPushButton>(dialog, 1);
        EXPECT_EQ(value->text(), "0.1");
        EXPECT_TRUE(ok->isEnabled());
        for (const char* bad : {"abc", "1.5x", "", "1e39"}) {
            value->setText(QString::fromUtf8(bad));
            EXPECT_FALSE(ok->isEnabled()) << bad;
        }
        // Enter reaches OK however it is drawn: the text is still refused.
        QTest::keyClick(value, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        value->setText("-2.5e-1");
        save_screenshot(*dialog, "datchg-float-dialog");
        ok->click();
    });
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"x|-0.25", "y|inf"}));
    EXPECT_EQ(data_bytes(), (Bytes{0xBE, 0x80, 0, 0, 0x7F, 0xF0, 0, 0, 0, 0, 0, 0}));
    window->command(cmd::undo);
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"x|0.1", "y|inf"}));
    EXPECT_EQ(data_bytes(), (Bytes{0x3D, 0xCC, 0xCC, 0xCD, 0x7F, 0xF0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Data_page_test, AByteBlockOpensToItsBytesWhichChangeOneByOneWithUndo)
{
    define(int_item("n", 1, false, Def_int::decimal, "n"), bytes_item("data", "n"));
    open(Bytes{3, 0x89, 0x50, 0x4E});
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"n|3", "data|3 バイト: 89 50 4E"}));
    window->refresh_dump();
    select_row(1);
    wait_until([] { return false; }, 50);
    save_screenshot(*main_window(), "data-page-bytes");
    select_tree({0});
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"[0]|0x89", "[1]|0x50", "[2]|0x4E"}));
    run_on_row(1, cmd::data_edit, change_to(1702, "AB"));
    EXPECT_EQ(rows_of(list())[1], "[1]|0xAB");
    EXPECT_EQ(data_bytes(), (Bytes{3, 0x89, 0xAB, 0x4E}));
    // The block's own row shows its first bytes as they now are.
    select_tree({});
    EXPECT_EQ(rows_of(list())[1], "data|3 バイト: 89 AB 4E");
    window->command(cmd::undo);
    EXPECT_EQ(data_bytes(), (Bytes{3, 0x89, 0x50, 0x4E}));
    select_tree({});
    EXPECT_EQ(rows_of(list())[1], "data|3 バイト: 89 50 4E");
    window->command(cmd::redo);
    EXPECT_EQ(data_bytes(), (Bytes{3, 0x89, 0xAB, 0x4E}));
}

// A UTF-8 string shows its characters and a byte that does not decode as its
// stand-in, which the change writes back as the byte; the change is undone. An ASCII
// string refuses "é" with a message and keeps the dialog open.
TEST_F(Data_page_test, AUtf8StringIsChangedInItsEncodingAndTheChangeIsUndone)
{
    auto* utf8 = null_str("u");
    utf8->set_encoding(Text_encoding::utf8);
    auto* ascii = null_str("a");
    ascii->set_encoding(Text_encoding::ascii);
    define(utf8, ascii);
    const Bytes before{0xC3, 0xA9, 0xFF, 0, 'x', 0};
    open(before);
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"u|\u00E9\u28FF", "a|x"}));
    run_on_row(1, cmd::data_edit, [this](QWidget* dialog) {
        field<QPlainTextEdit>(dialog, 1500)->setPlainText(QString::fromUtf8("\u00E9"));
        modals.then(press(QMessageBox::Ok));
        field<QPushButton>(dialog, 1)->click();
        EXPECT_TRUE(dialog->isVisible());
        field<QPushButton>(dialog, 2)->click();
    });
    EXPECT_NE(std::find(modals.seen.begin(), modals.seen.end(), "ケストリクス|この文字コードで表せない文字があります。"),
              modals.seen.end());
    run_on_row(0, cmd::data_edit, [](QWidget* dialog) {
        auto* text = field<QPlainTextEdit>(dialog, 1500);
        EXPECT_EQ(text->toPlainText().toStdString(), "\u00E9\u28FF");
        text->setPlainText(QString::fromUtf8("\u3042\u28FE"));
        save_screenshot(*dialog, "datchg-utf8-dialog");
        field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"u|\u3042\u28FE", "a|x"}));
    EXPECT_EQ(data_bytes(), (Bytes{0xE3, 0x81, 0x82, 0xFE, 0, 'x', 0}));
    window->command(cmd::undo);
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"u|\u00E9\u28FF", "a|x"}));
    EXPECT_EQ(data_bytes(), before);
}

// The 8-byte integers take their whole range and nothing beyond it.
TEST_F(Data_page_test, EightByteIntegersTakeTheirWholeRangeAndNoMore)
{
    define(int_item("u", 8), int_item("s", 8, true), int_item("h", 8, false, Def_int::hexadecimal));
    const Bytes loaded{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                       0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    open(loaded);
    EXPECT_EQ(rows_of(list()), (std::vector<std::string>{"u|18446744073709551615", "s|-1", "h|0x0123456789ABCDEF"}));
    const auto refuses = [](QWidget* dialog, std::initializer_list<const char*> texts) {
        for (const char* text : texts) {
            field<QLineEdit>(dialog, 1602)->setText(text);
            EXPECT_FALSE(field<QPushButton>(dialog, 1)->isEnabled()) << text;
        }
    };
    run_on_row(0, cmd::data_edit, [&](QWidget* dialog) {
        EXPECT_EQ(field<QLineEdit>(dialog, 1602)->text(), "18446744073709551615");
        refuses(dialog, {"18446744073709551616", "-1", "99999999999999999999"});
        field<QLineEdit>(dialog, 1602)->setText("18446744073709551614");
        save_screenshot(*dialog, "datchg-int64-dialog");
        field<QPushButton>(dialog, 1)->click();
    });
    run_on_row(1, cmd::data_edit, [&](QWidget* dialog) {
        refuses(dialog, {"-9223372036854775809", "9223372036854775808"});
        field<QLineEdit>(dialog, 1602)->setText("-9223372036854775808");
        field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(rows_of(list())[0], "u|18446744073709551614");
    EXPECT_EQ(rows_of(list())[1], "s|-9223372036854775808");
    const Bytes changed = data_bytes();
    EXPECT_EQ(Bytes(changed.begin(), changed.begin() + 16),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0}));
    window->command(cmd::undo);
    window->command(cmd::undo);
    EXPECT_EQ(data_bytes(), loaded);

    run_on_row(2, cmd::data_edit, [](QWidget* dialog) {
        EXPECT_EQ(field<QLineEdit>(dialog, 1702)->text(), "0123456789ABCDEF");
        field<QLineEdit>(dialog, 1702)->setText("FEDCBA9876543210");
        save_screenshot(*dialog, "datchg-hex64-dialog");
        field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(current_row(), "h|0xFEDCBA9876543210");
}

TEST_F(Data_page_test, ValueDialogsOpenOnTheNamedOrTheDirectValue)
{
    Def_int* named = int_item("kind", 1, false, Def_int::hexadecimal);
    named->set_named_values({{1, sj("一")}, {2, sj("二")}});
    define(named, int_item("plain", 4));
    open(Bytes{2, 0, 0, 0x12, 0x34});
    run_on_row(0, cmd::data_edit, [](QWidget* dialog) {
        EXPECT_TRUE(field<QRadioButton>(dialog, 1701)->isChecked());
        EXPECT_FALSE(field<QLineEdit>(dialog, 1702)->isEnabled());
        EXPECT_EQ(field<QLineEdit>(dialog, 1702)->text(), "02");
        EXPECT_EQ(field<QComboBox>(dialog, 1703)->currentText(), "二");
        field<QComboBox>(dialog, 1703)->setCurrentIndex(0);
        save_screenshot(*dialog, "datchg-hex-dialog");
        field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(current_row(), "kind|一");
    run_on_row(1, cmd::data_edit, [](QWidget* dialog) {
        EXPECT_TRUE(field<QRadioButton>(dialog, 1600)->isChecked());
        EXPECT_FALSE(field<QRadioButton>(dialog, 1601)->isEnabled());
        EXPECT_EQ(field<QLineEdit>(dialog, 1602)->text(), "4660");
        // OK only while the field holds a whole value: never the old one in disguise.
        auto* ok = field<QPushButton>(dialog, 1);
        EXPECT_TRUE(ok->isEnabled());
        for (const char* partial : {"", "-", "0x"}) {
            field<QLineEdit>(dialog, 1602)->setText(partial);
            EXPECT_FALSE(ok->isEnabled()) << partial;
        }
        field<QPushButton>(dialog, 2)->click();
    });
    run_on_row(0, cmd::data_edit, [](QWidget* dialog) {
        field<QRadioButton>(dialog, 1700)->click();
        field<QLineEdit>(dialog, 1702)->setText("");
        EXPECT_FALSE(field<QPushButton>(dialog, 1)->isEnabled());
        field<QRadioButton>(dialog, 1701)->click();
        EXPECT_TRUE(field<QPushButton>(dialog, 1)->isEnabled());
        field<QPushButton>(dialog, 2)->click();
    });
    // The delete form cannot be confirmed with a size of 0.
    run_on_row(1, cmd::data_delete, [](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "データ削除");
        EXPECT_EQ(field<QLineEdit>(dialog, 1800)->text(), "00000001");
        EXPECT_EQ(field<QLineEdit>(dialog, 1801)->text(), "4");
        field<QLineEdit>(dialog, 1801)->setText("0");
        EXPECT_FALSE(field<QPushButton>(dialog, 1)->isEnabled());
        field<QLineEdit>(dialog, 1801)->setText("1");
        EXPECT_TRUE(field<QPushButton>(dialog, 1)->isEnabled());
        field<QLineEdit>(dialog, 1800)->setText("");
        EXPECT_FALSE(field<QPushButton>(dialog, 1)->isEnabled());
        field<QPushButton>(dialog, 2)->click();
    });
    EXPECT_EQ(data_bytes(), (Bytes{1, 0, 0, 0x12, 0x34}));
}

TEST_F(Data_page_test, StringBytesThatAreNoTextComeBackUntouched)
{
    define(int_item("n", 1), flex_str("raw", 1), int_item("after", 1));
    const Bytes loaded{1, 6, 'a', 0, 0x80, 0x0A, 0x82, 'b', 9};
    open(loaded);
    run_on_row(1, cmd::data_edit, [](QWidget* dialog) {
        save_screenshot(*dialog, "datchg-str-raw-bytes");
        field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(data_bytes(), loaded);
    EXPECT_FALSE(window->menu_item_enabled(cmd::undo));
    // Text typed after them keeps them as they were.
    run_on_row(1, cmd::data_edit, [](QWidget* dialog) {
        auto* text = field<QPlainTextEdit>(dialog, 1500);
        text->setPlainText(text->toPlainText() + "c");
        field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(data_bytes(), (Bytes{1, 7, 'a', 0, 0x80, 0x0A, 0x82, 'b', 'c', 9}));
}

// A record whose expansion runs out of data shows the values made before it.
TEST_F(Data_page_test, AnExpansionThatRunsOutOfDataShowsWhatWasMade)
{
    define(int_item("n", 1, false, Def_int::decimal, "n"),
           for_loop("table", "n", int_item("a", 1), int_item("b", 2)));
    open(Bytes{2, 1, 0, 2, 3, 0});
    select_tree({0});
    ASSERT_EQ(tree()->currentItem()->childCount(), 2);
    select_tree({0, 1});
    ASSERT_GE(list()->topLevelItemCount(), 1);
    EXPECT_EQ(rows_of(list())[0], "a|3");
    window->select_byte(doc().node_at(5));
    EXPECT_EQ(tree()->currentItem()->text(0).toStdString(), "[1]");
}

// Enter starts a line in the string field, and typing stops at the string's length.
TEST_F(Data_page_test, TheStringFieldTakesLinesUpToTheLength)
{
    define(fix_str("tag", 4), int_item("after", 1));
    open(Bytes{'a', 'b', 0, 0, 9});
    run_on_row(0, cmd::data_edit, [](QWidget* dialog) {
        auto* text = field<QPlainTextEdit>(dialog, 1500);
        text->moveCursor(QTextCursor::End);
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, "xyz");
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(text->toPlainText(), "ab\n");  // "x" would make 5 bytes
        field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(data_bytes(), (Bytes{'a', 'b', '\r', '\n', 9}));
}

// A paste that does not fit puts in what fits, says what it left out, and is undone
// as one step.
TEST_F(Data_page_test, APasteIntoTheStringFieldPutsInWhatFits)
{
    define(fix_str("tag", 4), int_item("after", 1));
    open(Bytes{'a', 'b', 0, 0, 9});
    run_on_row(0, cmd::data_edit, [this](QWidget* dialog) {
        auto* text = field<QPlainTextEdit>(dialog, 1500);
        text->setFocus();
        text->moveCursor(QTextCursor::End);
        paste(text, QStringLiteral("x한yz"));
        EXPECT_EQ(text->toPlainText(), "abxy");
        EXPECT_EQ(status_note(),
                  "貼り付けた文字のうち「한」は入力できないので除き、長さの上限を超える1文字も除きました。");
        text->undo();
        EXPECT_EQ(text->toPlainText(), "ab");
        text->redo();
        EXPECT_EQ(text->toPlainText(), "abxy");
        field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(data_bytes(), (Bytes{'a', 'b', 'x', 'y', 9}));
}

// An insertion past the longest data the document can address is refused before
// anything changes, saying so (it is no shortage of memory).
TEST_F(Data_page_test, AnInsertionPastTheLongestDataIsRefused)
{
    define(int_item("a", 1), int_item("b", 1));
    open(Bytes{1, 2});
    modals.then(change_to(1801, "4294967294")).then(press(QMessageBox::Ok));
    select_row(1);
    window->command(cmd::data_add);
    ASSERT_EQ(modals.seen.size(), 2u);
    EXPECT_NE(modals.seen[1].find("は、追加すると4294967295バイトを超えるので追加できません。"), std::string::npos)
        << modals.seen[1];
    EXPECT_EQ(data_bytes(), (Bytes{1, 2}));
    EXPECT_FALSE(window->menu_item_enabled(cmd::undo));
}

TEST_F(Data_page_test, ExamplesOnTheDataPage)
{
    struct Shown {
        std::string name, sample;
        std::vector<std::string> path; // tree names from the root's child down
    };
    const std::vector<Shown> examples = {
        {"png", "sample.png", {"チャンク"}},
        {"wav", "sample.wav", {}},
        {"elf64", "sample.elf", {"プログラムヘッダ", "[1]"}},
        {"zip", "sample.zip", {"ローカルファイルヘッダ", "[1]"}},
        {"stl", "sample.stl", {"triangles", "[3]"}},
    };
    for (const Shown& shown : examples) {
        start({"/d", example(shown.name + "/definition.kxd"), example(shown.name + "/" + shown.sample)});
        window->show_page(Kestrix::data_page);
        main_window()->resize(1000, 700);
        QTreeWidgetItem* item = tree()->topLevelItem(0);
        for (const std::string& name : shown.path) {
            tree()->setCurrentItem(item);  // selecting a container opens it
            item->setExpanded(true);
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; i < item->childCount() && !next; ++i)
                if (item->child(i)->text(0).toStdString() == name)
                    next = item->child(i);
            ASSERT_NE(next, nullptr) << shown.name << ": " << name;
            item = next;
        }
        tree()->setCurrentItem(item);
        select_row(0);
        wait_until([] { return false; }, 50);
        save_screenshot(*main_window(), "data-page-" + shown.name);
        EXPECT_GT(list()->topLevelItemCount(), 0) << shown.name;
        window.reset();
    }
}

// ---- go to and the dump's caret ----

class Go_to_test : public Data_page_test {
protected:
    void SetUp() override
    {
        Data_page_test::SetUp();
        define(int_item("head", 1), for_loop("table", "3", int_item("a", 1), int_item("b", 2)));
        open(Bytes{9, 1, 0, 2, 3, 0, 4, 5, 0, 6});
        // Loaded before the window started: the dump takes the length as a load would give it.
        window->refresh_dump();
        main_window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main_window()));
    }
    std::string status_text() const
    {
        return control<QStatusBar>(3001)->findChild<QLabel*>(QStringLiteral("status_text"))->text().toStdString();
    }
    QWidget* dump_view() const { return main_window()->findChild<QWidget*>(QStringLiteral("DumpWnd")); }
};

TEST_F(Go_to_test, CtrlGToAnOffsetInsideARecordSelectsItsRow)
{
    modals.then([](QWidget* dialog) {
        auto* position = field<QLineEdit>(dialog, 1900);
        position->setText(QStringLiteral("8h"));
        save_screenshot(*dialog, "go-to-dialog");
        field<QPushButton>(dialog, 1)->click();
    });
    QTest::keyClick(main_window(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(modals.seen, (std::vector<std::string>{"移動"}));
    EXPECT_EQ(tree()->currentItem()->text(0).toStdString(), "[2]");
    EXPECT_EQ(current_row(), "b|6");  // the first byte of "b" of record [2]
    EXPECT_EQ(status_text(), "位置 00000008 (8)");

    // The dialog opens on the caret; decimal works as well.
    modals.then([](QWidget* dialog) {
        auto* position = field<QLineEdit>(dialog, 1900);
        EXPECT_EQ(position->text().toStdString(), "0x00000008");
        position->setText(QStringLiteral("4"));
        field<QPushButton>(dialog, 1)->click();
    });
    window->command(cmd::go_to);
    EXPECT_EQ(tree()->currentItem()->text(0).toStdString(), "[1]");
    EXPECT_EQ(current_row(), "a|3");
    EXPECT_EQ(status_text(), "位置 00000004 (4)");
}

TEST_F(Go_to_test, AnOffsetPastTheEndIsRefusedWithAMessage)
{
    modals.then([](QWidget* dialog) {
        auto* position = field<QLineEdit>(dialog, 1900);
        auto* ok = field<QPushButton>(dialog, 1);
        auto* message = field<QLabel>(dialog, 1901);
        position->setText(QStringLiteral("0x9"));
        EXPECT_TRUE(ok->isEnabled());
        EXPECT_EQ(message->text().toStdString(), "");
        position->setText(QStringLiteral("10"));
        EXPECT_FALSE(ok->isEnabled());
        EXPECT_EQ(message->text().toStdString(), "データの末尾を超えています（データは 10 バイトです）。");
        position->setText(QStringLiteral("0xZ"));
        EXPECT_FALSE(ok->isEnabled());
        EXPECT_EQ(message->text().toStdString(), "位置として読めない文字があります。");
        // Enter with OK disabled leaves the dialog open.
        position->setText(QStringLiteral("10"));
        QTest::keyClick(position, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        field<QPushButton>(dialog, 2)->click();
    });
    window->command(cmd::go_to);
    EXPECT_EQ(modals.pending(), 0u);
    EXPECT_EQ(tree()->currentItem(), tree()->topLevelItem(0));
    EXPECT_EQ(status_text(), "位置 00000000 (0)");

    // On the definition page the key does nothing.
    window->show_page(Kestrix::definition_page);
    QTest::keyClick(main_window(), Qt::Key_G, Qt::ControlModifier);
    wait_until([] { return false; }, 50);
    EXPECT_TRUE(modals.unexpected.empty());
}

TEST_F(Go_to_test, CaretKeysMoveAndSelectAndTheStatusBarSaysWhere)
{
    dump_view()->setFocus();
    EXPECT_EQ(status_text(), "位置 00000000 (0)");
    QTest::keyClick(dump_view(), Qt::Key_Right);
    QTest::keyClick(dump_view(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(dump_view(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(dump_view(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(status_text(), "位置 00000004 (4)  選択 4 バイト");
    wait_until([] { return false; }, 50);
    save_screenshot(*main_window(), "dump-caret-selection");
    QTest::keyClick(dump_view(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(status_text(), "位置 00000009 (9)");
    QTest::keyClick(dump_view(), Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(status_text(), "位置 00000000 (0)  選択 10 バイト");
    // The definition page shows no caret; the data page shows it again.
    window->show_page(Kestrix::definition_page);
    EXPECT_EQ(status_text(), "");
    window->show_page(Kestrix::data_page);
    EXPECT_EQ(status_text(), "位置 00000000 (0)  選択 10 バイト");
    // A click on a byte puts the caret there without a selection and still selects
    // its component.
    auto* area = qobject_cast<QAbstractScrollArea*>(dump_view());
    QTest::mouseClick(area->viewport(), Qt::LeftButton, {}, QPoint(Dump_layout::hex_x(7) + 2, 4));
    EXPECT_EQ(status_text(), "位置 00000007 (7)");
    EXPECT_EQ(current_row(), "a|5");
    // Shift+click selects the bytes from there to the clicked one; the component stays.
    QTest::mouseClick(area->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(Dump_layout::char_x(2) + 2, 4));
    EXPECT_EQ(status_text(), "位置 00000002 (2)  選択 6 バイト");
    EXPECT_EQ(current_row(), "a|5");
}

} // namespace
