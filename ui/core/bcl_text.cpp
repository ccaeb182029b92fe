#include "ui/core/bcl_text.h"

#include "toolkit/utf32.h"
#include "ui/core/field_rules.h"

bool fits_bcl_text(std::string_view utf8, std::size_t limit)
{
    // An empty field, or whatever could be typed into one character by character by
    // the rules of every validated text field.
    if (utf8.empty())
        return true;
    const Ctrl_edit_text_state rules(limit);
    return rules.pasted(Field_text{}, utf32_from_utf8(utf8)).kind != Field_outcome::refuse;
}

Bcl_str bcl_text_of_field(const std::string& utf8, const Bcl_str& original)
{
    if (utf8 == original.to_utf8())
        return original;
    return Bcl_str::from_utf8(utf8);
}
