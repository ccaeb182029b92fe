#include "toolkit/gui/bcl_treeview.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/pump.h"

namespace {

QTreeWidget* tree_of(const Bcl_wnd& wnd) { return qobject_cast<QTreeWidget*>(Bcl_widget_access::widget(wnd)); }

QTreeWidgetItem* item_of(Bcl_tree_item item) { return reinterpret_cast<QTreeWidgetItem*>(item); }

Bcl_tree_item handle_of(QTreeWidgetItem* item) { return reinterpret_cast<Bcl_tree_item>(item); }

} // namespace

void Bcl_treeview::create(Bcl_wnd& parent, int id)
{
    auto* tree = new QTreeWidget(Bcl_widget_access::widget(parent));
    tree->setObjectName(control_name(id));
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    // As wide as its widest text, scrolled sideways in a narrow pane: held to the
    // pane's width, deep items with long names (byte ranges near 4 GiB) showed "…".
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    // Measured on the rows in view only: a table's level holds up to 1024 rows, and
    // measuring them all after each change of the data costs a tenth of a second.
    tree->header()->setResizeContentsPrecision(0);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    Bcl_widget_access::set_widget(*this, tree);
}

Bcl_tree_item Bcl_treeview::insert(Bcl_tree_item parent, std::string_view text)
{
    QTreeWidgetItem* item = parent ? new QTreeWidgetItem(item_of(parent)) : new QTreeWidgetItem(tree_of(*this));
    item->setText(0, qstr(text));
    return handle_of(item);
}

std::vector<Bcl_tree_item> Bcl_treeview::insert(Bcl_tree_item parent, const std::vector<std::string>& texts)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(texts.size()));
    std::vector<Bcl_tree_item> handles;
    handles.reserve(texts.size());
    for (const std::string& text : texts) {
        auto* item = new QTreeWidgetItem(QStringList{qstr(text)});
        items.append(item);
        handles.push_back(handle_of(item));
    }
    if (parent)
        item_of(parent)->addChildren(items);
    else
        tree_of(*this)->addTopLevelItems(items);
    return handles;
}

void Bcl_treeview::remove(Bcl_tree_item item) { delete item_of(item); }

void Bcl_treeview::remove_all()
{
    // Emptying is no change of selection the program must hear of.
    QTreeWidget* tree = tree_of(*this);
    const QSignalBlocker quiet(tree);
    tree->clear();
}

Bcl_tree_item Bcl_treeview::root() const { return handle_of(tree_of(*this)->topLevelItem(0)); }

Bcl_tree_item Bcl_treeview::parent(Bcl_tree_item item) const { return item ? handle_of(item_of(item)->parent()) : nullptr; }

Bcl_tree_item Bcl_treeview::first_child(Bcl_tree_item item) const
{
    return item && item_of(item)->childCount() > 0 ? handle_of(item_of(item)->child(0)) : nullptr;
}

Bcl_tree_item Bcl_treeview::next_sibling(Bcl_tree_item item) const
{
    if (!item)
        return nullptr;
    QTreeWidgetItem* self = item_of(item);
    QTreeWidgetItem* parent = self->parent();
    if (!parent) {
        QTreeWidget* tree = tree_of(*this);
        const int index = tree->indexOfTopLevelItem(self) + 1;
        return index < tree->topLevelItemCount() ? handle_of(tree->topLevelItem(index)) : nullptr;
    }
    const int index = parent->indexOfChild(self) + 1;
    return index < parent->childCount() ? handle_of(parent->child(index)) : nullptr;
}

int Bcl_treeview::child_count(Bcl_tree_item item) const { return item ? item_of(item)->childCount() : 0; }

std::string Bcl_treeview::text(Bcl_tree_item item) const { return item ? utf8(item_of(item)->text(0)) : std::string(); }

void Bcl_treeview::expand(Bcl_tree_item item)
{
    if (item)
        item_of(item)->setExpanded(true);
}

Bcl_tree_item Bcl_treeview::selected() const
{
    const QList<QTreeWidgetItem*> items = tree_of(*this)->selectedItems();
    return items.isEmpty() ? nullptr : handle_of(items.front());
}

void Bcl_treeview::select(Bcl_tree_item item)
{
    QTreeWidget* tree = tree_of(*this);
    if (!item) {
        tree->clearSelection();
        return;
    }
    tree->setCurrentItem(item_of(item));
    item_of(item)->setSelected(true);
    tree->scrollToItem(item_of(item));
}

void Bcl_treeview::set_selection_handler(std::function<void(Bcl_tree_item)> handler)
{
    QObject::connect(tree_of(*this), &QTreeWidget::itemSelectionChanged, Bcl_widget_access::context(*this),
                     [this, handler] { pump::deliver([this, handler] { handler(selected()); }); });
}
