#pragma once

#include <cstdint>

#include "model/def_visitor.h"

#include "model/item_list.h"

// The row-count walk: after it is applied to an item, count() is the number of rows
// the definition list shows for that item (its own row, its bit flags, its children
// and the else and closing rows of containers). Bit flags and the undefined item
// have no rows of their own.
class Def_cnt_visitor : public Def_visitor {
public:
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

    [[nodiscard]] std::int32_t count() const { return count_; }

private:
    void count_list(Item_span list);

    std::int32_t count_ = 0;
};
