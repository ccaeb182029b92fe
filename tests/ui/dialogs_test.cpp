// The settings, text export and version dialogs, driven as the user drives them.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

#include "toolkit/gui/bcl_htmlhelp.h"
#include "ui/core/settings_change.h"
#include "window_fixture.h"

namespace {

template <typename Widget>
Widget* control_in(QWidget* dialog, int id)
{
    auto* widget = dialog->findChild<Widget*>(QStringLiteral("id_%1").arg(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
}

// Types `text` into the focused field as key presses with text, as an input method
// delivers it.
void type(QWidget* field, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
}

using Dialog_test = Window_test;

TEST_F(Dialog_test, SettingsShowTheDocumentsValuesAndOkRecordsOneUndoableChange)
{
    start();
    modals.then([](QWidget* dialog) {
        auto* title = control_in<QLineEdit>(dialog, 200);
        EXPECT_EQ(title->text().toStdString(), "未定義");
        EXPECT_TRUE(control_in<QRadioButton>(dialog, 201)->isChecked());
        EXPECT_FALSE(control_in<QRadioButton>(dialog, 202)->isChecked());
        title->setFocus();
        title->selectAll();
        type(title, QStringLiteral("PNG画像"));
        // A character Shift-JIS cannot hold is refused.
        type(title, QString::fromUtf8("\xF0\x9F\x98\x80"));
        EXPECT_EQ(title->text().toStdString(), "PNG画像");
        control_in<QRadioButton>(dialog, 202)->click();
        save_screenshot(*dialog, "settings-dialog");
        control_in<QPushButton>(dialog, 1)->click();
    });
    window->command(cmd::settings);
    EXPECT_EQ(doc().title().to_utf8(), "PNG画像");
    EXPECT_TRUE(doc().little_endian());
    EXPECT_EQ(title(), "ケストリクス - 無題 [無題 *]");
    EXPECT_TRUE(window->menu_item_enabled(cmd::undo));
    // The data tree's root is the title: the data was analysed again.
    EXPECT_EQ(control<QTreeWidget>(2105)->topLevelItem(0)->text(0).toStdString(), "PNG画像");

    window->command(cmd::undo);
    EXPECT_EQ(doc().title().to_utf8(), "未定義");
    EXPECT_FALSE(doc().little_endian());
}

TEST_F(Dialog_test, TheSettingsTitleHoldsAtMost255ShiftJisBytes)
{
    start();
    change_settings(doc(), Bcl_str(std::string(253, 'a')), Byte_order::little_endian);
    modals.then([](QWidget* dialog) {
        auto* title = control_in<QLineEdit>(dialog, 200);
        EXPECT_TRUE(control_in<QRadioButton>(dialog, 202)->isChecked());
        title->setFocus();
        title->end(false);
        type(title, QStringLiteral("あ"));  // 255 bytes
        type(title, QStringLiteral("い"));  // would be 257
        type(title, QStringLiteral("b"));   // would be 256
        EXPECT_EQ(title->text().toStdString(), std::string(253, 'a') + "あ");
        control_in<QPushButton>(dialog, 1)->click();
    });
    window->command(cmd::settings);
    EXPECT_EQ(doc().title().size(), 255u);
    EXPECT_TRUE(doc().little_endian());
}

TEST_F(Dialog_test, SettingsCancelChangesNothing)
{
    start();
    modals.then([](QWidget* dialog) {
        control_in<QLineEdit>(dialog, 200)->setText(QStringLiteral("x"));
        control_in<QPushButton>(dialog, 2)->click();
    });
    window->command(cmd::settings);
    EXPECT_EQ(doc().title().to_utf8(), "未定義");
    EXPECT_FALSE(doc().is_definition_modified());
    EXPECT_FALSE(window->menu_item_enabled(cmd::undo));
}

TEST_F(Dialog_test, TextExportNeedsBothFilesAndReportsTheOutput)
{
    start({"/d", example("png/definition.kxd")});
    const std::string output = temp_path("レポート.txt");
    modals
        .then([&](QWidget* dialog) {
            auto* ok = control_in<QPushButton>(dialog, 1);
            EXPECT_FALSE(ok->isEnabled());
            control_in<QPushButton>(dialog, 1902)->click();
            EXPECT_FALSE(ok->isEnabled());
            control_in<QPushButton>(dialog, 1903)->click();
            EXPECT_TRUE(ok->isEnabled());
            EXPECT_EQ(control_in<QLineEdit>(dialog, 1900)->text().toStdString(), example("png/sample.png"));
            EXPECT_EQ(control_in<QLineEdit>(dialog, 1901)->text().toStdString(), output);
            EXPECT_TRUE(control_in<QLineEdit>(dialog, 1900)->isReadOnly());
            save_screenshot(*dialog, "export-dialog");
            ok->click();
        })
        .then(choose_file(example("png/sample.png")))
        .then(choose_file(output))
        .then(press(QMessageBox::Ok));
    window->command(cmd::text_export);
    ASSERT_EQ(modals.seen.size(), 4u);
    EXPECT_EQ(modals.seen[0], "解析して出力");
    EXPECT_EQ(modals.seen[3], "ケストリクス|" + output + "に出力しました。");
    std::ifstream report(output, std::ios::binary);
    std::string first_line;
    std::getline(report, first_line);
    EXPECT_FALSE(first_line.empty());
}

TEST_F(Dialog_test, ACancelledExportWritesNothing)
{
    start();
    modals.then([](QWidget* dialog) {
        control_in<QPushButton>(dialog, 1902)->click();
        EXPECT_FALSE(control_in<QPushButton>(dialog, 1)->isEnabled());
        control_in<QPushButton>(dialog, 2)->click();
    }).then(choose_file(example("png/sample.png")));
    window->command(cmd::text_export);
    EXPECT_EQ(modals.seen.size(), 2u);
}

TEST_F(Dialog_test, VersionShowsDescriptionVersionAndNoticeAndDoesNotResize)
{
    start();
    std::string text;
    modals.then([&](QWidget* dialog) {
        text = control_in<QLabel>(dialog, 2000)->text().toStdString();
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
        save_screenshot(*dialog, "version-dialog");
        control_in<QPushButton>(dialog, 1)->click();
    });
    window->command(cmd::version);
    EXPECT_EQ(text.rfind(std::string("ケストリクス Ver.") + KESTRIX_VERSION + "\n\n", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("ケストリクス Ver.\n\n").size() + 5);
    EXPECT_EQ(modals.seen, (std::vector<std::string>{"バージョン情報"}));
}

TEST_F(Dialog_test, F1InADialogOpensItsTopicWhichOutlivesTheDialog)
{
    start();
    modals.then([](QWidget* dialog) {
        QTest::keyClick(dialog, Qt::Key_F1);
        EXPECT_EQ(help_viewer().shown_page(), "topic_16.html");
        control_in<QPushButton>(dialog, 2)->click();
    });
    window->command(cmd::settings);
    EXPECT_EQ(help_viewer().shown_page(), "topic_16.html");
    help_viewer().close_all();
}

TEST_F(Dialog_test, ASavePromptInJapanese)
{
    start();
    change_settings(doc(), Bcl_str("t"), Byte_order::big_endian);
    std::string yes;
    modals.then([&](QWidget* box) {
        yes = qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->text().toStdString();
        save_screenshot(*box, "save-prompt");
        press(QMessageBox::Cancel)(box);
    });
    window->command(cmd::file_new);
    EXPECT_EQ(yes, "はい(&Y)");
}

} // namespace
