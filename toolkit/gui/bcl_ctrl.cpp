#include "toolkit/gui/bcl_ctrl.h"

#include <algorithm>
#include <memory>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>

#include "toolkit/gui/bcl_dlg.h"
#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/field_events.h"
#include "toolkit/gui/detail/pump.h"

namespace {

// Lets through only the edits whose resulting text the program's rule accepts.
class Rule_validator : public QValidator {
public:
    Rule_validator(std::function<bool(std::string_view)> accepts, QObject* parent)
        : QValidator(parent), accepts_(std::move(accepts)) {}

    State validate(QString& input, int&) const override
    {
        return accepts_(utf8(input)) ? Acceptable : Invalid;
    }

private:
    std::function<bool(std::string_view)> accepts_;
};

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

namespace {

// A multi-line field has no validator: an edit the rule refuses is taken back at
// once, the caret put where the edit began.
void restrict_plain_text(QPlainTextEdit& plain, std::function<bool(std::string_view)> accepts)
{
    struct Rule_state {
        QString accepted;
        int edit_position = 0;
        bool reverting = false;
    };
    auto state = std::make_shared<Rule_state>();
    state->accepted = plain.toPlainText();
    QObject::connect(plain.document(), &QTextDocument::contentsChange, &plain,
                     [state](int position, int, int) { state->edit_position = position; });
    QObject::connect(&plain, &QPlainTextEdit::textChanged, &plain, [state, &plain, accepts = std::move(accepts)] {
        if (state->reverting)
            return;
        const QString text = plain.toPlainText();
        if (accepts(utf8(text))) {
            state->accepted = text;
            return;
        }
        state->reverting = true;
        const int position = std::min(state->edit_position, static_cast<int>(state->accepted.size()));
        plain.setPlainText(state->accepted);
        QTextCursor cursor = plain.textCursor();
        cursor.setPosition(position);
        plain.setTextCursor(cursor);
        state->reverting = false;
    });
}

} // namespace

void Bcl_edit::set_text_rule(std::function<bool(std::string_view utf8)> accepts)
{
    if (auto* line = as<QLineEdit>(*this))
        line->setValidator(new Rule_validator(std::move(accepts), line));
    else if (auto* plain = as<QPlainTextEdit>(*this))
        restrict_plain_text(*plain, std::move(accepts));
}

void Bcl_edit::set_filter(const Bcl_edit_filter* filter)
{
    if (auto* line = as<QLineEdit>(*this))
        set_field_filter(*line, filter);
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
