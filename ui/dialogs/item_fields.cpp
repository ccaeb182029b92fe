#include "ui/dialogs/item_fields.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "ui/core/bcl_text.h"
#include "ui/dialogs/text_fields.h"

void attach_bcl_text(Bcl_dlg& dialog, Bcl_edit& field, int id)
{
    field.attach(dialog, id);
    limit_to_bcl_text(field);
}

void show_bcl_text(Bcl_edit& field, const Bcl_str& text) { field.set_text(field_text_of(text)); }

Bcl_str bcl_text_of(const Bcl_edit& field, const Bcl_str& original) { return bcl_text_of_field(field.text(), original); }

std::optional<std::int32_t> number_of(const Bcl_edit& field)
{
    const std::string text = field.text();
    const char* first = text.data();
    const char* last = first + text.size();
    if (text.starts_with('-')) {
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        return error == std::errc() && end == last ? std::optional(value) : std::nullopt;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && !text.empty() ? std::optional(static_cast<std::int32_t>(value))
                                                                 : std::nullopt;
}

void fill_size_list(Bcl_combbox& list, bool with_eight)
{
    list.clear();
    for (const char* entry : {"１バイト", "２バイト", "４バイト"})
        list.add(entry);
    if (with_eight)
        list.add("８バイト");
}

void show_size(Bcl_combbox& list, int size) { list.select(size == 8 ? 3 : size == 4 ? 2 : size == 2 ? 1 : 0); }

int size_of(const Bcl_combbox& list)
{
    constexpr int sizes[] = {1, 2, 4, 8};
    const int entry = list.selected();
    return entry >= 0 && entry < std::min(4, list.count()) ? sizes[entry] : 1;
}

void fill_encoding_list(Bcl_combbox& list)
{
    list.clear();
    for (int code = 0; code < text_encoding_count; ++code)
        list.add(encoding_name(static_cast<Text_encoding>(code)));
}

void show_encoding(Bcl_combbox& list, Text_encoding encoding) { list.select(static_cast<int>(encoding)); }

Text_encoding encoding_of(const Bcl_combbox& list)
{
    return encoding_of_code(static_cast<unsigned>(std::max(list.selected(), 0))).value_or(Text_encoding::shift_jis);
}
