#pragma once

#include "model/define.h"

// Defined in: model/def_set_variable.cpp; engine/analyze_loop.cpp; document/report.cpp;
// document/definition_file.cpp (save).

// Assigns the value of an expression to a variable (held as the item's name).
class Def_set_variable : public Define {
public:
    Def_set_variable(Bcl_str variable, Bcl_str value) : Define(std::move(variable)), value_(std::move(value)) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;

    [[nodiscard]] const Bcl_str& variable() const { return name(); }
    void set_variable(Bcl_str variable) { set_name(std::move(variable)); }
    [[nodiscard]] const Bcl_str& value() const { return value_; }
    void set_value(Bcl_str value) { value_ = std::move(value); }

private:
    Bcl_str value_;
};
