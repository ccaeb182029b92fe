#include "toolkit/gui/bcl_dock.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QShowEvent>
#include <QVBoxLayout>

#include "toolkit/gui/detail/access.h"

namespace {

// Only a main window docks panels; this one is a plain child widget of the page.
// The panel's width is set when the host is first shown: before, it has no layout
// to hold it.
class Dock_host : public QMainWindow {
public:
    explicit Dock_host(QWidget* parent) : QMainWindow(parent, Qt::Widget) {}

    QDockWidget* panel = nullptr;
    int panel_width = 0;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMainWindow::showEvent(event);
        if (panel && panel_width > 0)
            resizeDocks({panel}, {panel_width}, Qt::Horizontal);
        panel_width = 0;
    }
};

Dock_host* host_of(const Bcl_wnd& wnd) { return dynamic_cast<Dock_host*>(Bcl_widget_access::widget(wnd)); }

QDockWidget* panel_of(const Bcl_wnd& wnd) { return host_of(wnd)->panel; }

} // namespace

void Bcl_dock::create(Bcl_wnd& parent, int id)
{
    auto* host = new Dock_host(Bcl_widget_access::widget(parent));
    host->setObjectName(control_name(id));
    host->setDockOptions(QMainWindow::AnimatedDocks);
    Bcl_widget_access::set_widget(*this, host);
}

void Bcl_dock::set_panes(Bcl_wnd& main, Bcl_wnd& panel, std::string_view title, int width)
{
    Dock_host* host = host_of(*this);
    // The main area stands in a column, so that a bar can go under it.
    auto* column = new QWidget(host);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Bcl_widget_access::widget(main), 1);
    host->setCentralWidget(column);
    auto* dock = new QDockWidget(qstr(title), host);
    dock->setObjectName(QStringLiteral("dock_panel"));
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dock->setWidget(Bcl_widget_access::widget(panel));
    host->addDockWidget(Qt::RightDockWidgetArea, dock);
    host->panel = dock;
    host->panel_width = width;
}

void Bcl_dock::set_bottom_bar(Bcl_wnd& bar)
{
    QWidget* column = host_of(*this)->centralWidget();
    column->layout()->addWidget(Bcl_widget_access::widget(bar));
}

void Bcl_dock::show_panel(bool visible) { panel_of(*this)->setVisible(visible); }

// The dock says it is hidden only when it is closed, not when the page around it
// goes off screen.
void Bcl_dock::set_panel_handler(std::function<void(bool shown)> handler)
{
    QObject::connect(panel_of(*this), &QDockWidget::visibilityChanged, Bcl_widget_access::context(*this),
                     [this, handler = std::move(handler)](bool) { handler(panel_shown()); });
}

bool Bcl_dock::panel_shown() const { return !panel_of(*this)->isHidden(); }
