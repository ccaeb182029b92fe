#include "model/cmp_float.h"

#include <cstdint>

#include "model/cmp_visitor.h"
#include "model/data_editor.h"
#include "model/float_value.h"
#include "model/walk_context.h"

void Cmp_float::accept(Cmp_visitor& visitor) { visitor.visit_float(*this); }

const Bcl_str& Cmp_float::value_text() const
{
    if (!value_text_cached()) {
        const int width = float_width(*def_);
        std::uint8_t bytes[8];
        int got = 0;
        for (const Data_node* node = start(); node && got < width; node = node->next())
            bytes[got++] = node->value;
        if (got < width)
            cache_value_text(Bcl_str());
        else
            cache_value_text(Bcl_str(float_text(load_float_bits(bytes, width, walk_context().byte_order()), width)));
    }
    return stored_value_text();
}

void Cmp_float::set_value(double value)
{
    const int width = float_width(*def_);
    const Byte_piece chain = make_chain(float_bytes(value, width, walk_context().byte_order()));
    data_editor().replace_bytes(start(), static_cast<std::uint32_t>(width), chain, std::nullopt);
    set_start(chain.first);
    forget_value_text();
}
