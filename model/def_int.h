#pragma once

#include <memory>
#include <vector>

#include "model/define.h"

// Defined in: model/def_int.cpp; model/int_decoder.cpp (value texts);
// engine/analyze_int.cpp; document/report.cpp; document/definition_file.cpp (save).

// A bit flag of an integer item: `bit_count` bits taken from the integer's value,
// from the least significant bit upward in the order of the integer's flag list.
// Flags belong to their integer and never stand in a list of their own.
class Def_bitflag : public Define {
public:
    Def_bitflag(Bcl_str name, int bit_count, Bcl_str variable)
        : Define(std::move(name)), bit_count_(bit_count), variable_(std::move(variable)) {}

    // Returns `cur` unchanged: the integer reads the bytes and binds its flags.
    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;

    [[nodiscard]] int bit_count() const { return bit_count_; }
    void set_bit_count(int bit_count) { bit_count_ = bit_count; }
    [[nodiscard]] const Bcl_str& variable() const { return variable_; }
    void set_variable(Bcl_str variable) { variable_ = std::move(variable); }
    [[nodiscard]] const Named_values& named_values() const { return named_values_; }
    void set_named_values(Named_values values) { named_values_ = std::move(values); }

    [[nodiscard]] std::unique_ptr<Def_bitflag> clone() const;

private:
    int bit_count_;
    Bcl_str variable_;
    Named_values named_values_;
};

using Bit_flags = std::vector<std::unique_ptr<Def_bitflag>>;

// The size of a 64-bit integer item, the largest.
inline constexpr int wide_int_size = 8;

// An integer of 1, 2, 4 or 8 bytes, read in the document's byte order.
class Def_int : public Define {
public:
    enum Display { decimal = 0, hexadecimal = 1 };

    Def_int(Bcl_str name, bool is_signed, int size, int display, Bcl_str variable)
        : Define(std::move(name)), is_signed_(is_signed), size_(size), variable_(std::move(variable)), display_(display) {}

    // Copies every field; the flag list is replaced by deep copies of the source's
    // flags (the old flags are destroyed first). Parent and list place stay.
    Def_int& assign(const Def_int& source);
    // A free-standing deep copy (no parent).
    [[nodiscard]] std::unique_ptr<Def_int> clone() const;

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    // Binds the bit flags, creating their components under `parent` when given.
    Data_node* analyze_range(Data_node* cur, Component* parent, Data_node* stop,
                             unsigned from, unsigned to, unsigned group) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;
    [[nodiscard]] int format_needed() const override;

    [[nodiscard]] bool is_signed() const { return is_signed_; }
    void set_signed(bool is_signed) { is_signed_ = is_signed; }
    [[nodiscard]] int size() const { return size_; }
    void set_size(int size) { size_ = size; }
    [[nodiscard]] const Bcl_str& variable() const { return variable_; }
    void set_variable(Bcl_str variable) { variable_ = std::move(variable); }
    [[nodiscard]] int display() const { return display_; }
    void set_display(int display) { display_ = display; }
    [[nodiscard]] const Named_values& named_values() const { return named_values_; }
    void set_named_values(Named_values values) { named_values_ = std::move(values); }

    [[nodiscard]] const Bit_flags& bit_flags() const { return bit_flags_; }
    // Replaces the flag list as a whole; the old flags are destroyed.
    void set_bit_flags(Bit_flags flags) { bit_flags_ = std::move(flags); }
    void add_bit_flag(std::unique_ptr<Def_bitflag> flag) { bit_flags_.push_back(std::move(flag)); }
    // Sum of the flags' widths.
    [[nodiscard]] int flag_bits() const;

private:
    bool is_signed_;
    int size_;
    Bcl_str variable_;
    int display_;
    Named_values named_values_;
    Bit_flags bit_flags_;
};
