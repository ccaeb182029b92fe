#pragma once

// Small builders for the analysis tests: definitions written as nested calls, and
// the result read back through the tree rendering (converted to UTF-8).

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/data_mgr.h"
#include "engine/tree_text.h"
#include "model/component.h"
#include "model/items.h"

namespace analysis_test {

inline Bcl_str sj(const char* utf8) { return Bcl_str::from_utf8(utf8); }

inline constexpr Byte_order big = Byte_order::big_endian;
inline constexpr Byte_order little = Byte_order::little_endian;

inline Def_int* int_item(const char* name, int size, bool is_signed = false, int display = Def_int::decimal,
                         const char* variable = "")
{
    return new Def_int(sj(name), is_signed, size, display, sj(variable));
}
inline Def_int* with_flag(Def_int* item, const char* name, int bits, const char* variable = "")
{
    item->add_bit_flag(std::make_unique<Def_bitflag>(sj(name), bits, sj(variable)));
    return item;
}
inline Def_fix_str* fix_str(const char* name, int length) { return new Def_fix_str(sj(name), length); }
inline Def_flex_str* flex_str(const char* name, int prefix) { return new Def_flex_str(sj(name), prefix); }
inline Def_null_str* null_str(const char* name) { return new Def_null_str(sj(name)); }
inline Def_float* float_item(const char* name, int size) { return new Def_float(sj(name), size); }
inline Def_bytes* bytes_item(const char* name, const char* length) { return new Def_bytes(sj(name), sj(length)); }
inline Def_set_variable* set_var(const char* variable, const char* value)
{
    return new Def_set_variable(sj(variable), sj(value));
}
inline Def_def_ref* ref(const char* name, const char* target) { return new Def_def_ref(sj(name), sj(target)); }

template <typename Container, typename... Items>
Container* fill(Container* container, Items*... items)
{
    (container->insert_child(std::unique_ptr<Define>(items), nullptr), ...);
    return container;
}
template <typename... Items>
Def_for* for_loop(const char* name, const char* count, Items*... items)
{
    return fill(new Def_for(sj(name), sj(count)), items...);
}
template <typename... Items>
Def_while* while_loop(const char* name, const char* condition, Items*... items)
{
    return fill(new Def_while(sj(name), sj(condition)), items...);
}
template <typename... Items>
Def_def_set* def_set(const char* name, Items*... items)
{
    return fill(new Def_def_set(sj(name)), items...);
}

// Appends top-level items to the document's definition (without analysing).
template <typename... Items>
void define(Items*... items)
{
    (Data_mgr::instance().insert_item(std::unique_ptr<Define>(items), nullptr), ...);
}

// The rendering of `component` (the root by default) down to `depth`, in UTF-8.
inline std::string tree(int depth, Component* component = nullptr)
{
    std::string out;
    render_tree(component ? *component : *Data_mgr::instance().root_component(), depth, out);
    return Bcl_str(out).to_utf8();
}

// "name\tvalue" of a component, in UTF-8.
inline std::string line(Component* component)
{
    return component->name().to_utf8() + "\t" + component->value_text().to_utf8();
}

inline Component* root() { return Data_mgr::instance().root_component(); }

// The names of a component's children, expanding it first when needed.
inline std::vector<std::string> child_names(Component* component)
{
    if (component->child_count() == 0)
        component->expand();
    std::vector<std::string> names;
    for (int i = 0; i < component->child_count(); ++i)
        names.push_back(component->child(i)->name().to_utf8());
    return names;
}

} // namespace analysis_test
