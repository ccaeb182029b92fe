#include "toolkit/gui/bcl_filedlg.h"

#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

#include "toolkit/gui/bcl_wnd.h"
#include "toolkit/gui/detail/access.h"

namespace {

// Qt's file list writes sizes and dates in the system's locale, not the program's:
// in Japanese whatever the system's locale, on screen and to assistive technology.
class Local_file_columns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role == Qt::DisplayRole && files) {
            const QModelIndex file = mapToSource(index);
            if (index.column() == 1 && !files->isDir(file))
                return QLocale().formattedDataSize(files->size(file));
            if (index.column() == 3)
                return QLocale().toString(files->lastModified(file), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

void Bcl_filedlg::add_filter(std::string description, std::string pattern)
{
    filters_.push_back({std::move(description), std::move(pattern)});
}

int Bcl_filedlg::run(Bcl_wnd* owner)
{
    QWidget* parent = owner ? Bcl_widget_access::widget(*owner) : nullptr;
    QFileDialog dialog(parent ? parent->window() : nullptr);
    dialog.setObjectName(QStringLiteral("file_dialog"));
    if (mode_ == Mode::open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    QStringList filters;
    for (const Filter& filter : filters_)
        filters << qstr(filter.description) + QStringLiteral(" (") + qstr(filter.pattern) + QLatin1Char(')');
    dialog.setNameFilters(filters);
    // Only Qt's own dialog has a file list (a desktop's dialog has its own locale).
    if (dialog.findChild<QFileSystemModel*>())
        dialog.setProxyModel(new Local_file_columns(&dialog));
    // The Japanese sizes, types and dates are wider than the English ones the
    // columns are made for.
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView")))
        for (int column = 1; column <= 3; ++column)
            list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return 0;
    // The name as the system spells it, not as text.
    path_ = File_path(QFile::encodeName(dialog.selectedFiles().front()).toStdString());
    return 1;
}
