#include "model/cmp_str.h"

#include <string>

#include "model/cmp_visitor.h"
#include "model/data_editor.h"
#include "model/int_decoder.h"
#include "model/walk_context.h"

namespace {

// The value text of a string's text bytes.
Bcl_str shown_text(std::string bytes, Text_encoding encoding)
{
    if (encoding == Text_encoding::shift_jis)
        return Bcl_str(std::move(bytes));
    return shift_jis_with_replacement(decode_text(bytes, encoding));
}

const Data_node* after_prefix(const Cmp_flex_str& component)
{
    const Data_node* node = component.start();
    for (int i = 0; i < prefix_width(*component.def()) && node; ++i)
        node = node->next();
    return node;
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

std::string text_bytes(const Data_node* node, std::uint64_t limit, Text_encoding encoding)
{
    std::string bytes;
    if (code_unit_size(encoding) == 1) {
        for (; node && limit > 0 && node->value != 0; node = node->next(), --limit)
            bytes += static_cast<char>(node->value);
        return bytes;
    }
    while (node && limit > 0) {
        const Data_node* second = limit > 1 ? node->next() : nullptr;
        if (node->value == 0 && second && second->value == 0)
            break;
        bytes += static_cast<char>(node->value);
        if (!second)
            break;
        bytes += static_cast<char>(second->value);
        node = second->next();
        limit -= 2;
    }
    return bytes;
}

void Cmp_fix_str::accept(Cmp_visitor& visitor) { visitor.visit_fix_str(*this); }

const Bcl_str& Cmp_fix_str::value_text() const
{
    if (!value_text_cached())
        cache_value_text(shown_text(text_bytes(start(), length_, def_->encoding()), def_->encoding()));
    return stored_value_text();
}

std::string Cmp_fix_str::value_utf8() const
{
    if (def_->encoding() == Text_encoding::shift_jis)
        return Component::value_utf8();
    return decode_text(text_bytes(start(), length_, def_->encoding()), def_->encoding());
}

void Cmp_fix_str::set_text(const Bcl_str& s)
{
    const std::size_t length = length_;
    std::string bytes = s.bytes().substr(0, length);
    bytes.resize(length, '\0');
    // Removes the bytes that exist of the string's length (none when it has no
    // start: the chain is then appended).
    replace_covered(*this, length_, bytes);
    forget_value_text();
}

void Cmp_flex_str::accept(Cmp_visitor& visitor) { visitor.visit_flex_str(*this); }

const Bcl_str& Cmp_flex_str::value_text() const
{
    if (!value_text_cached())
        cache_value_text(shown_text(text_bytes(after_prefix(*this), length_, def_->encoding()), def_->encoding()));
    return stored_value_text();
}

std::string Cmp_flex_str::value_utf8() const
{
    if (def_->encoding() == Text_encoding::shift_jis)
        return Component::value_utf8();
    return decode_text(text_bytes(after_prefix(*this), length_, def_->encoding()), def_->encoding());
}

void Cmp_flex_str::set_text(const Bcl_str& s)
{
    const int width = prefix_width(*def_);
    const auto length = static_cast<std::uint32_t>(s.size());
    std::string bytes = int_bytes(length, width, walk_context().byte_order());
    bytes += s.view();
    replace_covered(*this, size(), bytes);
    length_ = length;
    if (def_->encoding() == Text_encoding::shift_jis)
        cache_value_text(s);
    else
        forget_value_text();
}

void Cmp_null_str::accept(Cmp_visitor& visitor) { visitor.visit_null_str(*this); }

const Bcl_str& Cmp_null_str::value_text() const
{
    if (!value_text_cached())
        cache_value_text(shown_text(text_bytes(start(), UINT64_MAX, def_->encoding()), def_->encoding()));
    return stored_value_text();
}

std::string Cmp_null_str::value_utf8() const
{
    if (def_->encoding() == Text_encoding::shift_jis)
        return Component::value_utf8();
    return decode_text(text_bytes(start(), UINT64_MAX, def_->encoding()), def_->encoding());
}

void Cmp_null_str::set_text(const Bcl_str& s)
{
    std::string bytes = s.bytes();
    bytes.append(static_cast<std::size_t>(code_unit_size(def_->encoding())), '\0');
    replace_covered(*this, size(), bytes);
    if (def_->encoding() == Text_encoding::shift_jis)
        cache_value_text(s);
    else
        forget_value_text();
}
