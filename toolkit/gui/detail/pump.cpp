#include "toolkit/gui/detail/pump.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMessageBox>
#include <QObject>
#include <QTimer>

#include <exception>
#include <new>
#include <utility>
#include <vector>

#include "toolkit/exception.h"
#include "toolkit/gui/bcl_verinfo.h"
#include "toolkit/gui/placement.h"
#include "toolkit/progress.h"

namespace {

bool pumping = false;
std::vector<std::function<void()>> deferred;
std::vector<std::function<void()>> posted;

// Whether a mouse press at `event` hits the stop button of `target` (which names
// its button's place, while it draws one, in its stop_button property).
bool hits_stop_button(const QObject* target, const QEvent* event)
{
    const QVariant place = target->property("stop_button");
    if (!place.isValid())
        return false;
    const QRect r = place.toRect();
    const QPoint at = static_cast<const QMouseEvent*>(event)->position().toPoint();
    return rect_contains({r.x(), r.y(), r.width(), r.height()}, at.x(), at.y());
}

// Throws away what the user does while the window only repaints, but for the two
// ways of stopping the operation: Escape and a click on the status bar's stop
// button, which ask for the stop here, in the filter, so that no handler runs.
class Input_eater : public QObject {
public:
    bool eventFilter(QObject* target, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Taken as a key, so that no shortcut of Escape swallows it.
            if (static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape)
                event->accept();
            return true;
        case QEvent::KeyPress:
            if (static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape)
                reporter().request_stop();
            return true;
        case QEvent::MouseButtonPress:
            if (static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton && hits_stop_button(target, event))
                reporter().request_stop();
            return true;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::Close:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::InputMethod:
            return true;
        default:
            return false;
        }
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
