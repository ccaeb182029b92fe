#include "toolkit/gui/bcl_listview.h"

#include <algorithm>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeWidget>

#include <utility>

#include "toolkit/text/cell_text.h"
#include "toolkit/gui/bcl_dlg.h"
#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/pump.h"

namespace {

// What makes a tree widget the program's list: a left-button move does not drag the
// selection along (the program drags rows itself), a right click reports to the
// program instead of opening a menu, and while the mouse is captured the program's
// handler gets every move and button. Installed on the list and its viewport (where
// the mouse events arrive); a child of the list, so it goes with it.
class List_events : public QObject {
public:
    // Found again by this name: without its own meta-object, a search by type would
    // take any child object of the list.
    static constexpr const char* name = "kestrix_list_events";

    explicit List_events(QTreeWidget* list) : QObject(list), list_(list)
    {
        setObjectName(QLatin1String(name));
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
        QObject::connect(list->header(), &QHeaderView::sectionResized, this, [this](int column, int, int) {
            if (column != list_->columnCount() - 1)
                fit_last_column();
        });
    }

    // The last column takes whatever width the others leave, and never less than it
    // was given: a long remark is not cut while the list has room to its right.
    void fit_last_column()
    {
        const int last = list_->columnCount() - 1;
        if (last < 0)
            return;
        QHeaderView* header = list_->header();
        int others = 0;
        for (int column = 0; column < last; ++column)
            others += header->sectionSize(column);
        const int width = std::max(last_column_width, list_->viewport()->width() - others);
        if (header->sectionSize(last) != width)
            header->resizeSection(last, width);
    }

    int last_column_width = 0;
    std::function<void(int)> drag_started;
    std::function<void(Bcl_point)> context;
    Bcl_listview::Mouse_handler captured;
    bool capturing = false;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return watched == list_->viewport() && pressed(static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
            return watched == list_->viewport() && moved(static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease:
            return watched == list_->viewport() && released(static_cast<QMouseEvent*>(event));
        case QEvent::Resize:
            if (watched == list_->viewport())
                fit_last_column();
            return false;
        case QEvent::KeyPress:
            return watched == list_ && activate_on_enter(static_cast<QKeyEvent*>(event));
        case QEvent::ContextMenu: {
            const auto* request = static_cast<QContextMenuEvent*>(event);
            // The window system asks for a menu after the right button press that
            // ended a capture (or on its release): that press did its work.
            const bool ended_capture =
                std::exchange(right_ended_capture_, false) && request->reason() == QContextMenuEvent::Mouse;
            if (context && !capturing && !ended_capture) {
                const QPoint at = list_->viewport()->mapFromGlobal(request->globalPos());
                pump::input([this, at] { context({at.x(), at.y()}); });
            }
            return true;
        }
        case QEvent::FocusOut:
        case QEvent::Hide:
            if (watched == list_ && capturing && captured.lost)
                pump::deliver(captured.lost);
            return false;
        default:
            return false;
        }
    }

private:
    // Enter activates the current row and goes no further: the view itself passes it
    // on, and in a dialog it would then also press the default button.
    bool activate_on_enter(const QKeyEvent* event)
    {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
            return false;
        const QModelIndex current = list_->currentIndex();
        if (!current.isValid())
            return false;
        emit list_->activated(current);
        return true;
    }

    bool pressed(QMouseEvent* event)
    {
        if (capturing) {
            if (event->button() == Qt::RightButton && captured.right_down) {
                right_ended_capture_ = true;
                deliver(captured.right_down, event);
            }
            return true;
        }
        right_ended_capture_ = false;
        press_ = event->position().toPoint();
        drag_reported_ = false;
        return false;
    }

    bool moved(QMouseEvent* event)
    {
        if (capturing) {
            if (captured.moved)
                deliver(captured.moved, event);
            return true;
        }
        if (!(event->buttons() & Qt::LeftButton))
            return false;
        const bool far_enough =
            (event->position().toPoint() - press_).manhattanLength() >= QApplication::startDragDistance();
        QTreeWidgetItem* current = list_->currentItem();
        if (far_enough && !drag_reported_ && current && drag_started) {
            drag_reported_ = true;
            const int row = list_->indexOfTopLevelItem(current);
            pump::input([this, row] { drag_started(row); });
        }
        return true;
    }

    bool released(QMouseEvent* event)
    {
        if (!capturing)
            return false;
        if (event->button() == Qt::LeftButton && captured.left_up)
            deliver(captured.left_up, event);
        return true;
    }

    static void deliver(const std::function<void(Bcl_point)>& handler, QMouseEvent* event)
    {
        const QPoint at = event->position().toPoint();
        pump::input([handler, at] { handler({at.x(), at.y()}); });
    }

    QTreeWidget* list_;
    QPoint press_;
    bool drag_reported_ = false;
    bool right_ended_capture_ = false;
};

// A report-style list: rows without a tree's decoration, one row selected at a time,
// columns added by the program.
void make_list(QTreeWidget* list)
{
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->setItemsExpandable(false);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setDragDropMode(QAbstractItemView::NoDragDrop);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->setColumnCount(0);
    new List_events(list);
}

QTreeWidget* list_of(const Bcl_wnd& wnd) { return qobject_cast<QTreeWidget*>(Bcl_widget_access::widget(wnd)); }

List_events* events_of(const Bcl_wnd& wnd)
{
    QTreeWidget* list = list_of(wnd);
    QObject* events = list ? list->findChild<QObject*>(QLatin1String(List_events::name), Qt::FindDirectChildrenOnly) : nullptr;
    return static_cast<List_events*>(events);
}

QTreeWidgetItem* row_item(const Bcl_wnd& wnd, int row)
{
    const QTreeWidget* list = list_of(wnd);
    return list && row >= 0 && row < list->topLevelItemCount() ? list->topLevelItem(row) : nullptr;
}

} // namespace

void Bcl_listview::create(Bcl_wnd& parent, int id)
{
    auto* list = new QTreeWidget(Bcl_widget_access::widget(parent));
    list->setObjectName(control_name(id));
    make_list(list);
    Bcl_widget_access::set_widget(*this, list);
}

bool Bcl_listview::attach(Bcl_dlg& dialog, int id)
{
    QWidget* parent = Bcl_widget_access::widget(dialog);
    auto* list = parent ? parent->findChild<QTreeWidget*>(control_name(id)) : nullptr;
    if (list)
        make_list(list);
    Bcl_widget_access::set_widget(*this, list);
    return list != nullptr;
}

void Bcl_listview::add_column(std::string_view header, int width)
{
    QTreeWidget* list = list_of(*this);
    const int column = list->columnCount();
    list->setColumnCount(column + 1);
    list->headerItem()->setText(column, qstr(header));
    List_events* events = events_of(*this);
    // The column that was last until now stops stretching.
    if (column > 0)
        list->setColumnWidth(column - 1, events->last_column_width);
    events->last_column_width = width;
    list->setColumnWidth(column, width);
    events->fit_last_column();
}

int Bcl_listview::column_count() const { return list_of(*this)->columnCount(); }

int Bcl_listview::insert_row(int row, const std::vector<std::string>& cells)
{
    QTreeWidget* list = list_of(*this);
    auto* item = new QTreeWidgetItem;
    for (std::size_t column = 0; column < cells.size(); ++column)
        item->setText(static_cast<int>(column), qstr(one_line_cell_text(cells[column])));
    if (row < 0 || row > list->topLevelItemCount())
        row = list->topLevelItemCount();
    list->insertTopLevelItem(row, item);
    return row;
}

void Bcl_listview::set_cell(int row, int column, std::string_view text)
{
    if (QTreeWidgetItem* item = row_item(*this, row))
        item->setText(column, qstr(one_line_cell_text(text)));
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
    const QTreeWidget* list = list_of(*this);
    const QList<QTreeWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->indexOfTopLevelItem(items.front());
}

void Bcl_listview::select(int row)
{
    QTreeWidget* list = list_of(*this);
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
    const QTreeWidget* list = list_of(*this);
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
    const QTreeWidget* list = list_of(*this);
    QTreeWidgetItem* item = list->itemAt(0, 0);
    return item ? list->indexOfTopLevelItem(item) : 0;
}

void Bcl_listview::set_top_row(int row)
{
    if (QTreeWidgetItem* item = row_item(*this, row))
        list_of(*this)->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

void Bcl_listview::scroll_by(int pixels)
{
    QScrollBar* bar = list_of(*this)->verticalScrollBar();
    bar->setValue(bar->value() + pixels);
}

int Bcl_listview::client_height() const { return list_of(*this)->viewport()->height(); }

void Bcl_listview::set_selection_handler(std::function<void(int)> handler)
{
    QTreeWidget* list = list_of(*this);
    QObject::connect(list, &QTreeWidget::itemSelectionChanged, Bcl_widget_access::context(*this),
                     [this, handler] { pump::deliver([this, handler] { handler(selected()); }); });
}

void Bcl_listview::set_activate_handler(std::function<void(int)> handler)
{
    QTreeWidget* list = list_of(*this);
    QObject::connect(list, &QTreeWidget::itemActivated, Bcl_widget_access::context(*this),
                     [list, handler](QTreeWidgetItem* item) {
                         const int row = list->indexOfTopLevelItem(item);
                         pump::input([handler, row] { handler(row); });
                     });
}

void Bcl_listview::set_context_handler(std::function<void(Bcl_point)> handler)
{
    events_of(*this)->context = std::move(handler);
}

void Bcl_listview::set_drag_handler(std::function<void(int)> handler)
{
    events_of(*this)->drag_started = std::move(handler);
}

void Bcl_listview::capture_mouse(Mouse_handler handler)
{
    List_events* events = events_of(*this);
    events->captured = std::move(handler);
    events->capturing = true;
    list_of(*this)->viewport()->grabMouse();
}

void Bcl_listview::release_mouse()
{
    List_events* events = events_of(*this);
    events->capturing = false;
    events->captured = {};
    list_of(*this)->viewport()->releaseMouse();
}

bool Bcl_listview::mouse_captured() const
{
    const List_events* events = events_of(*this);
    return events && events->capturing;
}
