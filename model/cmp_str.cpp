#include "model/cmp_str.h"

#include <string>

#include "model/cmp_visitor.h"
#include "model/data_editor.h"
#include "model/int_decoder.h"
#include "model/walk_context.h"

namespace {

// The bytes from `node`, at most `limit` of them, up to the first 0 byte or the end
// of the data.
Bcl_str text_from(const Data_node* node, std::uint64_t limit)
{
    std::string bytes;
    for (; node && limit > 0 && node->value != 0; node = node->next(), --limit)
        bytes += static_cast<char>(node->value);
    return Bcl_str(std::move(bytes));
}

// Puts `bytes` in place of `count` bytes from the component's start and makes the
// first new byte the start.
void replace_covered(Component& component, std::uint32_t count, std::string_view bytes)
{
    const Byte_piece chain = make_chain(bytes);
    if (chain.count == 0)
        return;
    data_editor().replace_bytes(component.start(), count, chain, std::nullopt);
    component.set_start(chain.first);
}

} // namespace

void Cmp_fix_str::accept(Cmp_visitor& visitor) { visitor.visit_fix_str(*this); }

const Bcl_str& Cmp_fix_str::value_text() const
{
    if (!value_text_cached())
        cache_value_text(text_from(start(), static_cast<std::uint64_t>(fixed_length(*def_))));
    return stored_value_text();
}

void Cmp_fix_str::set_text(const Bcl_str& s)
{
    const auto length = static_cast<std::size_t>(fixed_length(*def_));
    std::string bytes = s.bytes().substr(0, length);
    bytes.resize(length, '\0');
    // Removes the bytes that exist of the string's length (none when it has no
    // start: the chain is then appended).
    replace_covered(*this, static_cast<std::uint32_t>(length), bytes);
    forget_value_text();
}

void Cmp_flex_str::accept(Cmp_visitor& visitor) { visitor.visit_flex_str(*this); }

const Bcl_str& Cmp_flex_str::value_text() const
{
    if (!value_text_cached()) {
        const Data_node* node = start();
        for (int i = 0; i < prefix_width(*def_) && node; ++i)
            node = node->next();
        cache_value_text(text_from(node, length_));
    }
    return stored_value_text();
}

void Cmp_flex_str::set_text(const Bcl_str& s)
{
    const int width = prefix_width(*def_);
    const auto length = static_cast<std::uint32_t>(s.size());
    std::string bytes = int_bytes(length, width, walk_context().byte_order());
    bytes += s.view();
    replace_covered(*this, size(), bytes);
    length_ = length;
    cache_value_text(s);
}

void Cmp_null_str::accept(Cmp_visitor& visitor) { visitor.visit_null_str(*this); }

const Bcl_str& Cmp_null_str::value_text() const
{
    if (!value_text_cached())
        cache_value_text(text_from(start(), UINT64_MAX));
    return stored_value_text();
}

void Cmp_null_str::set_text(const Bcl_str& s)
{
    std::string bytes = s.bytes();
    bytes += '\0';
    replace_covered(*this, size(), bytes);
    cache_value_text(s);
}
