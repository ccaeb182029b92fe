#include "toolkit/gui/detail/keys.h"

#include <QKeyEvent>

namespace {

Bcl_key key_of(int qt_key)
{
    switch (qt_key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Bcl_key::tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Bcl_key::enter;
    case Qt::Key_Escape:
        return Bcl_key::escape;
    case Qt::Key_F1:
        return Bcl_key::f1;
    case Qt::Key_Up:
        return Bcl_key::up;
    case Qt::Key_Down:
        return Bcl_key::down;
    case Qt::Key_Left:
        return Bcl_key::left;
    case Qt::Key_Right:
        return Bcl_key::right;
    case Qt::Key_PageUp:
        return Bcl_key::page_up;
    case Qt::Key_PageDown:
        return Bcl_key::page_down;
    case Qt::Key_Home:
        return Bcl_key::home;
    case Qt::Key_End:
        return Bcl_key::end;
    case Qt::Key_Delete:
        return Bcl_key::del;
    case Qt::Key_Backspace:
        return Bcl_key::backspace;
    case Qt::Key_C:
        return Bcl_key::letter_c;
    default:
        return Bcl_key::other;
    }
}

} // namespace

bool Key_filter::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    Bcl_key_event bcl{key_of(key->key()), (key->modifiers() & Qt::ControlModifier) != 0,
                      (key->modifiers() & Qt::ShiftModifier) != 0 || key->key() == Qt::Key_Backtab};
    if (event->type() == QEvent::ShortcutOverride) {
        // Ctrl+Tab is the program's: keep it from the widgets' own shortcuts.
        if (bcl.key == Bcl_key::tab && bcl.ctrl) {
            event->accept();
            return true;
        }
        return false;
    }
    return handler_(bcl);
}
