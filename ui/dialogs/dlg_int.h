#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "model/def_int.h"
#include "toolkit/gui/bcl_ctrl.h"
#include "toolkit/gui/bcl_dlg.h"
#include "toolkit/gui/bcl_listview.h"
#include "ui/core/field_rules.h"
#include "ui/list_drag.h"

class Data_mgr;

// One named value: its number (a minus sign only for a signed integer) and its
// meaning. The new form starts with the proposed value and an empty meaning.
// `wide`: a value of an 8-byte integer or its flags, in the 64-bit range.
class Dlg_enum_val final : public Bcl_dlg {
public:
    Dlg_enum_val(std::int64_t value, Bcl_str meaning, bool is_signed, bool wide = false);

    [[nodiscard]] std::int64_t value() const { return value_; }
    [[nodiscard]] const Bcl_str& meaning() const { return meaning_; }

private:
    void on_init_dialog() override;
    void on_command(int id) override;
    // The field's value when it is a whole number in range: OK only then.
    [[nodiscard]] std::optional<std::int64_t> field_value() const;

    std::int64_t value_;
    Bcl_str meaning_;
    bool is_signed_;
    bool wide_;
    Bcl_edit value_field_;
    Bcl_edit meaning_field_;
    Bcl_button ok_;
    const Ctrl_edit_num_state value_rules_;
};

// The list of named values of an integer or a bit flag in a dialog, and its own
// copy of the table: "追加", "編集" and "削除" from its popup, editing also by
// double-click or Enter. The table never holds a value twice.
class Named_value_list {
public:
    // `is_signed` tells, whenever asked, whether the values are read as signed, and
    // `is_wide` whether they are 64-bit.
    Named_value_list(Named_values values, std::function<bool()> is_signed,
                     std::function<bool()> is_wide = [] { return false; });

    void attach(Bcl_dlg& dialog, int id);
    [[nodiscard]] const Named_values& values() const { return values_; }

private:
    void fill();
    void popup();
    void add();
    void edit(int row);
    // Stores (value, meaning): an existing value gets the meaning.
    void store(std::int64_t value, const Bcl_str& meaning);
    [[nodiscard]] std::int64_t value_of_row(int row) const;

    Bcl_dlg* dialog_ = nullptr;
    Bcl_listview list_;
    Named_values values_;
    std::function<bool()> is_signed_;
    std::function<bool()> is_wide_;
};

// One bit flag of an integer: name, bit count (OK only while it is not zero),
// variable and named values. The caller reads the resulting flag after OK.
class Dlg_bitflag final : public Bcl_dlg {
public:
    // `flag`: the flag to show (the edit form), or null (the new form); `wide`: the
    // flag of an 8-byte integer, up to 64 bits wide.
    explicit Dlg_bitflag(const Def_bitflag* flag, bool wide = false);

    [[nodiscard]] std::unique_ptr<Def_bitflag> take_result() { return std::move(result_); }

private:
    void on_init_dialog() override;
    void on_command(int id) override;
    // 1 to 32 bits (64 in an 8-byte integer): OK only then.
    [[nodiscard]] std::optional<std::int64_t> bit_count() const;

    const Def_bitflag* flag_;
    std::unique_ptr<Def_bitflag> result_;
    Bcl_edit name_;
    Bcl_edit bit_count_;
    Bcl_edit variable_;
    Bcl_button ok_;
    Named_value_list values_;
    const Ctrl_edit_num_state bit_count_rules_;
    const Ctrl_edit_var_state variable_rules_;
};

// An integer item: name, size, sign, display, variable, named values and bit
// flags. The dialog works on its own copies of the table and the flags; only OK
// gives them to the item (edit form, recorded as one undoable edit in the
// document's definition history) or to the new item (new form).
class Dlg_int final : public Bcl_dlg {
public:
    Dlg_int(Data_mgr& document, Def_int* item);

    [[nodiscard]] std::unique_ptr<Def_int> take_result() { return std::move(result_); }

private:
    // The size chosen is 8 bytes: values and flags are 64-bit.
    [[nodiscard]] bool wide() const;
    void on_init_dialog() override;
    void on_command(int id) override;

    // The bit-flag list: its rows, followed by the empty closing row.
    void fill_flags();
    void flag_popup();
    void add_flag(int before);
    void edit_flag(int row);
    // Dragging a flag row moves the flag before the row it is dropped on; Escape
    // ends only the drag, not the dialog.
    [[nodiscard]] bool flag_drop_allowed(int source, int target) const;
    void move_flag(int source, int target);
    // The item the fields describe; null when a named value does not fit the size.
    [[nodiscard]] std::unique_ptr<Def_int> built() const;

    Data_mgr& document_;
    Def_int* item_;
    std::unique_ptr<Def_int> result_;
    Bit_flags flags_;
    Bcl_edit name_;
    Bcl_combbox size_;
    Bcl_button unsigned_;
    Bcl_button signed_;
    Bcl_button decimal_;
    Bcl_button hexadecimal_;
    Bcl_edit variable_;
    Named_value_list values_;
    Bcl_listview flag_list_;
    List_drag flag_drag_;
    const Ctrl_edit_var_state variable_rules_;
};
