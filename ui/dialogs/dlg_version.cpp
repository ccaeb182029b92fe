#include "ui/dialogs/dlg_version.h"

#include <string>

#include "toolkit/gui/bcl_ctrl.h"
#include "toolkit/gui/bcl_verinfo.h"

void Dlg_version::on_init_dialog()
{
    Bcl_verinfo info;
    info.load();
    // A missing value contributes nothing.
    const auto value = [&info](const char* name) {
        return info.value(std::string("\\StringFileInfo\\041103A4\\") + name).value_or("");
    };
    Bcl_ctrl text;
    if (text.attach(*this, 2000))
        text.set_text(value("FileDescription") + " Ver." + value("FileVersion") + "\n\n" + value("LegalCopyright"));
}
