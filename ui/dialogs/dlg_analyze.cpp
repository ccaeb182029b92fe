#include "ui/dialogs/dlg_analyze.h"

#include "toolkit/gui/bcl_filedlg.h"
#include "ui/core/help_topics.h"

namespace {
constexpr int data_field_id = 1900;
constexpr int output_field_id = 1901;
constexpr int data_browse_id = 1902;
constexpr int output_browse_id = 1903;
} // namespace

Dlg_analyze::Dlg_analyze() : Bcl_dlg("IDD_ANALYZE", help_topic::text_export) {}

void Dlg_analyze::on_init_dialog()
{
    data_field_.attach(*this, data_field_id);
    output_field_.attach(*this, output_field_id);
    ok_.attach(*this, 1);
    data_field_.set_read_only(true);
    output_field_.set_read_only(true);
    ok_.enable(false);
}

void Dlg_analyze::on_command(int id)
{
    switch (id) {
    case data_browse_id:
        browse_data();
        break;
    case output_browse_id:
        browse_output();
        break;
    default:
        Bcl_dlg::on_command(id);
        break;
    }
}

// "*" and not "*.*": on this system a file name need not contain a dot.
void Dlg_analyze::browse_data()
{
    Bcl_filedlg dialog(Bcl_filedlg::Mode::open);
    dialog.add_filter("全てのファイル", "*");
    if (dialog.run(this) != 1)
        return;
    data_path_ = dialog.path();
    data_field_.set_text(data_path_.display());
    ok_.enable(!output_path_.empty());
}

// A save dialog: the report is usually a new file, and an existing one is asked about.
void Dlg_analyze::browse_output()
{
    Bcl_filedlg dialog(Bcl_filedlg::Mode::save);
    dialog.add_filter("テキストファイル", "*.txt");
    dialog.add_filter("全てのファイル", "*");
    if (dialog.run(this) != 1)
        return;
    output_path_ = dialog.path();
    output_field_.set_text(output_path_.display());
    ok_.enable(!data_path_.empty());
}
