#include "ui/core/bcl_text.h"

bool fits_bcl_text(std::string_view utf8, std::size_t limit)
{
    const Bcl_str sjis = Bcl_str::from_utf8(utf8);
    return sjis.size() <= limit && sjis.to_utf8() == utf8;
}

Bcl_str bcl_text_of_field(const std::string& utf8, const Bcl_str& original)
{
    if (utf8 == original.to_utf8())
        return original;
    return Bcl_str::from_utf8(utf8);
}
