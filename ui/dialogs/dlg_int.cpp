#include "ui/dialogs/dlg_int.h"

#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "edit/definition_edits.h"
#include "model/def_disp_visitor.h"
#include "toolkit/gui/bcl_menu.h"
#include "toolkit/gui/bcl_msgbox.h"
#include "toolkit/text/texts.h"
#include "ui/core/commands.h"
#include "ui/core/help_topics.h"
#include "ui/core/named_value_text.h"
#include "ui/core/value_choice.h"
#include "ui/dialogs/item_fields.h"
#include "ui/menu_items.h"

namespace {

// The popup of the dialogs' lists: "追加", "編集", "削除"; the command chosen, or 0.
int track_list_popup(bool can_edit)
{
    Bcl_menu menu(menu_items(menu_name::list_popup));
    menu.enable(cmd::list_edit, can_edit);
    menu.enable(cmd::list_delete, can_edit);
    return menu.track();
}

std::vector<std::string> flag_cells(const Def_bitflag& flag, bool wide)
{
    return {flag.name().to_utf8(), std::to_string(flag.bit_count()), flag.variable().to_utf8(),
            value_table_text(flag.named_values(), false, wide).to_utf8()};
}

// The values a named value takes: signed ones from the lowest signed value, and
// every pattern of the width read unsigned.
Ctrl_edit_num_state value_range(bool is_signed, bool wide)
{
    if (wide)
        return {is_signed ? std::numeric_limits<std::int64_t>::min() : 0, std::numeric_limits<std::uint64_t>::max()};
    return {is_signed ? std::numeric_limits<std::int32_t>::min() : 0, std::numeric_limits<std::uint32_t>::max()};
}

} // namespace

// ---- one named value ----

Dlg_enum_val::Dlg_enum_val(std::int64_t value, Bcl_str meaning, bool is_signed, bool wide)
    : Bcl_dlg("IDD_ENUM_VAL", help_topic::integer), value_(value), meaning_(std::move(meaning)),
      is_signed_(is_signed), wide_(wide), value_rules_(value_range(is_signed, wide))
{
}

void Dlg_enum_val::on_init_dialog()
{
    value_field_.attach(*this, 1200);
    value_field_.set_filter(&value_rules_);
    attach_bcl_text(*this, meaning_field_, 1201);
    ok_.attach(*this, 1);
    value_field_.set_change_handler([this] { ok_.enable(field_value().has_value()); });
    if (is_signed_)
        value_field_.set_text(std::to_string(value_));
    else
        value_field_.set_text(wide_ ? std::to_string(static_cast<std::uint64_t>(value_))
                                    : std::to_string(static_cast<std::uint32_t>(value_)));
    show_bcl_text(meaning_field_, meaning_);
}

std::optional<std::int64_t> Dlg_enum_val::field_value() const
{
    return decimal_field_value(value_field_.text(), value_rules_.minimum(), value_rules_.maximum());
}

void Dlg_enum_val::on_command(int id)
{
    if (id == 1) {
        value_ = field_value().value_or(value_);
        meaning_ = bcl_text_of(meaning_field_, meaning_);
    }
    Bcl_dlg::on_command(id);
}

// ---- the named-value list ----

Named_value_list::Named_value_list(Named_values values, std::function<bool()> is_signed,
                                   std::function<bool()> is_wide)
    : values_(std::move(values)), is_signed_(std::move(is_signed)), is_wide_(std::move(is_wide))
{
}

void Named_value_list::attach(Bcl_dlg& dialog, int id)
{
    dialog_ = &dialog;
    list_.attach(dialog, id);
    list_.add_column("値", 100);
    list_.add_column("意味", 200);
    list_.set_context_handler([this](Bcl_point) { popup(); });
    list_.set_activate_handler([this](int row) { edit(row); });
    fill();
}

void Named_value_list::fill()
{
    list_.delete_all();
    for (const auto& [value, meaning] : values_)
        list_.insert_row(-1, {named_value_text(value, is_wide_()), meaning.to_utf8()});
}

std::int64_t Named_value_list::value_of_row(int row) const
{
    auto entry = values_.begin();
    std::advance(entry, row);
    return entry->first;
}

void Named_value_list::popup()
{
    const int row = list_.selected();
    switch (track_list_popup(row >= 0)) {
    case cmd::list_add:
        add();
        break;
    case cmd::list_edit:
        edit(row);
        break;
    case cmd::list_delete:
        values_.erase(value_of_row(row));
        fill();
        break;
    default:
        break;
    }
}

void Named_value_list::add()
{
    Dlg_enum_val dialog(proposed_value(values_), Bcl_str(), is_signed_(), is_wide_());
    if (dialog.run(dialog_) == 1)
        store(dialog.value(), dialog.meaning());
}

void Named_value_list::edit(int row)
{
    if (row < 0 || row >= static_cast<int>(values_.size()))
        return;
    const std::int64_t old_value = value_of_row(row);
    Dlg_enum_val dialog(old_value, values_.at(old_value), is_signed_(), is_wide_());
    if (dialog.run(dialog_) != 1)
        return;
    values_.erase(old_value);
    store(dialog.value(), dialog.meaning());
}

void Named_value_list::store(std::int64_t value, const Bcl_str& meaning)
{
    values_[value] = meaning;
    fill();
    list_.select(static_cast<int>(std::distance(values_.begin(), values_.find(value))));
}

// ---- one bit flag ----

Dlg_bitflag::Dlg_bitflag(const Def_bitflag* flag, bool wide)
    : Bcl_dlg("IDD_BITFLAG", help_topic::bit_flag), flag_(flag),
      values_(flag ? flag->named_values() : Named_values{}, [] { return false; }, [wide] { return wide; }),
      bit_count_rules_(0, wide ? 64 : 32)
{
}

void Dlg_bitflag::on_init_dialog()
{
    attach_bcl_text(*this, name_, 400);
    bit_count_.attach(*this, 401);
    bit_count_.set_filter(&bit_count_rules_);
    variable_.attach(*this, 402);
    variable_.set_filter(&variable_rules_);
    values_.attach(*this, 403);
    ok_.attach(*this, 1);
    if (flag_) {
        show_bcl_text(name_, flag_->name());
        show_bcl_text(variable_, flag_->variable());
    }
    bit_count_.set_change_handler([this] { ok_.enable(bit_count().has_value()); });
    bit_count_.set_text(std::to_string(flag_ ? flag_->bit_count() : 1));
}

std::optional<std::int64_t> Dlg_bitflag::bit_count() const
{
    return decimal_field_value(bit_count_.text(), 1, bit_count_rules_.maximum());
}

void Dlg_bitflag::on_command(int id)
{
    if (id == 1) {
        const Bcl_str name = bcl_text_of(name_, flag_ ? flag_->name() : Bcl_str());
        const Bcl_str variable = bcl_text_of(variable_, flag_ ? flag_->variable() : Bcl_str());
        result_ = std::make_unique<Def_bitflag>(name, static_cast<int>(bit_count().value_or(1)), variable);
        result_->set_named_values(values_.values());
    }
    Bcl_dlg::on_command(id);
}

// ---- the integer ----

Dlg_int::Dlg_int(Data_mgr& document, Def_int* item)
    : Bcl_dlg("IDD_INT", help_topic::integer), document_(document), item_(item),
      values_(item ? item->named_values() : Named_values{}, [this] { return signed_.checked(); },
              [this] { return size_of(size_) == wide_int_size; }),
      flag_drag_(
          flag_list_, [this](int source, int target) { return flag_drop_allowed(source, target); },
          [this](int source, int target) { move_flag(source, target); })
{
    if (item)
        for (const auto& flag : item->bit_flags())
            flags_.push_back(flag->clone());
}

void Dlg_int::on_init_dialog()
{
    attach_bcl_text(*this, name_, 300);
    size_.attach(*this, 301);
    fill_size_list(size_, true);
    signed_.attach(*this, 302);
    unsigned_.attach(*this, 303);
    decimal_.attach(*this, 308);
    hexadecimal_.attach(*this, 309);
    variable_.attach(*this, 304);
    variable_.set_filter(&variable_rules_);
    values_.attach(*this, 305);
    flag_list_.attach(*this, 307);
    flag_list_.add_column("名称", 100);
    flag_list_.add_column("ビット数", 70);
    flag_list_.add_column("変数", 70);
    flag_list_.add_column("備考", 80);
    flag_list_.set_context_handler([this](Bcl_point) { flag_popup(); });
    flag_list_.set_activate_handler([this](int row) { edit_flag(row); });
    flag_list_.set_drag_handler([this](int row) {
        if (row >= 0 && row < static_cast<int>(flags_.size()))
            flag_drag_.start(row);
    });
    flag_list_.set_key_handler([this](const Bcl_key_event& key) {
        if (key.key != Bcl_key::escape || !flag_drag_.active())
            return false;
        flag_drag_.cancel();
        return true;
    });

    show_bcl_text(name_, item_ ? item_->name() : Bcl_str());
    show_bcl_text(variable_, item_ ? item_->variable() : Bcl_str());
    show_size(size_, item_ ? item_->size() : 1);
    (item_ && item_->is_signed() ? signed_ : unsigned_).set_checked(true);
    (item_ && item_->display() == Def_int::hexadecimal ? hexadecimal_ : decimal_).set_checked(true);
    fill_flags();
}

bool Dlg_int::wide() const { return size_of(size_) == wide_int_size; }

void Dlg_int::fill_flags()
{
    flag_list_.delete_all();
    for (const auto& flag : flags_)
        flag_list_.insert_row(-1, flag_cells(*flag, wide()));
    flag_list_.insert_row(-1, {});
}

void Dlg_int::flag_popup()
{
    const int row = flag_list_.selected();
    if (row < 0)
        return;
    const bool on_flag = row < static_cast<int>(flags_.size());
    switch (track_list_popup(on_flag)) {
    case cmd::list_add:
        add_flag(row);
        break;
    case cmd::list_edit:
        edit_flag(row);
        break;
    case cmd::list_delete:
        flags_.erase(flags_.begin() + row);
        fill_flags();
        break;
    default:
        break;
    }
}

void Dlg_int::add_flag(int before)
{
    Dlg_bitflag dialog(nullptr, wide());
    if (dialog.run(this) != 1)
        return;
    flags_.insert(flags_.begin() + before, dialog.take_result());
    fill_flags();
    flag_list_.select(before);
}

void Dlg_int::edit_flag(int row)
{
    if (row < 0 || row >= static_cast<int>(flags_.size()))
        return;
    Dlg_bitflag dialog(flags_[static_cast<std::size_t>(row)].get(), wide());
    if (dialog.run(this) != 1)
        return;
    flags_[static_cast<std::size_t>(row)] = dialog.take_result();
    const std::vector<std::string> cells = flag_cells(*flags_[static_cast<std::size_t>(row)], wide());
    for (std::size_t column = 0; column < cells.size(); ++column)
        flag_list_.set_cell(row, static_cast<int>(column), cells[column]);
}

// Not onto the dragged row itself nor onto the row after it: both leave the flag
// where it is.
bool Dlg_int::flag_drop_allowed(int source, int target) const
{
    return source >= 0 && source < static_cast<int>(flags_.size()) && target != source && target != source + 1 &&
           target <= static_cast<int>(flags_.size());
}

void Dlg_int::move_flag(int source, int target)
{
    std::unique_ptr<Def_bitflag> flag = std::move(flags_[static_cast<std::size_t>(source)]);
    flags_.erase(flags_.begin() + source);
    const int place = target > source ? target - 1 : target;
    flags_.insert(flags_.begin() + place, std::move(flag));
    fill_flags();
    flag_list_.select(place);
}

std::unique_ptr<Def_int> Dlg_int::built() const
{
    const Bcl_str original_name = item_ ? item_->name() : Bcl_str();
    const Bcl_str original_variable = item_ ? item_->variable() : Bcl_str();
    auto values = std::make_unique<Def_int>(bcl_text_of(name_, original_name), signed_.checked(), size_of(size_),
                                            decimal_.checked() ? Def_int::decimal : Def_int::hexadecimal,
                                            bcl_text_of(variable_, original_variable));
    // The tables may hold 64-bit values entered while 8 bytes were chosen: an
    // integer of up to 4 bytes takes them as 32-bit values, or not at all.
    std::optional<Named_values> table = values_for_size(values_.values(), wide());
    if (!table)
        return nullptr;
    values->set_named_values(std::move(*table));
    for (const auto& flag : flags_) {
        auto copy = flag->clone();
        table = values_for_size(flag->named_values(), wide());
        if (!table)
            return nullptr;
        copy->set_named_values(std::move(*table));
        values->add_bit_flag(std::move(copy));
    }
    return values;
}

void Dlg_int::on_command(int id)
{
    if (id == 1) {
        std::unique_ptr<Def_int> made = built();
        if (!made) {
            bcl_message_box(this, texts::values_too_wide().to_utf8(), "ケストリクス", Bcl_buttons::ok, Bcl_icon::warning);
            return;
        }
        if (item_)
            definition_edits::edit_int(document_, *item_, *made);
        else
            result_ = std::move(made);
    }
    Bcl_dlg::on_command(id);
}
