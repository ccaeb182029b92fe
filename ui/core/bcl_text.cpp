#include "ui/core/bcl_text.h"

#include "ui/core/data_text.h"

std::string field_text_of(const Bcl_str& text) { return field_text_of_bytes(text.view(), Field_lines::one); }

Bcl_str bcl_text_of_field(const std::string& utf8, const Bcl_str& original)
{
    if (utf8 == field_text_of(original))
        return original;
    return Bcl_str(bytes_of_field_text(utf8));
}
