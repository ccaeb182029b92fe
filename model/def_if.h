#pragma once

#include "model/define.h"
#include "model/item_list.h"

// Defined in: model/def_if.cpp; engine/analyze_loop.cpp; document/report.cpp;
// document/definition_file.cpp (save).

// A branch: the then-list when its condition (held as the item's name) is true,
// else the else-list. It makes no component of its own.
class Def_if : public Define {
public:
    explicit Def_if(Bcl_str condition) : Define(std::move(condition)) {}

    Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) override;
    void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) override;
    void accept(Def_visitor& visitor) override;
    // Searches the then-list first, then the else-list.
    [[nodiscard]] Removed_item remove_child(Define* item) override;
    void save(Bcl_binaryfile& out) const override;
    [[nodiscard]] int format_needed() const override;

    [[nodiscard]] const Bcl_str& condition() const { return name(); }
    void set_condition(Bcl_str condition) { set_name(std::move(condition)); }

    [[nodiscard]] const Item_list& then_children() const { return then_children_; }
    [[nodiscard]] const Item_list& else_children() const { return else_children_; }
    [[nodiscard]] const Item_list& children(bool then_branch) const { return then_branch ? then_children_ : else_children_; }
    // The walk and the edits change the items; views read them through the const forms.
    [[nodiscard]] Item_list& then_children() { return then_children_; }
    [[nodiscard]] Item_list& else_children() { return else_children_; }
    [[nodiscard]] Item_list& children(bool then_branch) { return then_branch ? then_children_ : else_children_; }
    void insert_then_child(std::unique_ptr<Define> item, Define* before);
    void insert_else_child(std::unique_ptr<Define> item, Define* before);
    void insert_child(bool then_branch, std::unique_ptr<Define> item, Define* before);

private:
    Item_list then_children_;
    Item_list else_children_;
};
