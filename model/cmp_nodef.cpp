#include "model/cmp_nodef.h"

#include <string>

#include "model/cmp_visitor.h"
#include "model/data_editor.h"
#include "toolkit/text/number_text.h"

void Cmp_nodef::accept(Cmp_visitor& visitor) { visitor.visit_nodef(*this); }

const Bcl_str& Cmp_nodef::name() const
{
    Bcl_str& stored = stored_name();
    if (stored.empty())
        stored = Bcl_str(index_label(index_));
    return stored;
}

const Bcl_str& Cmp_nodef::value_text() const
{
    if (!value_text_cached())
        cache_value_text(start() ? Bcl_str(hex_text(start()->value, 1)) : Bcl_str());
    return stored_value_text();
}

void Cmp_nodef::set_value(int v)
{
    set_start(data_editor().change_value(start(), 1, static_cast<std::uint32_t>(v) & 0xFFu, std::nullopt));
    forget_value_text();
}
