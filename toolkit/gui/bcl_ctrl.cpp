#include "toolkit/gui/bcl_ctrl.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "toolkit/gui/bcl_dlg.h"
#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/field_events.h"
#include "toolkit/gui/detail/pump.h"

namespace {

template <typename Widget>
Widget* as(const Bcl_wnd& wnd)
{
    return qobject_cast<Widget*>(Bcl_widget_access::widget(wnd));
}

} // namespace

bool Bcl_ctrl::attach(Bcl_dlg& dialog, int id)
{
    QWidget* parent = Bcl_widget_access::widget(dialog);
    QWidget* control = parent ? parent->findChild<QWidget*>(control_name(id)) : nullptr;
    Bcl_widget_access::set_widget(*this, control);
    return control != nullptr;
}

void Bcl_edit::set_read_only(bool read_only)
{
    if (auto* line = as<QLineEdit>(*this))
        line->setReadOnly(read_only);
    else if (auto* plain = as<QPlainTextEdit>(*this))
        plain->setReadOnly(read_only);
}

void Bcl_edit::set_filter(const Bcl_edit_filter* filter)
{
    if (auto* line = as<QLineEdit>(*this))
        set_field_filter(*line, filter);
    else if (auto* plain = as<QPlainTextEdit>(*this))
        set_lines_filter(*plain, filter);
}

void Bcl_edit::set_change_handler(std::function<void()> handler)
{
    QObject* context = Bcl_widget_access::context(*this);
    if (auto* line = as<QLineEdit>(*this))
        QObject::connect(line, &QLineEdit::textChanged, context, [handler] { pump::deliver(handler); });
    else if (auto* plain = as<QPlainTextEdit>(*this))
        QObject::connect(plain, &QPlainTextEdit::textChanged, context, [handler] { pump::deliver(handler); });
}

void Bcl_edit::select_all()
{
    if (auto* line = as<QLineEdit>(*this))
        line->selectAll();
    else if (auto* plain = as<QPlainTextEdit>(*this))
        plain->selectAll();
}

void Bcl_button::set_checked(bool checked)
{
    if (auto* button = as<QAbstractButton>(*this))
        button->setChecked(checked);
}

bool Bcl_button::checked() const
{
    const auto* button = as<QAbstractButton>(*this);
    return button && button->isChecked();
}

void Bcl_combbox::add(std::string_view text)
{
    if (auto* box = as<QComboBox>(*this))
        box->addItem(qstr(text));
}

void Bcl_combbox::clear()
{
    if (auto* box = as<QComboBox>(*this))
        box->clear();
}

void Bcl_combbox::select(int index)
{
    if (auto* box = as<QComboBox>(*this))
        box->setCurrentIndex(index);
}

int Bcl_combbox::selected() const
{
    const auto* box = as<QComboBox>(*this);
    return box ? box->currentIndex() : -1;
}

int Bcl_combbox::count() const
{
    const auto* box = as<QComboBox>(*this);
    return box ? box->count() : 0;
}
