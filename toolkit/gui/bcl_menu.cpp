#include "toolkit/gui/bcl_menu.h"

#include <QCursor>
#include <QKeySequence>

#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/menus.h"

namespace {

const char* const id_property = "bcl_id";

// The command carries its key, so that the menu shows it in its shortcut column and
// assistive technology reads it as the key binding. The window's accelerators
// dispatch the key: the action's own shortcut only counts while its menu has the
// focus (where the accelerators do not), so that a key never runs its command twice.
void set_key(QAction& action, const std::string& key)
{
    if (key.empty())
        return;
    action.setShortcut(QKeySequence::fromString(qstr(key), QKeySequence::PortableText));
    action.setShortcutContext(Qt::WidgetShortcut);
}

} // namespace

namespace menus {

void fill(QMenu& menu, const std::vector<Bcl_menu_item>& items, const std::function<void(int)>& chosen)
{
    for (const Bcl_menu_item& item : items) {
        if (item.separator) {
            menu.addSeparator();
        } else if (!item.children.empty()) {
            fill(*menu.addMenu(qstr(item.text)), item.children, chosen);
        } else {
            QAction* action = menu.addAction(qstr(item.text));
            action->setProperty(id_property, item.id);
            set_key(*action, item.key);
            const int id = item.id;
            QObject::connect(action, &QAction::triggered, &menu, [chosen, id] { chosen(id); });
        }
    }
}

int id_of(const QAction* action) { return action->property(id_property).toInt(); }

std::vector<QAction*> actions_with_id(const QWidget& widget, int id)
{
    std::vector<QAction*> found;
    for (QAction* action : widget.findChildren<QAction*>())
        if (id_of(action) == id && !action->isSeparator())
            found.push_back(action);
    return found;
}

} // namespace menus

struct Bcl_menu::Impl {
    QMenu menu;
};

Bcl_menu::Bcl_menu(const std::vector<Bcl_menu_item>& items) : impl_(std::make_unique<Impl>())
{
    menus::fill(impl_->menu, items, [](int) {});
}

Bcl_menu::~Bcl_menu() = default;

void Bcl_menu::enable(int id, bool enabled)
{
    for (QAction* action : menus::actions_with_id(impl_->menu, id))
        action->setEnabled(enabled);
}

int Bcl_menu::track()
{
    const QAction* chosen = impl_->menu.exec(QCursor::pos());
    return chosen ? menus::id_of(chosen) : 0;
}
