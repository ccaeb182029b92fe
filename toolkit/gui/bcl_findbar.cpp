#include "toolkit/gui/bcl_findbar.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/keys.h"
#include "toolkit/gui/detail/pump.h"

namespace {

// The bar's widgets, found by name: tests find them the same way.
constexpr auto query_name = "find_text";
constexpr auto note_name = "find_note";

QWidget* bar_of(const Bcl_wnd& wnd) { return Bcl_widget_access::widget(wnd); }

} // namespace

void Bcl_findbar::create(Bcl_wnd& parent, int id, const Texts& texts, Handlers handlers)
{
    auto* bar = new QWidget(Bcl_widget_access::widget(parent));
    bar->setObjectName(control_name(id));
    Bcl_widget_access::set_widget(*this, bar);
    QObject* context = Bcl_widget_access::context(*this);
    // What the user asks for waits for no long operation: pump::input drops it then.
    const auto run = [](const std::function<void()>& handler) {
        return [handler] { pump::input(handler); };
    };

    // Two rows, so that the longest note fits beside the kinds on a narrow page: the
    // field, the buttons and the close button; then the kinds and the note.
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(6, 2, 6, 2);
    rows->setSpacing(2);
    auto* layout = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    rows->addLayout(layout);
    rows->addLayout(second);
    auto* label = new QLabel(qstr(texts.label), bar);
    auto* field = new QLineEdit(bar);
    field->setObjectName(QString::fromLatin1(query_name));
    field->setMinimumWidth(220);
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field);
    bar->setFocusProxy(field);
    auto* kinds = new QButtonGroup(bar);
    for (std::size_t i = 0; i < texts.kinds.size(); ++i) {
        auto* kind = new QRadioButton(qstr(texts.kinds[i]), bar);
        kind->setObjectName(QStringLiteral("find_kind_%1").arg(i));
        kind->setChecked(i == 0);
        kinds->addButton(kind, static_cast<int>(i));
        second->addWidget(kind);
    }
    const auto add_button = [&](std::string_view text, std::string_view tip, const char* name,
                                const std::function<void()>& handler) {
        auto* button = new QPushButton(qstr(text), bar);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(qstr(tip));
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, context, run(handler));
        layout->addWidget(button);
    };
    add_button(texts.next, texts.next_tip, "find_next", handlers.next);
    add_button(texts.previous, texts.previous_tip, "find_previous", handlers.previous);
    auto* note = new QLabel(bar);
    note->setObjectName(QString::fromLatin1(note_name));
    second->addSpacing(12);
    second->addWidget(note, 1);
    auto* close = new QToolButton(bar);
    close->setObjectName(QStringLiteral("find_close"));
    close->setIcon(bar->style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip(qstr(texts.close_tip));
    close->setAutoRaise(true);
    QObject::connect(close, &QToolButton::clicked, context, run(handlers.close));
    layout->addWidget(close);

    // The bar's own Tab order, as its controls stand: the field, the buttons, then the
    // kinds as one stop, the checked one (the arrows choose among them), as in a dialog.
    const std::vector<QWidget*> stops{field, bar->findChild<QPushButton*>(QStringLiteral("find_next")),
                                      bar->findChild<QPushButton*>(QStringLiteral("find_previous")), close};
    const auto tab = [stops, kinds, focus_key = handlers.focus_key](QWidget* from, const Bcl_key_event& key) {
        if (key.key != Bcl_key::tab)
            return false;
        // A widget that is no stop is one of the kinds, the stop after the last.
        const std::ptrdiff_t at = std::find(stops.begin(), stops.end(), from) - stops.begin();
        const std::ptrdiff_t next = at + (key.shift ? -1 : 1);
        if (key.ctrl || next < 0 || next > std::ssize(stops))
            return focus_key && focus_key(key);
        QWidget* target = next == std::ssize(stops) ? kinds->checkedButton() : stops[static_cast<std::size_t>(next)];
        target->setFocus(key.shift ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return true;
    };
    std::vector<QWidget*> tab_widgets = stops;
    for (QAbstractButton* kind : kinds->buttons())
        tab_widgets.push_back(kind);
    for (QWidget* widget : tab_widgets)
        widget->installEventFilter(new Key_filter(
            [widget, tab](const Bcl_key_event& key) { return pump::key([&] { return tab(widget, key); }); }, widget));

    QObject::connect(field, &QLineEdit::returnPressed, context, run(handlers.next));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), bar);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(escape, &QShortcut::activated, context, run(handlers.close));
    bar->hide();
}

std::string Bcl_findbar::query() const
{
    return utf8(bar_of(*this)->findChild<QLineEdit*>(QString::fromLatin1(query_name))->text());
}

int Bcl_findbar::kind() const
{
    const auto* group = bar_of(*this)->findChild<QButtonGroup*>();
    return group->checkedId();
}

void Bcl_findbar::set_note(std::string_view utf8_text)
{
    bar_of(*this)->findChild<QLabel*>(QString::fromLatin1(note_name))->setText(qstr(utf8_text));
}

std::string Bcl_findbar::note() const
{
    return utf8(bar_of(*this)->findChild<QLabel*>(QString::fromLatin1(note_name))->text());
}

void Bcl_findbar::focus_last()
{
    bar_of(*this)->findChild<QButtonGroup*>()->checkedButton()->setFocus(Qt::BacktabFocusReason);
}

void Bcl_findbar::focus_query()
{
    auto* field = bar_of(*this)->findChild<QLineEdit*>(QString::fromLatin1(query_name));
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}
