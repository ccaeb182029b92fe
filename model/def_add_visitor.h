#pragma once

#include <memory>

#include "model/def_visitor.h"

class Define;

// The definition add walk: applied to a container item, puts `item` into the
// container's list (for an If, the then-list when `branch` is true, else the
// else-list) directly in front of `before`, or at the end when `before` is null or
// not in that list, and makes the container the item's parent. Applied to any other
// kind it does nothing and leaves the item with its caller (`item` still holds it).
//
// Insertion at top level does not use the walk: the document's insert_item does.
class Def_add_visitor : public Def_visitor {
public:
    Def_add_visitor(bool branch, std::unique_ptr<Define>& item, Define* before)
        : branch_(branch), item_(item), before_(before) {}

    void visit_int(Def_int& item) override;
    void visit_bitflag(Def_bitflag& item) override;
    void visit_fix_str(Def_fix_str& item) override;
    void visit_flex_str(Def_flex_str& item) override;
    void visit_null_str(Def_null_str& item) override;
    void visit_if(Def_if& item) override;
    void visit_for(Def_for& item) override;
    void visit_while(Def_while& item) override;
    void visit_set_variable(Def_set_variable& item) override;
    void visit_def_set(Def_def_set& item) override;
    void visit_def_ref(Def_def_ref& item) override;
    void visit_nodef(Def_nodef& item) override;
    void visit_float(Def_float& item) override;
    void visit_bytes(Def_bytes& item) override;

    // True once the item has been put into a list (the walk met a container).
    [[nodiscard]] bool inserted() const { return inserted_; }

private:
    bool branch_;
    std::unique_ptr<Define>& item_;
    Define* before_;
    bool inserted_ = false;
};
