#pragma once

#include "model/define.h"
#include "model/item_list.h"

// Defined in: model/def_container.cpp; engine/analyze_loop.cpp (loops),
// engine/analyze_ref.cpp (definition sets); document/report.cpp; document/definition_file.cpp
// (save).

// Shared by the containers with one child list: loops and definition sets.
class Def_container : public Define {
public:
    using Define::Define;

    [[nodiscard]] Removed_item remove_child(Define* item) override;
    [[nodiscard]] int format_needed() const override;

    [[nodiscard]] const Item_list& children() const { return children_; }
    // The walk and the edits change the items; views read them through the const form.
    [[nodiscard]] Item_list& children() { return children_; }
    void insert_child(std::unique_ptr<Define> item, Define* before);

private:
    Item_list children_;
};

// Repeats its children `count` times (an expression).
class Def_for : public Def_container {
public:
    Def_for(Bcl_str name, Bcl_str count) : Def_container(std::move(name)), count_(std::move(count)) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    Data_node* analyze_range(Data_node* cur, Component* parent, Data_node* stop,
                             unsigned from, unsigned to, unsigned group) override;
    Data_node* analyze_once(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;

    [[nodiscard]] const Bcl_str& count() const { return count_; }
    void set_count(Bcl_str count) { count_ = std::move(count); }

private:
    Bcl_str count_;
};

// Repeats its children while `condition` (an expression) holds.
class Def_while : public Def_container {
public:
    Def_while(Bcl_str name, Bcl_str condition) : Def_container(std::move(name)), condition_(std::move(condition)) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    Data_node* analyze_range(Data_node* cur, Component* parent, Data_node* stop,
                             unsigned from, unsigned to, unsigned group) override;
    Data_node* analyze_once(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;

    [[nodiscard]] const Bcl_str& condition() const { return condition_; }
    void set_condition(Bcl_str condition) { condition_ = std::move(condition); }
    // Iterations found by the most recent analysis or replay of this loop.
    [[nodiscard]] int last_count() const { return last_count_; }
    void set_last_count(int count) { last_count_ = count; }

private:
    Bcl_str condition_;
    int last_count_ = 0;
};

// A named set of items, walked only through references to it.
class Def_def_set : public Def_container {
public:
    explicit Def_def_set(Bcl_str name) : Def_container(std::move(name)) {}

    // Registers the set under its name; its items are not walked here.
    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    void save(Bcl_binaryfile& out) const override;
};
