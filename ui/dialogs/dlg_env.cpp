#include "ui/dialogs/dlg_env.h"

#include "document/data_mgr.h"
#include "ui/core/bcl_text.h"
#include "ui/core/help_topics.h"
#include "ui/core/settings_change.h"
#include "ui/dialogs/text_fields.h"

namespace {
constexpr int title_id = 200;
constexpr int big_endian_id = 201;
constexpr int little_endian_id = 202;
} // namespace

Dlg_env::Dlg_env(Data_mgr& document) : Bcl_dlg("IDD_ENV", help_topic::settings), document_(document) {}

void Dlg_env::on_init_dialog()
{
    title_.attach(*this, title_id);
    big_endian_.attach(*this, big_endian_id);
    little_endian_.attach(*this, little_endian_id);
    limit_to_bcl_text(title_);
    title_.set_text(field_text_of(document_.title()));
    (document_.little_endian() ? little_endian_ : big_endian_).set_checked(true);
}

void Dlg_env::on_command(int id)
{
    if (id == 1) {
        const Byte_order byte_order = big_endian_.checked() ? Byte_order::big_endian : Byte_order::little_endian;
        change_settings(document_, bcl_text_of_field(title_.text(), document_.title()), byte_order);
    }
    Bcl_dlg::on_command(id);
}
