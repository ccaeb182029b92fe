#pragma once

#include "toolkit/files/file_path.h"
#include "toolkit/gui/bcl_ctrl.h"
#include "toolkit/gui/bcl_dlg.h"

// The text export's files: the data file and the output file, each chosen with
// "参照"; OK is enabled once both are chosen.
class Dlg_analyze : public Bcl_dlg {
public:
    Dlg_analyze();

    [[nodiscard]] const File_path& data_path() const { return data_path_; }
    [[nodiscard]] const File_path& output_path() const { return output_path_; }

private:
    void on_init_dialog() override;
    void on_command(int id) override;
    void browse_data();
    void browse_output();

    Bcl_edit data_field_;
    Bcl_edit output_field_;
    Bcl_ctrl ok_;
    // The names as chosen; the fields show them as text.
    File_path data_path_;
    File_path output_path_;
};
