#pragma once

#include "toolkit/gui/bcl_ctrl.h"
#include "toolkit/gui/bcl_dlg.h"

class Data_mgr;

// The settings: the document's title and byte order. OK writes them into the
// document and records the change as one undoable step.
class Dlg_env : public Bcl_dlg {
public:
    explicit Dlg_env(Data_mgr& document);

private:
    void on_init_dialog() override;
    void on_command(int id) override;

    Data_mgr& document_;
    Bcl_edit title_;
    Bcl_button big_endian_;
    Bcl_button little_endian_;
};
