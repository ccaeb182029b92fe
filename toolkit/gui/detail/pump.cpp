#include "toolkit/gui/detail/pump.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QObject>
#include <QTimer>

#include <exception>
#include <new>
#include <utility>
#include <vector>

#include "toolkit/exception.h"

namespace {

bool pumping = false;
std::vector<std::function<void()>> deferred;

// Throws away what the user does while the window only repaints.
class Input_eater : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
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

// A failure the program did not catch must not unwind through Qt's event handling,
// which would end the program: it is shown, and the program goes on.
void run_handler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::bad_alloc&) {
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("エラー"), QStringLiteral("メモリが足りません。"));
    } catch (const Exception& failure) {
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("エラー"),
                              QString::fromUtf8(failure.display_text()));
    } catch (const std::exception& failure) {
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("エラー"), QString::fromUtf8(failure.what()));
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

void discard_deferred() { deferred.clear(); }

} // namespace pump
