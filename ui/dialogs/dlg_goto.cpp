#include "ui/dialogs/dlg_goto.h"

#include <string>

#include "document/place_path.h"
#include "ui/core/help_topics.h"
#include "ui/core/value_choice.h"

namespace {
constexpr int field_id = 1900;
constexpr int message_id = 1901;
} // namespace

Dlg_goto::Dlg_goto(std::uint32_t current, std::uint32_t data_size)
    : Bcl_dlg("IDD_GOTO", help_topic::go_to), offset_(current), data_size_(data_size)
{
}

void Dlg_goto::on_init_dialog()
{
    field_.attach(*this, field_id);
    message_.attach(*this, message_id);
    ok_.attach(*this, 1);
    field_.set_change_handler([this] { update_ok(); });
    field_.set_text("0x" + position_field_text(offset_));
    field_.select_all();
    update_ok();
}

void Dlg_goto::update_ok()
{
    const Offset_field state = offset_field_state(field_.text(), data_size_);
    ok_.enable(state == Offset_field::inside);
    std::string message;
    if (state == Offset_field::unreadable)
        message = "位置として読めない文字があります。";
    else if (state == Offset_field::past_end)
        message = "データの末尾を超えています（データは " + std::to_string(data_size_) + " バイトです）。";
    message_.set_text(message);
}

void Dlg_goto::on_command(int id)
{
    if (id == 1) {
        const std::optional<std::uint64_t> offset = parse_offset(field_.text());
        if (!offset || *offset >= data_size_)
            return;  // Enter while OK is disabled
        offset_ = static_cast<std::uint32_t>(*offset);
    }
    Bcl_dlg::on_command(id);
}
