#include "toolkit/gui/bcl_toolbar.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>

#include <vector>

#include "toolkit/gui/bcl_sdi.h"
#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/menus.h"

namespace {

// The toolbar's images, by index: the standard ones first, then those of bitmaps.
class Tool_bar : public QToolBar {
public:
    using QToolBar::QToolBar;
    std::vector<QIcon> images;
};

Tool_bar* bar_of(const Bcl_wnd& wnd) { return dynamic_cast<Tool_bar*>(Bcl_widget_access::widget(wnd)); }

struct Standard {
    const char* theme_name;
    QStyle::StandardPixmap fallback;
};

Standard standard_of(Bcl_std_image image)
{
    switch (image) {
    case Bcl_std_image::file_new:
        return {"document-new", QStyle::SP_FileIcon};
    case Bcl_std_image::file_open:
        return {"document-open", QStyle::SP_DialogOpenButton};
    case Bcl_std_image::file_save:
        return {"document-save", QStyle::SP_DialogSaveButton};
    case Bcl_std_image::undo:
        return {"edit-undo", QStyle::SP_ArrowBack};
    case Bcl_std_image::redo:
        return {"edit-redo", QStyle::SP_ArrowForward};
    case Bcl_std_image::properties:
        return {"document-properties", QStyle::SP_FileDialogDetailedView};
    }
    return {"", QStyle::SP_FileIcon};
}

QAction* button_action(const Bcl_wnd& wnd, int command_id)
{
    const Tool_bar* bar = bar_of(wnd);
    if (!bar)
        return nullptr;
    for (QAction* action : bar->actions())
        if (menus::id_of(action) == command_id)
            return action;
    return nullptr;
}

} // namespace

void Bcl_toolbar::create(Bcl_sdi& owner, int id)
{
    owner_ = &owner;
    auto* window = static_cast<QMainWindow*>(Bcl_widget_access::widget(owner));
    auto* bar = new Tool_bar(window);
    bar->setObjectName(control_name(id));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->toggleViewAction()->setVisible(false);
    window->addToolBar(bar);
    Bcl_widget_access::set_widget(*this, bar);
}

int Bcl_toolbar::standard_image(Bcl_std_image image)
{
    Tool_bar* bar = bar_of(*this);
    const Standard standard = standard_of(image);
    bar->images.push_back(QIcon::fromTheme(QLatin1String(standard.theme_name), bar->style()->standardIcon(standard.fallback)));
    return static_cast<int>(bar->images.size()) - 1;
}

int Bcl_toolbar::add_bitmap(int resource_id, int count)
{
    Tool_bar* bar = bar_of(*this);
    const QPixmap bitmap(QStringLiteral(":/images/bitmap_%1.png").arg(resource_id));
    const int first = static_cast<int>(bar->images.size());
    const int size = bitmap.height();
    for (int i = 0; i < count; ++i)
        bar->images.emplace_back(bitmap.copy(i * size, 0, size, size));
    return first;
}

void Bcl_toolbar::add_button(int image, int command_id, bool enabled, std::string_view text)
{
    Tool_bar* bar = bar_of(*this);
    const QIcon icon = image >= 0 && image < static_cast<int>(bar->images.size()) ? bar->images[static_cast<std::size_t>(image)] : QIcon();
    QAction* action = bar->addAction(icon, qstr(text));
    action->setToolTip(qstr(text));
    action->setProperty("bcl_id", command_id);
    action->setEnabled(enabled);
    Bcl_sdi* owner = owner_;
    QObject::connect(action, &QAction::triggered, Bcl_widget_access::context(*this),
                     [owner, command_id] { owner->command(command_id); });
}

void Bcl_toolbar::add_separator() { bar_of(*this)->addSeparator(); }

void Bcl_toolbar::enable_button(int command_id, bool enabled)
{
    if (QAction* action = button_action(*this, command_id))
        action->setEnabled(enabled);
}

void Bcl_toolbar::show_button(int command_id, bool visible)
{
    if (QAction* action = button_action(*this, command_id))
        action->setVisible(visible);
}

bool Bcl_toolbar::button_enabled(int command_id) const
{
    const QAction* action = button_action(*this, command_id);
    return action && action->isEnabled();
}

bool Bcl_toolbar::button_visible(int command_id) const
{
    const QAction* action = button_action(*this, command_id);
    return action && action->isVisible();
}
