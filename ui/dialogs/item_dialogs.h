#pragma once

#include <memory>

#include "model/def_visitor.h"
#include "model/define.h"
#include "ui/core/commands.h"

class Bcl_wnd;
class Data_mgr;

// Opens the dialog of `kind` in its new form for an item of `document`'s
// definition; the item built on OK, or null after Cancel.
[[nodiscard]] std::unique_ptr<Define> run_new_item_dialog(Data_mgr& document, Def_kind kind, Bcl_wnd* owner);

// The definition edit walk: opens the dialog of the visited item's kind in its edit
// form. On OK the dialog has written the fields into the item and recorded the edit
// in the document's definition history;
// changed() then tells the caller to rewrite the item's rows and analyse again. Bit
// flags (edited inside their integer's dialog) and the undefined item open nothing.
class Def_edit_visitor : public Def_visitor {
public:
    Def_edit_visitor(Data_mgr& document, Bcl_wnd* owner) : document_(document), owner_(owner) {}

    [[nodiscard]] bool changed() const { return changed_; }

    void visit_int(Def_int& item) override;
    void visit_bitflag(Def_bitflag&) override {}
    void visit_fix_str(Def_fix_str& item) override;
    void visit_flex_str(Def_flex_str& item) override;
    void visit_null_str(Def_null_str& item) override;
    void visit_if(Def_if& item) override;
    void visit_for(Def_for& item) override;
    void visit_while(Def_while& item) override;
    void visit_set_variable(Def_set_variable& item) override;
    void visit_def_set(Def_def_set& item) override;
    void visit_def_ref(Def_def_ref& item) override;
    void visit_nodef(Def_nodef&) override {}
    void visit_float(Def_float& item) override;
    void visit_bytes(Def_bytes& item) override;

private:
    template <typename Dialog, typename Item>
    void edit(Item& item);

    Data_mgr& document_;
    Bcl_wnd* owner_;
    bool changed_ = false;
};
