#include "toolkit/gui/detail/field_events.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>

#include "toolkit/gui/detail/status_note.h"
#include "toolkit/text/bcl_edit_filter.h"

namespace {

std::u32string utf32_of(const QString& text)
{
    const QList<uint> chars = text.toUcs4();
    return std::u32string(chars.begin(), chars.end());
}

QString qstring_of(const std::u32string& text)
{
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

// The field counts UTF-16 units, the filter characters.
std::size_t chars_before(const QString& text, int units)
{
    std::size_t chars = 0;
    for (int i = 0; i < std::min<int>(units, static_cast<int>(text.size())); ++i)
        if (!text.at(i).isLowSurrogate())
            ++chars;
    return chars;
}

int units_before(const std::u32string& text, std::size_t chars)
{
    int units = 0;
    for (std::size_t i = 0; i < std::min(chars, text.size()); ++i)
        units += text[i] > 0xFFFF ? 2 : 1;
    return units;
}

Field_key field_key(int qt_key)
{
    switch (qt_key) {
    case Qt::Key_Left:
        return Field_key::left;
    case Qt::Key_Right:
        return Field_key::right;
    case Qt::Key_Up:
        return Field_key::up;
    case Qt::Key_Down:
        return Field_key::down;
    case Qt::Key_Home:
        return Field_key::home;
    case Qt::Key_End:
        return Field_key::end;
    case Qt::Key_Backspace:
        return Field_key::backspace;
    case Qt::Key_Delete:
        return Field_key::delete_key;
    default:
        return Field_key::other;
    }
}

// Text a key press types: printable characters, without Ctrl (Ctrl combinations
// are commands, never text).
bool types_text(const QKeyEvent& event)
{
    if (event.text().isEmpty() || (event.modifiers() & Qt::ControlModifier))
        return false;
    const QList<uint> chars = event.text().toUcs4();
    return std::all_of(chars.begin(), chars.end(), [](uint c) { return QChar::isPrint(c); });
}

// The events of one filtered field, handed to its filter.
class Field_events : public QObject {
public:
    // Found again by this name: without its own meta-object, a search by type would
    // take any child object of the field.
    static constexpr const char* name = "kestrix_field_events";

    Field_events(QLineEdit& field, const Bcl_edit_filter& filter) : QObject(&field), field_(field), filter_(filter)
    {
        setObjectName(QLatin1String(name));
        field.setContextMenuPolicy(Qt::NoContextMenu);
        field.setAcceptDrops(false);
        // Digits need no input method; one would also delete the selection the moment
        // it starts composing, before anything could be judged.
        field.setAttribute(Qt::WA_InputMethodEnabled, filter.free_text());
        field.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &field_)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            return key_pressed(static_cast<QKeyEvent*>(event));
        case QEvent::InputMethod:
            return composed(static_cast<QInputMethodEvent*>(event));
        case QEvent::FocusIn:
            process(event);
            show(filter_.after_focus(current()));
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            // The right button opens no menu; the middle one pastes nothing unchecked.
            return static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
                return true;
            process(event);
            show(filter_.after_click(current()));
            return true;
        case QEvent::ContextMenu:
        case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }

private:
    // The control handles the event as it always does.
    void process(QEvent* event) { static_cast<QObject&>(field_).event(event); }

    [[nodiscard]] Field_text current() const
    {
        const QString text = field_.text();
        const int start = field_.hasSelectedText() ? field_.selectionStart() : field_.cursorPosition();
        const int end = field_.hasSelectedText() ? field_.selectionEnd() : start;
        return {utf32_of(text), chars_before(text, start), chars_before(text, end)};
    }

    void show(const Field_text& selection)
    {
        const int start = units_before(selection.text, selection.start);
        const int end = units_before(selection.text, selection.end);
        if (start == end)
            field_.setCursorPosition(start);
        else
            field_.setSelection(start, end - start);
    }

    // Puts the text through the control's editing (so that undo knows it), then the
    // selection.
    void put(const Field_text& after)
    {
        const QString text = qstring_of(after.text);
        if (text != field_.text()) {
            field_.selectAll();
            field_.insert(text);
        }
        show(after);
    }

    void apply(const Field_outcome& outcome)
    {
        if (outcome.kind == Field_outcome::set)
            put(outcome.after);
        if (!outcome.note.empty())
            show_status_note(field_, outcome.note);
    }

    void paste()
    {
        const QString text = QGuiApplication::clipboard()->text();
        if (!text.isEmpty())
            apply(filter_.pasted(current(), utf32_of(text)));
    }

    // Copying, then deleting the selection as Backspace would.
    void cut()
    {
        if (!field_.hasSelectedText())
            return;
        const Field_outcome outcome = filter_.key(current(), Field_key::backspace);
        if (outcome.kind == Field_outcome::refuse)
            return;
        QGuiApplication::clipboard()->setText(field_.selectedText());
        if (outcome.kind == Field_outcome::set)
            put(outcome.after);
        else
            field_.del();
    }

    bool key_pressed(QKeyEvent* event)
    {
        if (event->matches(QKeySequence::Paste)) {
            paste();
            return true;
        }
        if (event->matches(QKeySequence::Cut)) {
            cut();
            return true;
        }
        const Field_key key = field_key(event->key());
        const Field_outcome outcome = filter_.key(current(), key);
        if (outcome.kind != Field_outcome::pass) {
            apply(outcome);
            return true;
        }
        if (key == Field_key::other) {
            if (types_text(*event)) {
                const std::u32string text = utf32_of(event->text());
                apply(text.size() == 1 ? filter_.typed(current(), text[0]) : filter_.pasted(current(), text));
                return true;
            }
            // Ctrl combinations could edit (undo, delete to the end of the line):
            // only copying and selecting reach a field that is not free text.
            const bool command = (event->modifiers() & Qt::ControlModifier) != 0;
            if (command && !filter_.free_text() && !event->matches(QKeySequence::Copy) &&
                !event->matches(QKeySequence::SelectAll))
                return true;
            return false;  // the control, then the dialog (Enter, Escape, Tab), as usual
        }
        // A moving or deleting key the filter passed: the control handles it, then the
        // filter puts the selection. A key the control does not use (Up, Down) goes on
        // to the dialog, which the control then ignores again.
        process(event);
        show(filter_.after_key(current(), key));
        return event->isAccepted();
    }

    bool composed(QInputMethodEvent* event)
    {
        if (event->commitString().isEmpty())
            return false;  // composing: the control shows the text being composed
        // The control drops what it showed and takes nothing itself; the committed
        // text is judged whole, as a paste.
        QInputMethodEvent cleared;
        process(&cleared);
        apply(filter_.pasted(current(), utf32_of(event->commitString())));
        return true;
    }

    QLineEdit& field_;
    const Bcl_edit_filter& filter_;
};

// The lengths of the start and of the end (not overlapping it) that `a` and `b` have
// in common: what lies between is what changed.
std::pair<std::size_t, std::size_t> common_ends(std::u32string_view a, std::u32string_view b)
{
    const std::size_t shorter = std::min(a.size(), b.size());
    std::size_t start = 0;
    while (start < shorter && a[start] == b[start])
        ++start;
    std::size_t end = 0;
    while (end < shorter - start && a[a.size() - 1 - end] == b[b.size() - 1 - end])
        ++end;
    return {start, end};
}

// The changes of one filtered field of several lines, judged by its filter.
class Lines_events : public QObject {
public:
    static constexpr const char* name = "kestrix_lines_events";

    Lines_events(QPlainTextEdit& field, const Bcl_edit_filter& filter)
        : QObject(&field), field_(field), filter_(filter), accepted_(utf32_of(field.toPlainText()))
    {
        setObjectName(QLatin1String(name));
        connect(&field, &QPlainTextEdit::textChanged, this, [this] { judge(); });
    }

private:
    void judge()
    {
        if (correcting_)
            return;
        const std::u32string now = utf32_of(field_.toPlainText());
        const auto [start, end] = common_ends(accepted_, now);
        const std::u32string_view put = std::u32string_view(now).substr(start, now.size() - start - end);
        if (!put.empty()) {
            const Field_text before{accepted_, start, accepted_.size() - end};
            const Field_outcome outcome = put.size() == 1 ? filter_.typed(before, put[0]) : filter_.pasted(before, put);
            if (outcome.kind == Field_outcome::refuse)
                correct(now, accepted_, start);
            else if (outcome.kind == Field_outcome::set && outcome.after.text != now)
                correct(now, outcome.after.text, outcome.after.end);
            if (!outcome.note.empty())
                show_status_note(field_, outcome.note);
        }
        accepted_ = utf32_of(field_.toPlainText());
    }

    // Turns the text `now` into `wanted` as part of the change just made, so that
    // undo takes both back at once, and puts the caret at character `caret`.
    void correct(const std::u32string& now, const std::u32string& wanted, std::size_t caret)
    {
        correcting_ = true;
        const auto [start, end] = common_ends(now, wanted);
        QTextCursor cursor(field_.document());
        cursor.joinPreviousEditBlock();
        cursor.setPosition(units_before(now, start));
        cursor.setPosition(units_before(now, now.size() - end), QTextCursor::KeepAnchor);
        cursor.insertText(qstring_of(wanted.substr(start, wanted.size() - start - end)));
        cursor.endEditBlock();
        cursor.setPosition(units_before(wanted, caret));
        field_.setTextCursor(cursor);
        correcting_ = false;
    }

    QPlainTextEdit& field_;
    const Bcl_edit_filter& filter_;
    std::u32string accepted_;  // the text after the last change judged
    bool correcting_ = false;
};

} // namespace

void set_lines_filter(QPlainTextEdit& field, const Bcl_edit_filter* filter)
{
    delete field.findChild<QObject*>(QLatin1String(Lines_events::name), Qt::FindDirectChildrenOnly);
    if (filter)
        new Lines_events(field, *filter);
}

void set_field_filter(QLineEdit& field, const Bcl_edit_filter* filter)
{
    delete field.findChild<QObject*>(QLatin1String(Field_events::name), Qt::FindDirectChildrenOnly);
    if (filter) {
        new Field_events(field, *filter);
    } else {
        field.setContextMenuPolicy(Qt::DefaultContextMenu);
        field.setAcceptDrops(true);
        field.setAttribute(Qt::WA_InputMethodEnabled, true);
    }
}
