#include "toolkit/gui/bcl_msgbox.h"

#include <QMessageBox>

#include "toolkit/gui/bcl_wnd.h"
#include "toolkit/gui/detail/access.h"

Bcl_answer bcl_message_box(Bcl_wnd* owner, std::string_view text, std::string_view caption, Bcl_buttons buttons,
                           Bcl_icon icon)
{
    QWidget* parent = owner ? Bcl_widget_access::widget(*owner) : nullptr;
    QMessageBox box(parent ? parent->window() : nullptr);
    box.setWindowTitle(qstr(caption));
    box.setText(qstr(text));
    box.setTextFormat(Qt::PlainText);
    if (buttons == Bcl_buttons::yes_no_cancel) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        if (icon == Bcl_icon::warning)
            box.setIcon(QMessageBox::Warning);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Bcl_answer::yes;
    case QMessageBox::No:
        return Bcl_answer::no;
    case QMessageBox::Ok:
        return Bcl_answer::ok;
    default:
        return buttons == Bcl_buttons::ok ? Bcl_answer::ok : Bcl_answer::cancel;
    }
}
