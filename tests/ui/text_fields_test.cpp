// The item dialogs' text fields typed and pasted into as a user does: bytes with no
// Unicode form, the characters of Japanese input methods, pastes that do not fit.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

#include "edit/definition_edits.h"
#include "model/def_str.h"
#include "window_fixture.h"

namespace {

// Types `text` into `field` as key presses with text, as an input method delivers it.
void type(QWidget* field, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
}

class Text_field_test : public Window_test {
protected:
    void SetUp() override
    {
        Window_test::SetUp();
        start();
    }

    // Opens the dialog of a NUL-terminated string named `name` and answers it.
    Bcl_str edit_name(const Bcl_str& name, Modal_script::Answer answer)
    {
        definition_edits::add_item(doc(), {}, std::make_unique<Def_null_str>(name));
        window->refresh_definition_list(nullptr);
        auto* list = control<QTreeWidget>(2101);
        list->setCurrentItem(list->topLevelItem(0));
        modals.then(std::move(answer));
        window->command(cmd::def_edit);
        EXPECT_EQ(modals.pending(), 0u);
        return doc().definition_items()[0]->name();
    }

};

TEST_F(Text_field_test, BytesWithNoUnicodeFormAreEditedAroundAndKept)
{
    const Bcl_str name = edit_name(Bcl_str(std::string("ab\x80\x82", 4)), [](QWidget* dialog) {
        auto* field = ::field<QLineEdit>(dialog, 700);
        // 0x80 and a lone lead byte at the end, as their braille patterns.
        EXPECT_EQ(field->text().toStdString(), "ab\u2880\u2882");
        field->setFocus();
        field->setCursorPosition(2);
        type(field, QStringLiteral("c"));
        field->end(false);
        type(field, QStringLiteral("d"));
        EXPECT_EQ(field->text().toStdString(), "abc\u2880\u2882d");
        ::field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(name, Bcl_str(std::string("abc\x80\x82" "d", 6)));
}

TEST_F(Text_field_test, InputMethodCharactersAreStoredAsTheirShiftJisForms)
{
    const Bcl_str name = edit_name(Bcl_str("x"), [](QWidget* dialog) {
        auto* field = ::field<QLineEdit>(dialog, 700);
        field->setFocus();
        field->selectAll();
        type(field, QStringLiteral("1〜2−3"));
        paste(field, QStringLiteral("—‖¬"));
        EXPECT_EQ(field->text().toStdString(), "1～2－3―∥￢");
        ::field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(name.bytes(), "1\x81\x60" "2\x81\x7C" "3\x81\x5C\x81\x61\x81\xCA");
}

TEST_F(Text_field_test, APasteThatDoesNotFitPutsInWhatFitsAndSaysWhatItLeftOut)
{
    const Bcl_str name = edit_name(Bcl_str("x"), [this](QWidget* dialog) {
        auto* field = ::field<QLineEdit>(dialog, 700);
        field->setFocus();
        field->selectAll();
        paste(field, QStringLiteral("AB한C"));
        EXPECT_EQ(field->text().toStdString(), "ABC");
        EXPECT_EQ(status_note(), "貼り付けた文字のうち「한」は入力できないので除きました。");
        field->selectAll();
        paste(field, QString(256, QLatin1Char('z')));
        EXPECT_EQ(field->text().toStdString(), std::string(255, 'z'));
        EXPECT_EQ(status_note(), "貼り付けた文字のうち、長さの上限を超える1文字を除きました。");
        save_screenshot(*main_window(), "paste-note");
        ::field<QPushButton>(dialog, 1)->click();
    });
    EXPECT_EQ(name, Bcl_str(std::string(255, 'z')));
}

} // namespace
