#include "model/cmp_bytes.h"

#include <string>

#include "model/cmp_visitor.h"
#include "model/data_node.h"
#include "toolkit/text/number_text.h"
#include "toolkit/text/texts.h"

Bcl_str bytes_text(std::uint64_t length, std::span<const std::uint8_t> first)
{
    Bcl_str text(std::to_string(length));
    text += texts::bytes_unit();
    if (first.empty())
        return text;
    std::string bytes = ":";
    for (const std::uint8_t byte : first) {
        bytes += ' ';
        append_hex_digits(bytes, byte, 2);
    }
    text += bytes;
    if (length > first.size()) {
        text += ' ';
        text += texts::more_bytes_mark();
    }
    return text;
}

void Cmp_bytes::accept(Cmp_visitor& visitor) { visitor.visit_bytes(*this); }

const Bcl_str& Cmp_bytes::value_text() const
{
    if (!value_text_cached()) {
        std::uint8_t first[bytes_shown];
        std::size_t got = 0;
        for (const Data_node* node = start(); node && got < bytes_shown && got < length(); node = node->next())
            first[got++] = node->value;
        cache_value_text(bytes_text(length(), {first, got}));
    }
    return stored_value_text();
}
