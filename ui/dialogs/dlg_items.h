#pragma once

#include "model/def_bytes.h"
#include "model/def_container.h"
#include "model/def_def_ref.h"
#include "model/def_float.h"
#include "model/def_if.h"
#include "model/def_set_variable.h"
#include "model/def_str.h"
#include "toolkit/gui/bcl_ctrl.h"
#include "ui/core/field_rules.h"
#include "ui/dialogs/dlg_item.h"

// The dialogs of the item kinds without lists: each is opened with its item (the
// edit form) or with null (the new form).

class Dlg_fix_str final : public Dlg_item<Def_fix_str, Fix_str_fields> {
public:
    Dlg_fix_str(Data_mgr& document, Def_fix_str* item);

private:
    void attach_fields() override;
    void show_fields(const Fix_str_fields& fields) override;
    [[nodiscard]] Fix_str_fields read_fields(const Fix_str_fields& shown) const override;
    [[nodiscard]] Fix_str_fields initial() const override { return {Bcl_str(), Bcl_str("1")}; }
    [[nodiscard]] std::unique_ptr<Def_fix_str> blank() const override;
    // OK only while the length is an expression or a number other than zero.
    void fields_changed() override;

    Bcl_edit name_;
    Bcl_edit length_;
    Bcl_combbox encoding_;
    Bcl_button ok_;
};

class Dlg_flex_str final : public Dlg_item<Def_flex_str, Flex_str_fields> {
public:
    Dlg_flex_str(Data_mgr& document, Def_flex_str* item);

private:
    void attach_fields() override;
    void show_fields(const Flex_str_fields& fields) override;
    [[nodiscard]] Flex_str_fields read_fields(const Flex_str_fields& shown) const override;
    [[nodiscard]] std::unique_ptr<Def_flex_str> blank() const override;

    Bcl_edit name_;
    Bcl_combbox prefix_size_;
    Bcl_combbox encoding_;
};

class Dlg_float final : public Dlg_item<Def_float, Float_fields> {
public:
    Dlg_float(Data_mgr& document, Def_float* item);

private:
    void attach_fields() override;
    void show_fields(const Float_fields& fields) override;
    [[nodiscard]] Float_fields read_fields(const Float_fields& shown) const override;
    [[nodiscard]] std::unique_ptr<Def_float> blank() const override;

    Bcl_edit name_;
    Bcl_combbox size_;
};

class Dlg_bytes final : public Dlg_item<Def_bytes, Bytes_fields> {
public:
    Dlg_bytes(Data_mgr& document, Def_bytes* item);

private:
    void attach_fields() override;
    void show_fields(const Bytes_fields& fields) override;
    [[nodiscard]] Bytes_fields read_fields(const Bytes_fields& shown) const override;
    [[nodiscard]] std::unique_ptr<Def_bytes> blank() const override;

    Bcl_edit name_;
    Bcl_edit length_;
};

class Dlg_null_str final : public Dlg_item<Def_null_str, Null_str_fields> {
public:
    Dlg_null_str(Data_mgr& document, Def_null_str* item);

private:
    void attach_fields() override;
    void show_fields(const Null_str_fields& fields) override;
    [[nodiscard]] Null_str_fields read_fields(const Null_str_fields& shown) const override;
    [[nodiscard]] std::unique_ptr<Def_null_str> blank() const override;

    Bcl_edit name_;
    Bcl_combbox encoding_;
};

class Dlg_if final : public Dlg_item<Def_if, If_fields> {
public:
    Dlg_if(Data_mgr& document, Def_if* item);

private:
    void attach_fields() override;
    void show_fields(const If_fields& fields) override;
    [[nodiscard]] If_fields read_fields(const If_fields& shown) const override;
    [[nodiscard]] std::unique_ptr<Def_if> blank() const override;

    Bcl_edit condition_;
};

class Dlg_for final : public Dlg_item<Def_for, For_fields> {
public:
    Dlg_for(Data_mgr& document, Def_for* item);

private:
    void attach_fields() override;
    void show_fields(const For_fields& fields) override;
    [[nodiscard]] For_fields read_fields(const For_fields& shown) const override;
    [[nodiscard]] std::unique_ptr<Def_for> blank() const override;

    Bcl_edit name_;
    Bcl_edit count_;
};

class Dlg_while final : public Dlg_item<Def_while, While_fields> {
public:
    Dlg_while(Data_mgr& document, Def_while* item);

private:
    void attach_fields() override;
    void show_fields(const While_fields& fields) override;
    [[nodiscard]] While_fields read_fields(const While_fields& shown) const override;
    [[nodiscard]] std::unique_ptr<Def_while> blank() const override;

    Bcl_edit name_;
    Bcl_edit condition_;
};

class Dlg_set_variable final : public Dlg_item<Def_set_variable, Set_var_fields> {
public:
    Dlg_set_variable(Data_mgr& document, Def_set_variable* item);

private:
    void attach_fields() override;
    void show_fields(const Set_var_fields& fields) override;
    [[nodiscard]] Set_var_fields read_fields(const Set_var_fields& shown) const override;
    [[nodiscard]] std::unique_ptr<Def_set_variable> blank() const override;

    Bcl_edit variable_;
    Bcl_edit value_;
};

class Dlg_def_set final : public Dlg_item<Def_def_set, Def_set_fields> {
public:
    Dlg_def_set(Data_mgr& document, Def_def_set* item);

private:
    void attach_fields() override;
    void show_fields(const Def_set_fields& fields) override;
    [[nodiscard]] Def_set_fields read_fields(const Def_set_fields& shown) const override;
    [[nodiscard]] std::unique_ptr<Def_def_set> blank() const override;

    Bcl_edit name_;
};

class Dlg_def_ref final : public Dlg_item<Def_def_ref, Def_ref_fields> {
public:
    Dlg_def_ref(Data_mgr& document, Def_def_ref* item);

private:
    void attach_fields() override;
    void show_fields(const Def_ref_fields& fields) override;
    [[nodiscard]] Def_ref_fields read_fields(const Def_ref_fields& shown) const override;
    [[nodiscard]] std::unique_ptr<Def_def_ref> blank() const override;

    Bcl_edit name_;
    Bcl_edit target_;
};
