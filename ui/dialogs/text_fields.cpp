#include "ui/dialogs/text_fields.h"

#include "toolkit/gui/bcl_ctrl.h"
#include "ui/core/bcl_text.h"
#include "ui/core/field_rules.h"

void limit_to_bcl_text(Bcl_edit& field)
{
    // The rules hold no state: one serves every field for the program's life.
    static const Ctrl_edit_text_state rules(bcl_text_limit);
    field.set_filter(&rules);
}
