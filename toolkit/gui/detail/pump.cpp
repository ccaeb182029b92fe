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
#include "toolkit/gui/bcl_verinfo.h"

namespace {

bool pumping = false;
std::vector<std::function<void()>> deferred;
std::vector<std::function<void()>> posted;

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
template <typename Handler>
void run_handler(const Handler& handler)
{
    try {
        handler();
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
