#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/define.h"
#include "toolkit/gui/bcl_ctrl.h"
#include "toolkit/gui/bcl_dlg.h"
#include "toolkit/text/text_encoding.h"
#include "ui/core/field_rules.h"

// The string change: the string's bytes in a multi-line field (see data_text.h for
// how bytes that are no Shift-JIS text are shown), Enter starting a line, at most
// `max_length` bytes; a paste puts in what fits (Ctrl_edit_lines_state). After OK,
// bytes() is the new string. A string in another encoding than Shift-JIS shows its
// characters, bytes that do not decode as stand-ins (see text_encoding.h), takes
// any text and refuses at OK, with a message, text its encoding cannot hold or that
// is longer than `max_length` bytes in it.
class Dlg_datchg_str final : public Bcl_dlg {
public:
    Dlg_datchg_str(std::string bytes, std::uint32_t max_length, Text_encoding encoding = Text_encoding::shift_jis);

    [[nodiscard]] const std::string& bytes() const { return bytes_; }

private:
    void on_init_dialog() override;
    void on_command(int id) override;

    // Whether the field's text could be taken: else a message has said why.
    bool take_encoded_text();

    std::string bytes_;
    std::string shown_;
    Bcl_edit text_;
    const Ctrl_edit_lines_state rules_;
    std::uint32_t max_length_;
    Text_encoding encoding_;
};

// The float change: a decimal number in the field, "inf", "-inf" or "nan"; OK only
// while the field holds one that a float of `width` bytes takes. After OK, value()
// is the new value.
class Dlg_datchg_float final : public Bcl_dlg {
public:
    Dlg_datchg_float(std::string text, int width);

    [[nodiscard]] double value() const { return value_; }

private:
    void on_init_dialog() override;
    void on_command(int id) override;
    void update_ok();

    std::string text_;
    int width_;
    double value_ = 0;
    Bcl_edit field_;
    Bcl_button ok_;
};

// The value changes: "直値" (a direct value in the field) or "定義値" (one of the
// named values, from the list). OK is enabled only while the field holds a value in
// range or a named value is chosen. After OK, value() is the new value.
class Dlg_datchg_value : public Bcl_dlg {
public:
    [[nodiscard]] std::int64_t value() const { return value_; }

protected:
    // The ids of the direct radio, the named radio, the field and the list.
    struct Ids {
        int direct;
        int named;
        int field;
        int list;
    };
    Dlg_datchg_value(std::string template_name, int help_topic, Ids ids, std::int64_t value,
                     const Named_values* values);

    [[nodiscard]] virtual const Bcl_edit_filter& field_rules() const = 0;
    [[nodiscard]] virtual std::string field_text(std::int64_t value) const = 0;
    [[nodiscard]] virtual std::optional<std::int64_t> field_value(const Bcl_edit& field) const = 0;

private:
    void on_init_dialog() override;
    void on_command(int id) override;
    [[nodiscard]] bool sets_own_focus() const override { return true; }
    void choose_named(bool named);
    // OK only while the choice holds a value: a named one, or a whole direct one.
    void update_ok();

    Ids ids_;
    std::int64_t value_;
    const Named_values* values_;
    Bcl_button direct_;
    Bcl_button named_;
    Bcl_edit field_;
    Bcl_combbox list_;
    Bcl_button ok_;
};

// A decimal value from `minimum` to `maximum` (signed and unsigned comparison).
class Dlg_datchg_int final : public Dlg_datchg_value {
public:
    Dlg_datchg_int(std::int64_t value, std::int64_t minimum, std::uint64_t maximum, const Named_values* values);

private:
    [[nodiscard]] const Bcl_edit_filter& field_rules() const override { return rules_; }
    [[nodiscard]] std::string field_text(std::int64_t value) const override;
    [[nodiscard]] std::optional<std::int64_t> field_value(const Bcl_edit& field) const override;

    Ctrl_edit_num_state rules_;
};

// A hexadecimal value of `byte_count` bytes, two digits each.
class Dlg_datchg_hex final : public Dlg_datchg_value {
public:
    Dlg_datchg_hex(std::int64_t value, int byte_count, const Named_values* values);

private:
    [[nodiscard]] const Bcl_edit_filter& field_rules() const override { return rules_; }
    [[nodiscard]] std::string field_text(std::int64_t value) const override;
    [[nodiscard]] std::optional<std::int64_t> field_value(const Bcl_edit& field) const override;

    int byte_count_;
    Ctrl_edit_hex_state rules_;
};

// Adding zero bytes ("データ追加") or deleting bytes ("データ削除"): a position in
// hexadecimal and a size in decimal; OK only while both hold a value and the size
// is not zero.
class Dlg_datadd final : public Bcl_dlg {
public:
    enum class Form { add, remove };
    Dlg_datadd(Form form, std::uint32_t position, std::uint32_t size);

    [[nodiscard]] std::uint32_t position() const { return position_; }
    [[nodiscard]] std::uint32_t size() const { return size_; }

private:
    void on_init_dialog() override;
    void on_command(int id) override;
    void update_ok();

    Form form_;
    std::uint32_t position_;
    std::uint32_t size_;
    Bcl_edit position_field_;
    Bcl_edit size_field_;
    Bcl_button ok_;
    Ctrl_edit_hex_state position_rules_;
    Ctrl_edit_num_state size_rules_{0, 0xFFFFFFFFu};
};
