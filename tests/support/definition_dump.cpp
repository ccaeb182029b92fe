#include "support/definition_dump.h"

#include <sstream>

#include "model/items.h"

namespace {

class Dump_visitor : public Def_visitor {
public:
    explicit Dump_visitor(Define* expected_parent) : expected_parent_(expected_parent) {}

    std::ostringstream out;

    void visit_int(Def_int& item) override
    {
        line(item) << "int " << item.name().bytes() << " signed=" << item.is_signed() << " size=" << item.size()
                   << " display=" << item.display() << " var=" << item.variable().bytes() << values(item.named_values())
                   << '\n';
        ++depth_;
        for (const auto& flag : item.bit_flags())
            flag->accept(*this);
        --depth_;
    }
    void visit_bitflag(Def_bitflag& item) override
    {
        indent() << "flag " << item.name().bytes() << " bits=" << item.bit_count() << " var=" << item.variable().bytes()
                 << values(item.named_values()) << '\n';
    }
    void visit_fix_str(Def_fix_str& item) override
    {
        line(item) << "fix " << item.name().bytes() << " length=" << item.length_text().bytes() << encoding(item) << '\n';
    }
    void visit_flex_str(Def_flex_str& item) override
    {
        line(item) << "flex " << item.name().bytes() << " prefix=" << item.prefix_size() << encoding(item) << '\n';
    }
    void visit_null_str(Def_null_str& item) override
    {
        line(item) << "null " << item.name().bytes() << encoding(item) << '\n';
    }
    // Shift-JIS, the default, adds nothing: dumps of the original strings stay as they were.
    static std::string encoding(const Def_string& item)
    {
        std::string text;
        if (item.encoding() != Text_encoding::shift_jis)
            text.append(" ").append(encoding_name(item.encoding()));
        return text;
    }
    void visit_if(Def_if& item) override
    {
        line(item) << "if (" << item.condition().bytes() << ")\n";
        list(&item, item.then_children());
        indent() << "else\n";
        list(&item, item.else_children());
    }
    void visit_for(Def_for& item) override
    {
        line(item) << "for " << item.name().bytes() << " (" << item.count().bytes() << ")\n";
        list(&item, item.children());
    }
    void visit_while(Def_while& item) override
    {
        line(item) << "while " << item.name().bytes() << " (" << item.condition().bytes() << ")\n";
        list(&item, item.children());
    }
    void visit_set_variable(Def_set_variable& item) override
    {
        line(item) << "set " << item.variable().bytes() << " = " << item.value().bytes() << '\n';
    }
    void visit_def_set(Def_def_set& item) override
    {
        line(item) << "defset " << item.name().bytes() << '\n';
        list(&item, item.children());
    }
    void visit_def_ref(Def_def_ref& item) override
    {
        line(item) << "ref " << item.name().bytes() << " -> " << item.target().bytes() << '\n';
    }
    void visit_nodef(Def_nodef&) override { indent() << "nodef\n"; }
    void visit_float(Def_float& item) override { line(item) << "float " << item.name().bytes() << ' ' << item.size() << '\n'; }
    void visit_bytes(Def_bytes& item) override
    {
        line(item) << "bytes " << item.name().bytes() << " (" << item.length().bytes() << ")\n";
    }

    void list(Define* container, Item_span items)
    {
        Define* saved = expected_parent_;
        expected_parent_ = container;
        ++depth_;
        for (Define* child : items)
            child->accept(*this);
        --depth_;
        expected_parent_ = saved;
    }

private:
    std::ostream& indent()
    {
        for (int i = 0; i < depth_; ++i)
            out << "  ";
        return out;
    }
    std::ostream& line(const Define& item)
    {
        indent();
        if (item.parent() != expected_parent_)
            out << "(bad parent) ";
        return out;
    }
    static std::string values(const Named_values& table)
    {
        std::ostringstream text;
        for (const auto& [value, meaning] : table)
            text << ' ' << value << ':' << meaning.bytes();
        return text.str();
    }

    int depth_ = 0;
    Define* expected_parent_;
};

} // namespace

std::string dump_definition(Item_span items)
{
    Dump_visitor dump(nullptr);
    for (Define* item : items)
        item->accept(dump);
    return dump.out.str();
}

std::string dump_item(Define& item)
{
    Dump_visitor dump(item.parent());
    item.accept(dump);
    return dump.out.str();
}
