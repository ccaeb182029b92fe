#pragma once

#include "toolkit/gui/bcl_dlg.h"

// The program's icon and, from its version resource, its description, " Ver.", its
// version and, after an empty line, the legal notice.
class Dlg_version : public Bcl_dlg {
public:
    Dlg_version() : Bcl_dlg("IDD_VERSION") {}

private:
    void on_init_dialog() override;
};
