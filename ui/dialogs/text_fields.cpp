#include "ui/dialogs/text_fields.h"

#include "toolkit/gui/bcl_ctrl.h"
#include "ui/core/bcl_text.h"

void limit_to_bcl_text(Bcl_edit& field)
{
    field.set_text_rule([](std::string_view utf8) { return fits_bcl_text(utf8); });
}
