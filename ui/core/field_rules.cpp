#include "ui/core/field_rules.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "toolkit/text/bcl_str.h"
#include "toolkit/text/utf32.h"
#include "ui/core/data_text.h"

namespace {

bool is_digit(char32_t c) { return c >= U'0' && c <= U'9'; }

bool is_control(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

Field_outcome refuse() { return {Field_outcome::refuse, {}, {}}; }

Field_outcome set(std::u32string text, std::size_t caret)
{
    return {Field_outcome::set, {std::move(text), caret, caret}, {}};
}

Field_outcome set_caret_at_end(std::u32string text)
{
    const std::size_t n = text.size();
    return set(std::move(text), n);
}

Field_text select_all(const Field_text& field) { return {field.text, 0, field.text.size()}; }

Field_text collapse(const Field_text& field, std::size_t caret) { return {field.text, caret, caret}; }

// The selection replaced by `insert`, the caret after it.
Field_outcome replace_selection(const Field_text& field, std::u32string_view insert)
{
    std::u32string text = field.text.substr(0, field.start);
    text += insert;
    text += field.text.substr(std::min(field.end, field.text.size()));
    return set(std::move(text), field.start + insert.size());
}

// The selection held inside the text, so that a window that hands stale positions
// cannot make the rules read past it.
Field_text held(const Field_text& field)
{
    const std::size_t n = field.text.size();
    const std::size_t start = std::min(field.start, n);
    return {field.text, start, std::clamp(field.end, start, n)};
}

// Wide enough for every value from the lowest 64-bit signed to the highest
// unsigned one, and for a digit more.
__extension__ using Wide = __int128;

// The decimal value of a text of an optional "-" and digits; nothing for any other
// text. Saturates far outside the 64-bit range instead of overflowing.
std::optional<Wide> decimal_value(const std::u32string& text)
{
    const bool negative = !text.empty() && text[0] == U'-';
    Wide value = 0;
    for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
        if (!is_digit(text[i]))
            return std::nullopt;
        value = std::min<Wide>(value * 10 + (text[i] - U'0'), Wide{1} << 70);
    }
    return negative ? -value : value;
}

} // namespace

// ---- every field ----

Field_outcome Ctrl_edit_state::key(const Field_text&, Field_key) const { return {}; }
Field_text Ctrl_edit_state::after_key(const Field_text& field, Field_key) const { return field; }
Field_text Ctrl_edit_state::after_focus(const Field_text& field) const { return field; }
Field_text Ctrl_edit_state::after_click(const Field_text& field) const { return field; }

Field_outcome Ctrl_edit_state::pasted(const Field_text& field, std::u32string_view pasted) const
{
    if (pasted.empty())
        return refuse();
    Field_text current = held(field);
    for (const char32_t c : pasted) {
        Field_outcome step = typed(current, c);
        if (step.kind != Field_outcome::set)
            return refuse();
        current = std::move(step.after);
    }
    return {Field_outcome::set, std::move(current), {}};
}

// ---- numbers ----

bool Ctrl_edit_num_state::digit_allowed(const std::u32string& text, int digit) const
{
    // The text with the digit appended ("-0" and "0" then read as "-d" and "d")
    // must stay within the bound on its side of 0.
    const std::optional<Wide> v = decimal_value(text + static_cast<char32_t>(U'0' + digit));
    if (!v)
        return false;
    const bool negative = !text.empty() && text[0] == U'-';
    return negative ? *v >= minimum_ : *v <= Wide{maximum_};
}

Field_outcome Ctrl_edit_num_state::typed(const Field_text& given, char32_t c) const
{
    const Field_text field = held(given);
    const std::u32string& text = field.text;
    const bool whole = field.start == 0 && field.end == text.size();
    if (c == U'-') {
        if (minimum_ < 0 && (whole || text == U"0"))
            return set_caret_at_end(U"-0");
        return refuse();
    }
    if (!is_digit(c))
        return refuse();
    const int digit = static_cast<int>(c - U'0');
    const std::u32string judged = whole ? std::u32string() : text;
    if (!digit_allowed(judged, digit))
        return refuse();
    if (judged.empty() || judged == U"0")
        return set_caret_at_end(std::u32string(1, c));
    if (judged == U"-0")
        return set_caret_at_end(std::u32string{U'-', c});
    return set_caret_at_end(judged + c);
}

bool Ctrl_edit_num_state::in_range(const std::u32string& text) const
{
    if (text.empty())
        return true;
    const std::optional<std::int64_t> v = decimal_value(text);
    return v && *v >= minimum_ && *v <= Wide{maximum_};
}

Field_outcome Ctrl_edit_num_state::backspace(const Field_text& field) const
{
    const std::u32string& text = field.text;
    if (text.size() == 1 || text == U"-0")
        return set_caret_at_end(U"0");
    if (text.size() == 2 && text[0] == U'-')
        return set_caret_at_end(U"-0");
    Field_text deleting = field;
    if (deleting.start == deleting.end) {
        if (deleting.start == 0)
            return refuse();
        --deleting.start;
    }
    Field_outcome result = replace_selection(deleting, U"");
    if (result.after.text == U"-")
        return set_caret_at_end(U"-0");
    // Taking the "-" away can leave a number above the maximum ("-128" -> "128").
    if (!in_range(result.after.text))
        return refuse();
    return result;
}

Field_outcome Ctrl_edit_num_state::key(const Field_text& given, Field_key key) const
{
    const Field_text field = held(given);
    switch (key) {
    case Field_key::left:
    case Field_key::up:
        return {Field_outcome::set, collapse(field, field.text.size()), {}};
    case Field_key::delete_key:
        return set_caret_at_end(U"0");
    case Field_key::backspace:
        return backspace(field);
    default:
        return {};
    }
}

Field_text Ctrl_edit_num_state::after_focus(const Field_text& field) const { return select_all(field); }

Field_text Ctrl_edit_num_state::after_click(const Field_text& field) const
{
    return field.start == field.end ? collapse(field, field.text.size()) : select_all(field);
}

// ---- hexadecimal ----

Field_outcome Ctrl_edit_hex_state::typed(const Field_text& given, char32_t c) const
{
    const Field_text field = held(given);
    const std::size_t s = field.start;
    if (s >= field.text.size())
        return refuse();
    if (c >= U'a' && c <= U'f')
        c = c - U'a' + U'A';
    if (!is_digit(c) && !(c >= U'A' && c <= U'F'))
        return refuse();
    std::u32string text = field.text;
    text[s] = c;
    return set(std::move(text), s + 1);
}

Field_outcome Ctrl_edit_hex_state::key(const Field_text&, Field_key key) const
{
    if (key == Field_key::delete_key || key == Field_key::backspace)
        return refuse();
    return {};
}

Field_text Ctrl_edit_hex_state::after_key(const Field_text& given, Field_key key) const
{
    const Field_text field = held(given);
    switch (key) {
    case Field_key::end:
    case Field_key::right:
    case Field_key::down:
        return collapse(field, field.end);
    case Field_key::home:
    case Field_key::left:
    case Field_key::up:
        return collapse(field, field.start);
    default:
        return field;
    }
}

Field_text Ctrl_edit_hex_state::after_focus(const Field_text& field) const { return collapse(field, 0); }

Field_text Ctrl_edit_hex_state::after_click(const Field_text& given) const
{
    const Field_text field = held(given);
    return collapse(field, field.end);
}

// ---- plain text and variable names ----

namespace {

// The bytes `text` takes once read back (see field_char_bytes).
std::size_t stored_length(std::u32string_view text)
{
    std::size_t length = 0;
    for (const char32_t c : text)
        length += field_char_bytes(c);
    return length;
}

// The bytes of the field's text outside its selection.
std::size_t length_around_selection(const Field_text& field)
{
    const std::u32string_view text = field.text;
    return stored_length(text.substr(0, field.start)) + stored_length(text.substr(field.end));
}

} // namespace

bool Ctrl_edit_text_state::takes(std::size_t, char32_t c) const { return !is_control(c) && field_char_bytes(c) > 0; }

Field_outcome Ctrl_edit_text_state::typed(const Field_text& given, char32_t c) const
{
    const Field_text field = held(given);
    c = cp932_form(c);
    if (!takes(field.start, c) || length_around_selection(field) + field_char_bytes(c) > max_bytes_)
        return refuse();
    return replace_selection(field, std::u32string_view(&c, 1));
}

Field_outcome Ctrl_edit_text_state::pasted(const Field_text& given, std::u32string_view pasted) const
{
    const Field_text field = held(given);
    std::size_t length = length_around_selection(field);
    std::u32string kept;
    std::u32string refused;
    std::size_t cut_off = 0;
    for (std::size_t i = 0; i < pasted.size(); ++i) {
        const char32_t c = cp932_form(pasted[i]);
        if (!takes(field.start + kept.size(), c)) {
            refused += pasted[i];
            continue;
        }
        const std::size_t bytes = field_char_bytes(c);
        if (length + bytes > max_bytes_) {
            cut_off = pasted.size() - i;
            break;
        }
        length += bytes;
        kept += c;
    }
    std::string note = paste_note(refused, cut_off);
    if (kept.empty())
        return {Field_outcome::refuse, {}, std::move(note)};
    Field_outcome result = replace_selection(field, kept);
    result.note = std::move(note);
    return result;
}

bool Ctrl_edit_var_state::takes(std::size_t position, char32_t c) const
{
    static constexpr std::u32string_view operators = U" !\"%&'()*+-/=[]{|}";
    if ((position == 0 && is_digit(c)) || operators.find(c) != std::u32string_view::npos)
        return false;
    return Ctrl_edit_text_state::takes(position, c);
}

Field_text Ctrl_edit_var_state::after_click(const Field_text& field) const
{
    return field.start == field.end ? collapse(field, field.text.size()) : select_all(field);
}

Field_outcome Ctrl_edit_lines_state::pasted(const Field_text& field, std::u32string_view pasted) const
{
    std::u32string lines;
    for (std::size_t i = 0; i < pasted.size(); ++i)
        if (pasted[i] != U'\r' || i + 1 == pasted.size() || pasted[i + 1] != U'\n')
            lines += pasted[i];
    return Ctrl_edit_text_state::pasted(field, lines);
}

bool Ctrl_edit_lines_state::takes(std::size_t position, char32_t c) const
{
    return c == U'\n' || Ctrl_edit_text_state::takes(position, c);
}

// ---- what a paste left out ----

namespace {

// How the note names a character: printable ones quoted, the invisible ones by name.
std::string note_name(char32_t c)
{
    if (c == U'\r' || c == U'\n')
        return "改行";
    if (c == U'\t')
        return "タブ";
    if (is_control(c))
        return "制御文字";
    return "「" + utf8_from_utf32(std::u32string_view(&c, 1)) + "」";
}

} // namespace

std::string paste_note(std::u32string_view refused, std::size_t cut_off)
{
    // Each name once, the first few only: the note is one line of the status bar.
    constexpr std::size_t most_named = 5;
    std::vector<std::string> names;
    bool more = false;
    for (const char32_t c : refused) {
        std::string name = note_name(c);
        if (std::find(names.begin(), names.end(), name) != names.end())
            continue;
        if (names.size() == most_named) {
            more = true;
            break;
        }
        names.push_back(std::move(name));
    }
    std::string listed;
    for (const std::string& name : names)
        listed += (listed.empty() ? "" : "、") + name;
    if (more)
        listed += "など";
    const std::string cut = "長さの上限を超える" + std::to_string(cut_off) + "文字";
    if (!listed.empty() && cut_off > 0)
        return "貼り付けた文字のうち" + listed + "は入力できないので除き、" + cut + "も除きました。";
    if (!listed.empty())
        return "貼り付けた文字のうち" + listed + "は入力できないので除きました。";
    if (cut_off > 0)
        return "貼り付けた文字のうち、" + cut + "を除きました。";
    return {};
}

// ---- Shift-JIS ----

std::size_t sjis_length(std::u32string_view text) { return Bcl_str::from_utf8(utf8_from_utf32(text)).size(); }

bool sjis_can_hold(char32_t c)
{
    // A character the conversion cannot hold comes back as "?"; one it maps onto
    // another character does not come back as itself.
    const std::string utf8 = utf8_from_utf32(std::u32string_view(&c, 1));
    const Bcl_str sjis = Bcl_str::from_utf8(utf8);
    return (c == U'?' || sjis != "?") && sjis.to_utf8() == utf8;
}
