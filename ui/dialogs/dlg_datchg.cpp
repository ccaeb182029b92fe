#include "ui/dialogs/dlg_datchg.h"

#include <string>

#include "model/float_value.h"
#include "toolkit/gui/bcl_msgbox.h"
#include "toolkit/text/texts.h"
#include "ui/core/data_text.h"
#include "ui/core/help_topics.h"
#include "ui/core/value_choice.h"

// ---- strings ----

Dlg_datchg_str::Dlg_datchg_str(std::string bytes, std::uint32_t max_length, Text_encoding encoding)
    : Bcl_dlg("IDD_DATCHG_STR", help_topic::data_change_str),
      bytes_(std::move(bytes)),
      rules_(max_length),
      max_length_(max_length),
      encoding_(encoding)
{
}

void Dlg_datchg_str::on_init_dialog()
{
    text_.attach(*this, 1500);
    if (encoding_ == Text_encoding::shift_jis) {
        shown_ = field_text_of_bytes(bytes_);
        text_.set_filter(&rules_);
    } else {
        shown_ = field_text_of_text(decode_text(bytes_, encoding_));
    }
    text_.set_text(shown_);
}

void Dlg_datchg_str::on_command(int id)
{
    // A text left as it was shown keeps its bytes exactly.
    if (id == 1 && text_.text() != shown_) {
        if (encoding_ == Text_encoding::shift_jis)
            bytes_ = bytes_of_field_text(text_.text());
        else if (!take_encoded_text())
            return;
    }
    Bcl_dlg::on_command(id);
}

bool Dlg_datchg_str::take_encoded_text()
{
    const std::optional<std::string> bytes = encode_text(text_of_field_text(text_.text()), encoding_);
    const Bcl_str* refusal = !bytes                       ? &texts::encoding_cannot_hold()
                             : bytes->size() > max_length_ ? &texts::string_too_long()
                                                           : nullptr;
    if (refusal) {
        bcl_message_box(this, refusal->to_utf8(), "ケストリクス", Bcl_buttons::ok, Bcl_icon::warning);
        return false;
    }
    bytes_ = *bytes;
    return true;
}

// ---- floats ----

Dlg_datchg_float::Dlg_datchg_float(std::string text, int width)
    : Bcl_dlg("IDD_DATCHG_FLOAT", help_topic::data_change_float), text_(std::move(text)), width_(width)
{
}

void Dlg_datchg_float::on_init_dialog()
{
    field_.attach(*this, 2110);
    ok_.attach(*this, 1);
    field_.set_text(text_);
    field_.set_change_handler([this] { update_ok(); });
    update_ok();
}

void Dlg_datchg_float::update_ok() { ok_.enable(parse_float(field_.text(), width_).has_value()); }

void Dlg_datchg_float::on_command(int id)
{
    if (id == 1) {
        const std::optional<double> value = parse_float(field_.text(), width_);
        // Enter reaches OK even while it is disabled: the text must be a number.
        if (!value)
            return;
        value_ = *value;
    }
    Bcl_dlg::on_command(id);
}

// ---- values ----

Dlg_datchg_value::Dlg_datchg_value(std::string template_name, int help_topic, Ids ids, std::int64_t value,
                                   const Named_values* values)
    : Bcl_dlg(std::move(template_name), help_topic), ids_(ids), value_(value), values_(values)
{
}

void Dlg_datchg_value::on_init_dialog()
{
    direct_.attach(*this, ids_.direct);
    named_.attach(*this, ids_.named);
    field_.attach(*this, ids_.field);
    list_.attach(*this, ids_.list);
    ok_.attach(*this, 1);
    field_.set_filter(&field_rules());
    field_.set_text(field_text(value_));
    field_.set_change_handler([this] { update_ok(); });
    if (values_)
        for (const auto& [value, meaning] : *values_)
            list_.add(meaning.to_utf8());
    const Value_choice choice = value_choice(value_, values_);
    if (choice.entry >= 0)
        list_.select(choice.entry);
    named_.enable(choice.named_allowed);
    choose_named(choice.named);
}

void Dlg_datchg_value::choose_named(bool named)
{
    named_.set_checked(named);
    direct_.set_checked(!named);
    field_.enable(!named);
    list_.enable(named);
    (named ? static_cast<Bcl_wnd&>(list_) : field_).set_focus();
    update_ok();
}

void Dlg_datchg_value::update_ok()
{
    ok_.enable(named_.checked() ? named_value_at(values_, list_.selected()).has_value()
                                : field_value(field_).has_value());
}

void Dlg_datchg_value::on_command(int id)
{
    if (id == ids_.direct || id == ids_.named) {
        choose_named(id == ids_.named);
        return;
    }
    if (id == 1) {
        const std::optional<std::int64_t> value =
            named_.checked() ? named_value_at(values_, list_.selected()) : field_value(field_);
        if (value)
            value_ = *value;
    }
    Bcl_dlg::on_command(id);
}

Dlg_datchg_int::Dlg_datchg_int(std::int64_t value, std::int64_t minimum, std::uint64_t maximum,
                               const Named_values* values)
    : Dlg_datchg_value("IDD_DATCHG_INT", help_topic::data_change_int, {1600, 1601, 1602, 1603}, value, values),
      rules_(minimum, maximum)
{
}

std::string Dlg_datchg_int::field_text(std::int64_t value) const
{
    // Values of an unsigned range are shown unsigned (4294967295, not -1).
    if (rules_.minimum() < 0)
        return std::to_string(value);
    if (rules_.maximum() > 0xFFFFFFFFu)
        return std::to_string(static_cast<std::uint64_t>(value));
    return std::to_string(static_cast<std::uint32_t>(value));
}

std::optional<std::int64_t> Dlg_datchg_int::field_value(const Bcl_edit& field) const
{
    return decimal_field_value(field.text(), rules_.minimum(), rules_.maximum());
}

Dlg_datchg_hex::Dlg_datchg_hex(std::int64_t value, int byte_count, const Named_values* values)
    : Dlg_datchg_value("IDD_DATCHG_HEX", help_topic::data_change_hex, {1700, 1701, 1702, 1703}, value, values),
      byte_count_(byte_count)
{
}

std::string Dlg_datchg_hex::field_text(std::int64_t value) const
{
    return hex_field_text(static_cast<std::uint64_t>(value), byte_count_);
}

std::optional<std::int64_t> Dlg_datchg_hex::field_value(const Bcl_edit& field) const
{
    const std::optional<std::uint64_t> value = hex_field_value(field.text(), byte_count_);
    return value ? std::optional(value_key(*value, byte_count_)) : std::nullopt;
}

// ---- adding and deleting bytes ----

Dlg_datadd::Dlg_datadd(Form form, std::uint32_t position, std::uint32_t size)
    : Bcl_dlg("IDD_DATADD", form == Form::add ? help_topic::data_add : help_topic::data_delete), form_(form),
      position_(position), size_(size)
{
}

void Dlg_datadd::on_init_dialog()
{
    position_field_.attach(*this, 1800);
    size_field_.attach(*this, 1801);
    ok_.attach(*this, 1);
    if (form_ == Form::remove)
        set_text("データ削除");
    position_field_.set_filter(&position_rules_);
    size_field_.set_filter(&size_rules_);
    position_field_.set_change_handler([this] { update_ok(); });
    size_field_.set_change_handler([this] { update_ok(); });
    position_field_.set_text(position_field_text(position_));
    size_field_.set_text(std::to_string(size_));
    update_ok();
}

void Dlg_datadd::update_ok() { ok_.enable(byte_range_confirmable(position_field_.text(), size_field_.text())); }

void Dlg_datadd::on_command(int id)
{
    if (id == 1) {
        position_ = read_hex_field(position_field_.text()).value_or(position_);
        size_ = read_decimal_field(size_field_.text()).value_or(size_);
    }
    Bcl_dlg::on_command(id);
}
