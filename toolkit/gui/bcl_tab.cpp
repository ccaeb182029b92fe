#include "toolkit/gui/bcl_tab.h"

#include <QSignalBlocker>
#include <QTabWidget>

#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/pump.h"

namespace {

QTabWidget* tabs_of(const Bcl_wnd& wnd) { return qobject_cast<QTabWidget*>(Bcl_widget_access::widget(wnd)); }

} // namespace

void Bcl_tab::create(Bcl_wnd& parent, int id)
{
    auto* tabs = new QTabWidget(Bcl_widget_access::widget(parent));
    tabs->setObjectName(control_name(id));
    // Tab and Ctrl+Tab are the program's (focus cycling and the page switch).
    tabs->setFocusPolicy(Qt::StrongFocus);
    Bcl_widget_access::set_widget(*this, tabs);
}

void Bcl_tab::add_page(std::string_view text, Bcl_wnd& page)
{
    QTabWidget* tabs = tabs_of(*this);
    const QSignalBlocker quiet(tabs);
    tabs->addTab(Bcl_widget_access::widget(page), qstr(text));
}

void Bcl_tab::select(int index)
{
    QTabWidget* tabs = tabs_of(*this);
    const QSignalBlocker quiet(tabs);
    tabs->setCurrentIndex(index);
}

int Bcl_tab::selected() const { return tabs_of(*this)->currentIndex(); }

int Bcl_tab::page_count() const { return tabs_of(*this)->count(); }

std::string Bcl_tab::page_text(int index) const { return utf8(tabs_of(*this)->tabText(index)); }

void Bcl_tab::set_change_handler(std::function<void(int)> handler)
{
    QObject::connect(tabs_of(*this), &QTabWidget::currentChanged, Bcl_widget_access::context(*this),
                     [handler](int index) { pump::deliver([handler, index] { handler(index); }); });
}
