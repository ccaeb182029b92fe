#pragma once

#include "model/define.h"
#include "toolkit/text/text_encoding.h"

// Defined in (all three strings): model/def_str.cpp; engine/analyze_str.cpp;
// document/report.cpp; document/definition_file.cpp (save).

// What the three string kinds share: the encoding of their bytes. Its text ends at
// the first NUL, which in UTF-16 is two zero bytes at an even offset.
class Def_string : public Define {
public:
    explicit Def_string(Bcl_str name) : Define(std::move(name)) {}

    [[nodiscard]] Text_encoding encoding() const { return encoding_; }
    void set_encoding(Text_encoding encoding) { encoding_ = encoding; }
    [[nodiscard]] int format_needed() const override;

private:
    Text_encoding encoding_ = Text_encoding::shift_jis;
};

// A string of a fixed number of bytes: a constant of 0 ... 255, or an expression
// evaluated where the string starts (≤ 0 reads nothing).
class Def_fix_str : public Def_string {
public:
    Def_fix_str(Bcl_str name, int length) : Def_string(std::move(name)), length_(length) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;

    // The constant length; it holds while length_expression() is empty.
    [[nodiscard]] int length() const { return length_; }
    void set_length(int length)
    {
        length_ = length;
        length_expression_ = Bcl_str();
    }
    [[nodiscard]] const Bcl_str& length_expression() const { return length_expression_; }
    void set_length_expression(Bcl_str expression) { length_expression_ = std::move(expression); }
    // The length as the item dialog shows it, and back: a text of digits alone whose
    // value is 0 ... 255 is the constant, any other text the expression.
    [[nodiscard]] Bcl_str length_text() const;
    void set_length_text(const Bcl_str& text);
    [[nodiscard]] int format_needed() const override;

private:
    int length_;
    Bcl_str length_expression_;
};

// Whether an item dialog takes `text` as a fixed-length string's length: an
// expression, or a constant other than 0 (a string of no bytes is no item).
[[nodiscard]] bool fixed_length_takes(const Bcl_str& text);

// A string preceded by its length in bytes, in 1, 2 or 4 bytes (document byte order).
class Def_flex_str : public Def_string {
public:
    Def_flex_str(Bcl_str name, int prefix_size) : Def_string(std::move(name)), prefix_size_(prefix_size) {}

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
class Def_null_str : public Def_string {
public:
    explicit Def_null_str(Bcl_str name) : Def_string(std::move(name)) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;
};
