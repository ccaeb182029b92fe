#include "toolkit/gui/bcl_wnd.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>

#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/keys.h"
#include "toolkit/gui/detail/pump.h"

struct Bcl_wnd::Impl {
    QPointer<QWidget> widget;
    bool owned = false;
    std::unique_ptr<Key_filter> keys;
    QObject context;
};

QWidget* key_target(QWidget* widget)
{
    if (auto* tabs = qobject_cast<QTabWidget*>(widget))
        return tabs->findChild<QTabBar*>();
    return widget;
}

QWidget* Bcl_widget_access::widget(const Bcl_wnd& wnd) { return wnd.impl_->widget; }

QObject* Bcl_widget_access::context(const Bcl_wnd& wnd) { return &wnd.impl_->context; }

void Bcl_widget_access::set_widget(Bcl_wnd& wnd, QWidget* widget)
{
    wnd.impl_->widget = widget;
    wnd.impl_->owned = widget && !widget->parent();
}

Bcl_wnd::Bcl_wnd() : impl_(std::make_unique<Impl>()) {}

Bcl_wnd::~Bcl_wnd()
{
    impl_->keys.reset();
    // A window of ours without a parent (top-level, or a pane never placed) goes with
    // us; a child window belongs to its parent.
    if (impl_->widget && !impl_->widget->parent())
        delete impl_->widget.data();
}

bool Bcl_wnd::exists() const { return impl_->widget; }

void Bcl_wnd::show(bool visible)
{
    if (impl_->widget)
        impl_->widget->setVisible(visible);
}

bool Bcl_wnd::is_visible() const { return impl_->widget && impl_->widget->isVisible(); }

void Bcl_wnd::enable(bool enabled)
{
    if (impl_->widget)
        impl_->widget->setEnabled(enabled);
}

bool Bcl_wnd::is_enabled() const { return impl_->widget && impl_->widget->isEnabled(); }

void Bcl_wnd::set_focus()
{
    if (impl_->widget)
        key_target(impl_->widget)->setFocus(Qt::OtherFocusReason);
}

bool Bcl_wnd::has_focus() const
{
    const QWidget* focus = QApplication::focusWidget();
    return impl_->widget && focus && (focus == impl_->widget || impl_->widget->isAncestorOf(focus));
}

void Bcl_wnd::move(int x, int y, int width, int height)
{
    if (impl_->widget)
        impl_->widget->setGeometry(x, y, width, height);
}

int Bcl_wnd::width() const { return impl_->widget ? impl_->widget->width() : 0; }
int Bcl_wnd::height() const { return impl_->widget ? impl_->widget->height() : 0; }

void Bcl_wnd::set_text(std::string_view text)
{
    QWidget* widget = impl_->widget;
    if (!widget)
        return;
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(qstr(text));
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        plain->setPlainText(qstr(text));
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(qstr(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(qstr(text));
    else
        widget->setWindowTitle(qstr(text));
}

std::string Bcl_wnd::text() const
{
    const QWidget* widget = impl_->widget;
    if (!widget)
        return {};
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return utf8(line->text());
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return utf8(plain->toPlainText());
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return utf8(label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return utf8(button->text());
    return utf8(widget->windowTitle());
}

void Bcl_wnd::set_cursor(Bcl_cursor cursor)
{
    if (!impl_->widget)
        return;
    switch (cursor) {
    case Bcl_cursor::arrow:
        impl_->widget->unsetCursor();
        break;
    case Bcl_cursor::not_allowed:
        impl_->widget->setCursor(Qt::ForbiddenCursor);
        break;
    case Bcl_cursor::drop:
        impl_->widget->setCursor(QCursor(QPixmap(QStringLiteral(":/images/cursor_2501.png")), 0, 0));
        break;
    }
}

void Bcl_wnd::set_key_handler(std::function<bool(const Bcl_key_event&)> handler)
{
    QWidget* target = impl_->widget ? key_target(impl_->widget) : nullptr;
    if (!target)
        return;
    impl_->keys = std::make_unique<Key_filter>(
        [handler = std::move(handler)](const Bcl_key_event& key) { return pump::key([&] { return handler(key); }); });
    target->installEventFilter(impl_->keys.get());
}
