#pragma once

#include "model/define.h"

// Defined in (all three strings): model/def_str.cpp; engine/analyze_str.cpp;
// document/report.cpp; document/definition_file.cpp (save).

// A string of a fixed number of bytes; its text ends at the first 0 byte.
class Def_fix_str : public Define {
public:
    Def_fix_str(Bcl_str name, int length) : Define(std::move(name)), length_(length) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;

    [[nodiscard]] int length() const { return length_; }
    void set_length(int length) { length_ = length; }

private:
    int length_;
};

// A string preceded by its length in 1, 2 or 4 bytes (document byte order).
class Def_flex_str : public Define {
public:
    Def_flex_str(Bcl_str name, int prefix_size) : Define(std::move(name)), prefix_size_(prefix_size) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;

    [[nodiscard]] int prefix_size() const { return prefix_size_; }
    void set_prefix_size(int prefix_size) { prefix_size_ = prefix_size; }

private:
    int prefix_size_;
};

// A string ended by a 0 byte, which belongs to the item.
class Def_null_str : public Define {
public:
    explicit Def_null_str(Bcl_str name) : Define(std::move(name)) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;
};
