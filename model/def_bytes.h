#pragma once

#include "model/define.h"

// Defined in: model/def_bytes.cpp; engine/analyze_bytes.cpp; document/report.cpp;
// document/definition_file.cpp (save).

// A run of bytes whose length an expression gives, shown as their count and first
// bytes and opened as the undefined bytes are: groups, then single bytes. A length
// of 0 or less reads nothing.
class Def_bytes : public Define {
public:
    Def_bytes(Bcl_str name, Bcl_str length) : Define(std::move(name)), length_(std::move(length)) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    Data_node* analyze_range(Data_node* cur, Component* parent, Data_node* stop,
                             unsigned from, unsigned to, unsigned group) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;
    [[nodiscard]] int format_needed() const override;

    // The expression of the length in bytes.
    [[nodiscard]] const Bcl_str& length() const { return length_; }
    void set_length(Bcl_str length) { length_ = std::move(length); }

private:
    Bcl_str length_;
};
