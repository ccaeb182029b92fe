#pragma once

#include "model/define.h"

// Defined in: model/def_def_ref.cpp; engine/analyze_ref.cpp; document/report.cpp;
// document/definition_file.cpp (save).

// Walks the definition set registered under `target` at this point of the walk.
class Def_def_ref : public Define {
public:
    Def_def_ref(Bcl_str name, Bcl_str target) : Define(std::move(name)), target_(std::move(target)) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    Data_node* analyze_range(Data_node* cur, Component* parent, Data_node* stop,
                             unsigned from, unsigned to, unsigned group) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;

    [[nodiscard]] const Bcl_str& target() const { return target_; }
    void set_target(Bcl_str target) { target_ = std::move(target); }

private:
    Bcl_str target_;
};
