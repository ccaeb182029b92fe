#pragma once

#include "model/cmp_visitor.h"

// The edit check walk: after it is applied to a component, editable() tells whether
// the component's value can be changed through a dialog. Values, strings, bit flags
// and undefined bytes can; tables, records, the root and the shortage marker cannot.
class Cmp_editchk_visitor : public Cmp_visitor {
public:
    void visit_component(Component& component) override;
    void visit_fix_str(Cmp_fix_str& component) override;
    void visit_flex_str(Cmp_flex_str& component) override;
    void visit_null_str(Cmp_null_str& component) override;
    void visit_int(Cmp_int& component) override;
    void visit_uint(Cmp_uint& component) override;
    void visit_hex(Cmp_hex& component) override;
    void visit_bitflag(Cmp_bitflag& component) override;
    void visit_nodef(Cmp_nodef& component) override;
    void visit_tbl(Cmp_tbl& component) override;
    void visit_rec(Cmp_rec& component) override;
    void visit_float(Cmp_float& component) override;
    void visit_bytes(Cmp_bytes& component) override;

    [[nodiscard]] bool editable() const { return editable_; }

private:
    bool editable_ = false;
};
