#include "toolkit/gui/bcl_filedlg.h"

#include <QFile>
#include <QFileDialog>

#include "toolkit/gui/bcl_wnd.h"
#include "toolkit/gui/detail/access.h"

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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return 0;
    // The name as the system spells it, not as text.
    path_ = File_path(QFile::encodeName(dialog.selectedFiles().front()).toStdString());
    return 1;
}
