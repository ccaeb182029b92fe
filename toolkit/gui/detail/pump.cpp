#include "toolkit/gui/detail/pump.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "toolkit/exception.h"
#include "toolkit/gui/bcl_verinfo.h"
#include "toolkit/gui/input_rules.h"
#include "toolkit/gui/placement.h"
#include "toolkit/progress.h"

namespace {

bool pumping = false;
std::vector<std::function<void()>> deferred;
std::vector<std::function<void()>> posted;

// The top-level widget of a window-system window.
QWidget* widget_of(const QWindow* window)
{
    const QWidgetList tops = QApplication::topLevelWidgets();
    const auto found = std::find_if(tops.begin(), tops.end(), [window](const QWidget* top) {
        return top->windowHandle() == window;
    });
    return found == tops.end() ? nullptr : *found;
}

// The main window, or its window-system window: closing it is a request of the
// user, while a tooltip or popup closes on its own.
bool is_main_window(const QObject* target)
{
    if (const auto* window = qobject_cast<const QWindow*>(target))
        target = widget_of(window);
    return qobject_cast<const QMainWindow*>(target) != nullptr;
}

// A view's client area (the viewport of a scroll area), where the wheel scrolls it.
bool is_view_client(const QObject* target)
{
    const auto* area = qobject_cast<const QAbstractScrollArea*>(target->parent());
    return area && area->viewport() == target;
}

// The scroll bar a button went down on and was let through: the drag's moves and its
// release go to it, wherever the pointer is.
QPointer<QScrollBar> held_bar;

// The widget a mouse or wheel event goes to, and the event's place in it. The window
// system sends the event to the window first, which hands it on to the widget under
// the pointer or, during a drag, to the one the button went down on.
struct Receiver {
    QObject* object = nullptr;
    QPoint at;
};
Receiver receiver_of(QObject* target, const QEvent* event)
{
    const QPoint at = static_cast<const QSinglePointEvent*>(event)->position().toPoint();
    const auto* window = qobject_cast<const QWindow*>(target);
    if (!window)
        return {target, at};
    const bool starts = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick ||
                        event->type() == QEvent::Wheel;
    if (!starts && held_bar)
        return {held_bar.data(), {}};
    QWidget* top = widget_of(window);
    if (!top)
        return {target, at};
    QWidget* under = top->childAt(at);
    return under ? Receiver{under, under->mapFrom(top, at)} : Receiver{top, at};
}

// Whether a left press hits the stop button of the widget it goes to (which names
// its button's place, while it draws one, in its stop_button property).
bool hits_stop_button(const Receiver& receiver)
{
    const QVariant place = receiver.object->property("stop_button");
    if (!place.isValid())
        return false;
    const QRect r = place.toRect();
    return rect_contains({r.x(), r.y(), r.width(), r.height()}, receiver.at.x(), receiver.at.y());
}

// What the user's input is while the window only repaints; none for what is no input.
std::optional<Busy_input> busy_input_of(QObject* target, const QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape ? Busy_input::stop_key
                                                                             : Busy_input::other;
    case QEvent::MouseButtonPress:
        if (static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton &&
            hits_stop_button(receiver_of(target, event)))
            return Busy_input::stop_button;
        [[fallthrough]];
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return qobject_cast<const QScrollBar*>(receiver_of(target, event).object) ? Busy_input::scroll_bar
                                                                                  : Busy_input::other;
    case QEvent::Wheel: {
        const QObject* receiver = receiver_of(target, event).object;
        return qobject_cast<const QScrollBar*>(receiver) || is_view_client(receiver) ? Busy_input::view_wheel
                                                                                     : Busy_input::other;
    }
    case QEvent::Close:
        return is_main_window(target) ? Busy_input::close : Busy_input::other;
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::InputMethod:
        return Busy_input::other;
    default:
        return std::nullopt;
    }
}

// Lets through what the user may do while the window only repaints (busy_verdict)
// and throws the rest away; a stop is asked for here, in the filter, so that no
// handler runs.
class Input_eater : public QObject {
public:
    bool eventFilter(QObject* target, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            // Taken as a key, so that no shortcut of Escape swallows it.
            if (static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape)
                event->accept();
            return true;
        }
        const std::optional<Busy_input> input = busy_input_of(target, event);
        if (!input)
            return false;
        switch (busy_verdict(reporter().operation_kind(), *input)) {
        case Busy_verdict::pass:
            if (event->type() == QEvent::MouseButtonPress)
                held_bar = qobject_cast<QScrollBar*>(receiver_of(target, event).object);
            else if (event->type() == QEvent::MouseButtonRelease)
                held_bar = nullptr;
            return false;
        case Busy_verdict::stop:
            reporter().request_stop();
            // A close that stops is no close: the window stays, with no prompt.
            if (event->type() == QEvent::Close)
                event->ignore();
            return true;
        case Busy_verdict::eat:
            return true;
        }
        return true;
    }
};

void run_deferred()
{
    // Still inside the operation: the pump's end posts this again.
    if (pumping)
        return;
    auto handlers = std::exchange(deferred, {});
    for (auto& handler : handlers)
        pump::deliver(std::move(handler));
}

void run_posted()
{
    auto handlers = std::exchange(posted, {});
    for (auto& handler : handlers)
        pump::deliver(std::move(handler));
}

// The program's name, as its version resource gives it: the caption of its messages
// about the user's files and data, which a failure escaping a handler is too.
QString failure_caption()
{
    Bcl_verinfo version;
    if (version.load())
        if (const auto name = version.value("\\StringFileInfo\\041103A4\\FileDescription"))
            return QString::fromStdString(*name);
    return QStringLiteral("エラー");
}

void show_failure(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, failure_caption(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// A failure the program did not catch must not unwind through Qt's event handling,
// which would end the program: it is shown, and the program goes on.
// How deep handlers run inside each other (a modal dialog's, inside the handler
// that opened it).
int handler_depth = 0;

// The outermost handler is one operation for the reporter: a stop asked for during
// it ends with it.
class Operation_guard {
public:
    Operation_guard()
    {
        if (handler_depth++ == 0)
            reporter().begin_operation();
    }
    ~Operation_guard()
    {
        if (--handler_depth == 0)
            reporter().end_operation();
    }
    Operation_guard(const Operation_guard&) = delete;
    Operation_guard& operator=(const Operation_guard&) = delete;
};

template <typename Handler>
void run_handler(const Handler& handler)
{
    const Operation_guard operation;
    try {
        handler();
    } catch (const Operation_stopped&) {
        // Left at a stop point, where nothing is half-way; the status bar says so.
    } catch (const std::bad_alloc&) {
        show_failure(QStringLiteral("メモリが足りません。"));
    } catch (const Exception& failure) {
        show_failure(QString::fromUtf8(failure.display_text()));
    } catch (const std::exception& failure) {
        show_failure(QString::fromUtf8(failure.what()));
    }
}

} // namespace

namespace pump {

bool active() { return pumping; }

void repaint_now()
{
    if (pumping || !QApplication::instance())
        return;
    Input_eater eater;
    QApplication::instance()->installEventFilter(&eater);
    pumping = true;
    QApplication::processEvents(QEventLoop::AllEvents);
    pumping = false;
    QApplication::instance()->removeEventFilter(&eater);
    if (!deferred.empty())
        QTimer::singleShot(0, QApplication::instance(), run_deferred);
}

void scroll(const std::function<void()>& handler)
{
    if (!pumping || busy_verdict(reporter().operation_kind(), Busy_input::scroll_bar) == Busy_verdict::pass)
        run_handler(handler);
}

void deliver(std::function<void()> handler)
{
    if (pumping)
        deferred.push_back(std::move(handler));
    else
        run_handler(handler);
}

void input(std::function<void()> handler)
{
    if (!pumping)
        run_handler(handler);
}

bool key(const std::function<bool()>& handler)
{
    if (pumping)
        return true;
    bool used = true;
    run_handler([&] { used = handler(); });
    return used;
}

void post(std::function<void()> handler)
{
    if (pumping || !QApplication::instance())
        return;
    posted.push_back(std::move(handler));
    if (posted.size() == 1)
        QTimer::singleShot(0, QApplication::instance(), run_posted);
}

void discard_deferred()
{
    deferred.clear();
    posted.clear();
}

} // namespace pump
