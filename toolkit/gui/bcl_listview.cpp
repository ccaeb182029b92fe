#include "toolkit/gui/bcl_listview.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeWidget>

#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/pump.h"

namespace {

// A report-style list. A left-button move does not drag the selection along (the
// program drags rows itself); while the mouse is captured, the program's handler
// gets every move and button.
class List_widget : public QTreeWidget {
public:
    explicit List_widget(QWidget* parent) : QTreeWidget(parent)
    {
        setRootIsDecorated(false);
        setUniformRowHeights(true);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setAllColumnsShowFocus(true);
        setItemsExpandable(false);
        setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        header()->setStretchLastSection(false);
        header()->setSectionsMovable(false);
        setColumnCount(0);
    }

    std::function<void(int)> drag_started;
    std::function<void(Bcl_point)> context;
    Bcl_listview::Mouse_handler captured;
    bool capturing = false;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (capturing) {
            if (event->button() == Qt::RightButton && captured.right_down)
                deliver(captured.right_down, event);
            return;
        }
        press_ = event->position().toPoint();
        drag_reported_ = false;
        QTreeWidget::mousePressEvent(event);
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (capturing) {
            if (captured.moved)
                deliver(captured.moved, event);
            return;
        }
        if (!(event->buttons() & Qt::LeftButton)) {
            QTreeWidget::mouseMoveEvent(event);
            return;
        }
        const bool far_enough =
            (event->position().toPoint() - press_).manhattanLength() >= QApplication::startDragDistance();
        QTreeWidgetItem* current = currentItem();
        if (far_enough && !drag_reported_ && current && drag_started) {
            drag_reported_ = true;
            const int row = indexOfTopLevelItem(current);
            pump::deliver([this, row] { drag_started(row); });
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (capturing) {
            if (event->button() == Qt::LeftButton && captured.left_up)
                deliver(captured.left_up, event);
            return;
        }
        QTreeWidget::mouseReleaseEvent(event);
    }

    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (context && !capturing) {
            const Bcl_point at{event->pos().x(), event->pos().y()};
            pump::deliver([this, at] { context(at); });
        }
    }

private:
    void deliver(const std::function<void(Bcl_point)>& handler, QMouseEvent* event)
    {
        const QPoint at = event->position().toPoint();
        pump::deliver([handler, at] { handler({at.x(), at.y()}); });
    }

    QPoint press_;
    bool drag_reported_ = false;
};

List_widget* list_of(const Bcl_wnd& wnd) { return dynamic_cast<List_widget*>(Bcl_widget_access::widget(wnd)); }

QTreeWidgetItem* row_item(const Bcl_wnd& wnd, int row)
{
    const List_widget* list = list_of(wnd);
    return list && row >= 0 && row < list->topLevelItemCount() ? list->topLevelItem(row) : nullptr;
}

} // namespace

void Bcl_listview::create(Bcl_wnd& parent, int id)
{
    auto* list = new List_widget(Bcl_widget_access::widget(parent));
    list->setObjectName(control_name(id));
    Bcl_widget_access::set_widget(*this, list);
}

void Bcl_listview::add_column(std::string_view header, int width)
{
    List_widget* list = list_of(*this);
    const int column = list->columnCount();
    list->setColumnCount(column + 1);
    list->headerItem()->setText(column, qstr(header));
    list->setColumnWidth(column, width);
}

int Bcl_listview::column_count() const { return list_of(*this)->columnCount(); }

int Bcl_listview::insert_row(int row, const std::vector<std::string>& cells)
{
    List_widget* list = list_of(*this);
    auto* item = new QTreeWidgetItem;
    for (std::size_t column = 0; column < cells.size(); ++column)
        item->setText(static_cast<int>(column), qstr(cells[column]));
    if (row < 0 || row > list->topLevelItemCount())
        row = list->topLevelItemCount();
    list->insertTopLevelItem(row, item);
    return row;
}

void Bcl_listview::set_cell(int row, int column, std::string_view text)
{
    if (QTreeWidgetItem* item = row_item(*this, row))
        item->setText(column, qstr(text));
}

std::string Bcl_listview::cell(int row, int column) const
{
    const QTreeWidgetItem* item = row_item(*this, row);
    return item ? utf8(item->text(column)) : std::string();
}

void Bcl_listview::delete_row(int row)
{
    if (row == drop_row_)
        drop_row_ = -1;
    delete row_item(*this, row);
}

void Bcl_listview::delete_all()
{
    drop_row_ = -1;
    list_of(*this)->clear();
}

int Bcl_listview::row_count() const { return list_of(*this)->topLevelItemCount(); }

int Bcl_listview::selected() const
{
    const List_widget* list = list_of(*this);
    const QList<QTreeWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->indexOfTopLevelItem(items.front());
}

void Bcl_listview::select(int row)
{
    List_widget* list = list_of(*this);
    if (QTreeWidgetItem* item = row_item(*this, row)) {
        list->setCurrentItem(item);
        item->setSelected(true);
    } else {
        list->clearSelection();
        list->setCurrentItem(nullptr);
    }
}

void Bcl_listview::ensure_visible(int row)
{
    if (QTreeWidgetItem* item = row_item(*this, row))
        list_of(*this)->scrollToItem(item);
}

int Bcl_listview::hit_test(Bcl_point point) const
{
    const List_widget* list = list_of(*this);
    QTreeWidgetItem* item = list->itemAt(point.x, point.y);
    return item ? list->indexOfTopLevelItem(item) : -1;
}

void Bcl_listview::set_drop_highlight(int row)
{
    if (QTreeWidgetItem* old = row_item(*this, drop_row_))
        for (int column = 0; column < old->columnCount(); ++column)
            old->setData(column, Qt::BackgroundRole, QVariant());
    drop_row_ = row_item(*this, row) ? row : -1;
    if (QTreeWidgetItem* item = row_item(*this, drop_row_)) {
        const QColor colour = list_of(*this)->palette().color(QPalette::Highlight).lighter(160);
        for (int column = 0; column < list_of(*this)->columnCount(); ++column)
            item->setBackground(column, colour);
    }
}

int Bcl_listview::top_row() const
{
    const List_widget* list = list_of(*this);
    QTreeWidgetItem* item = list->itemAt(0, 0);
    return item ? list->indexOfTopLevelItem(item) : 0;
}

void Bcl_listview::scroll_by(int pixels)
{
    QScrollBar* bar = list_of(*this)->verticalScrollBar();
    bar->setValue(bar->value() + pixels);
}

int Bcl_listview::client_height() const { return list_of(*this)->viewport()->height(); }

void Bcl_listview::set_selection_handler(std::function<void(int)> handler)
{
    List_widget* list = list_of(*this);
    QObject::connect(list, &QTreeWidget::itemSelectionChanged, Bcl_widget_access::context(*this),
                     [this, handler] { pump::deliver([this, handler] { handler(selected()); }); });
}

void Bcl_listview::set_activate_handler(std::function<void(int)> handler)
{
    List_widget* list = list_of(*this);
    QObject::connect(list, &QTreeWidget::itemActivated, Bcl_widget_access::context(*this),
                     [list, handler](QTreeWidgetItem* item) {
                         const int row = list->indexOfTopLevelItem(item);
                         pump::deliver([handler, row] { handler(row); });
                     });
}

void Bcl_listview::set_context_handler(std::function<void(Bcl_point)> handler)
{
    list_of(*this)->context = std::move(handler);
}

void Bcl_listview::set_drag_handler(std::function<void(int)> handler)
{
    list_of(*this)->drag_started = std::move(handler);
}

void Bcl_listview::capture_mouse(Mouse_handler handler)
{
    List_widget* list = list_of(*this);
    list->captured = std::move(handler);
    list->capturing = true;
    list->viewport()->grabMouse();
}

void Bcl_listview::release_mouse()
{
    List_widget* list = list_of(*this);
    list->capturing = false;
    list->captured = {};
    list->viewport()->releaseMouse();
}
