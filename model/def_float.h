#pragma once

#include "model/define.h"

// Defined in: model/def_float.cpp; model/float_value.cpp (value texts);
// engine/analyze_float.cpp; document/report.cpp; document/definition_file.cpp (save).

// An IEEE 754 floating-point number of 4 or 8 bytes, read in the document's byte
// order.
class Def_float : public Define {
public:
    Def_float(Bcl_str name, int size) : Define(std::move(name)), size_(size) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;
    [[nodiscard]] int format_needed() const override;

    [[nodiscard]] int size() const { return size_; }
    void set_size(int size) { size_ = size; }

private:
    int size_;
};
