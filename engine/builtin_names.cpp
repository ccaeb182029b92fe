// Which built-in names a definition turns on. A name counts as read when an
// expression's text holds it anywhere, inside a longer name too: a name on by
// mistake changes no value, it only costs a comparison where a name is read and,
// for "_rest", the checkpoints a change of the data's size drops. It counts as bound
// when a variable has exactly that name.
#include "engine/builtin_names.h"

#include <string_view>

#include "model/def_bytes.h"
#include "model/def_container.h"
#include "model/def_def_ref.h"
#include "model/def_float.h"
#include "model/def_if.h"
#include "model/def_int.h"
#include "model/def_nodef.h"
#include "model/def_set_variable.h"
#include "model/def_str.h"
#include "model/def_visitor.h"

namespace {

constexpr std::string_view pos_name = "_pos";
constexpr std::string_view rest_name = "_rest";

class Builtin_names_visitor final : public Def_visitor {
public:
    void visit_int(Def_int& item) override
    {
        bind(item.variable());
        for (const auto& flag : item.bit_flags())
            flag->accept(*this);
    }
    void visit_bitflag(Def_bitflag& item) override { bind(item.variable()); }
    void visit_float(Def_float&) override {}
    void visit_fix_str(Def_fix_str& item) override { read(item.length_expression()); }
    void visit_flex_str(Def_flex_str&) override {}
    void visit_null_str(Def_null_str&) override {}
    void visit_if(Def_if& item) override
    {
        read(item.condition());
        visit_list(item.then_children());
        visit_list(item.else_children());
    }
    void visit_for(Def_for& item) override
    {
        read(item.count());
        visit_list(item.children());
    }
    void visit_while(Def_while& item) override
    {
        read(item.condition());
        visit_list(item.children());
    }
    void visit_set_variable(Def_set_variable& item) override
    {
        bind(item.variable());
        read(item.value());
    }
    void visit_def_set(Def_def_set& item) override { visit_list(item.children()); }
    void visit_def_ref(Def_def_ref&) override {}
    void visit_nodef(Def_nodef&) override {}
    void visit_bytes(Def_bytes& item) override { read(item.length()); }

    void visit_list(Item_span items)
    {
        for (Define* item : items)
            item->accept(*this);
    }

    [[nodiscard]] Builtin_names names() const { return {reads_pos_ && !binds_pos_, reads_rest_ && !binds_rest_}; }

private:
    void read(const Bcl_str& expression)
    {
        const std::string_view text = expression.view();
        reads_pos_ = reads_pos_ || text.find(pos_name) != std::string_view::npos;
        reads_rest_ = reads_rest_ || text.find(rest_name) != std::string_view::npos;
    }
    void bind(const Bcl_str& variable)
    {
        binds_pos_ = binds_pos_ || variable.view() == pos_name;
        binds_rest_ = binds_rest_ || variable.view() == rest_name;
    }

    bool reads_pos_ = false;
    bool reads_rest_ = false;
    bool binds_pos_ = false;
    bool binds_rest_ = false;
};

} // namespace

Builtin_names builtin_names_of(Item_span items)
{
    Builtin_names_visitor visitor;
    visitor.visit_list(items);
    return visitor.names();
}
