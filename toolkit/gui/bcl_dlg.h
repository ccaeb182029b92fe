#pragma once

#include <memory>
#include <string>

#include "toolkit/gui/bcl_wnd.h"

// A modal dialog built from a dialog template of the program's resources, named as
// the template (for example "IDD_ENV"). OK is control 1 and Cancel control 2; every
// button of the template reaches on_command with its id.
//
// The dialog opens centred on its owner (on the screen without one) and kept inside
// the screen's work area; when larger, it sits at the area's left or top edge. A
// dialog whose template lets it grow cannot be made smaller than it opened.
class Bcl_dlg : public Bcl_wnd {
public:
    // `help_topic`: the context id F1 opens, 0 for none.
    explicit Bcl_dlg(std::string template_name, int help_topic = 0);
    ~Bcl_dlg() override;

    // Shows the dialog modally and returns its end code; 0 when the template cannot
    // be shown.
    int run(Bcl_wnd* owner);
    void end(int code);

protected:
    // The controls exist: attach and fill them.
    virtual void on_init_dialog() {}
    // True when on_init_dialog has put the focus itself.
    [[nodiscard]] virtual bool sets_own_focus() const { return false; }
    // A button was clicked, or OK or Cancel chosen by key: 1 ends with 1, 2 with 0.
    virtual void on_command(int id);
    // The close box: ends with 0.
    virtual void on_close();

private:
    friend struct Bcl_dialog_access;
    std::string template_name_;
    int help_topic_;
};
