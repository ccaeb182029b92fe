#include "cli/definition_json.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/items.h"
#include "model/limits.h"
#include "toolkit/text/number_text.h"
#include "toolkit/text/place_text.h"
#include "toolkit/text/texts.h"

using json = nlohmann::ordered_json;

namespace {

json text_to_json(const Bcl_str& text)
{
    if (text.converts_losslessly())
        return text.to_utf8();
    std::string hex;
    for (std::size_t i = 0; i < text.size(); ++i)
        append_hex_digits(hex, text[i], 2, Hex_case::lower);
    return json{{"sjis", hex}};
}

json named_values_to_json(const Named_values& values)
{
    json list = json::array();
    for (const auto& [value, name] : values)
        list.push_back(json{{"value", value}, {"name", text_to_json(name)}});
    return list;
}

// One JSON object per item; containers recurse through their lists.
class Json_writer final : public Def_visitor {
public:
    static json items(Item_span list)
    {
        json array = json::array();
        for (Define* item : list)
            array.push_back(of(*item));
        return array;
    }
    static json of(Define& item)
    {
        Json_writer writer;
        item.accept(writer);
        return std::move(writer.result_);
    }

    void visit_int(Def_int& item) override
    {
        json flags = json::array();
        for (const auto& flag : item.bit_flags())
            flags.push_back(of(*flag));
        result_ = {{"kind", "int"},
                   {"name", text_to_json(item.name())},
                   {"signed", item.is_signed()},
                   {"size", item.size()},
                   {"display", item.display() == Def_int::hexadecimal ? "hexadecimal" : "decimal"},
                   {"variable", text_to_json(item.variable())},
                   {"named_values", named_values_to_json(item.named_values())},
                   {"bit_flags", std::move(flags)}};
    }
    void visit_bitflag(Def_bitflag& item) override
    {
        result_ = {{"name", text_to_json(item.name())},
                   {"bits", item.bit_count()},
                   {"variable", text_to_json(item.variable())},
                   {"named_values", named_values_to_json(item.named_values())}};
    }
    // The length is a number while it is the constant, else the expression's text.
    void visit_fix_str(Def_fix_str& item) override
    {
        result_ = {{"kind", "fix_str"}, {"name", text_to_json(item.name())}};
        if (item.length_expression().empty())
            result_["length"] = item.length();
        else
            result_["length"] = text_to_json(item.length_expression());
        add_encoding(item);
    }
    void visit_flex_str(Def_flex_str& item) override
    {
        result_ = {{"kind", "flex_str"}, {"name", text_to_json(item.name())}, {"prefix_size", item.prefix_size()}};
        add_encoding(item);
    }
    void visit_null_str(Def_null_str& item) override
    {
        result_ = {{"kind", "null_str"}, {"name", text_to_json(item.name())}};
        add_encoding(item);
    }
    // Shift-JIS, the default, is left out: a string of the original kinds reads as before.
    void add_encoding(const Def_string& item)
    {
        if (item.encoding() != Text_encoding::shift_jis)
            result_["encoding"] = std::string(encoding_name(item.encoding()));
    }
    void visit_if(Def_if& item) override
    {
        result_ = {{"kind", "if"},
                   {"condition", text_to_json(item.condition())},
                   {"then", items(item.then_children())},
                   {"else", items(item.else_children())}};
    }
    void visit_for(Def_for& item) override
    {
        result_ = {{"kind", "for"},
                   {"name", text_to_json(item.name())},
                   {"count", text_to_json(item.count())},
                   {"children", items(item.children())}};
    }
    void visit_while(Def_while& item) override
    {
        result_ = {{"kind", "while"},
                   {"name", text_to_json(item.name())},
                   {"condition", text_to_json(item.condition())},
                   {"children", items(item.children())}};
    }
    void visit_set_variable(Def_set_variable& item) override
    {
        result_ = {{"kind", "set_variable"}, {"variable", text_to_json(item.variable())}, {"value", text_to_json(item.value())}};
    }
    void visit_def_set(Def_def_set& item) override
    {
        result_ = {{"kind", "def_set"}, {"name", text_to_json(item.name())}, {"children", items(item.children())}};
    }
    void visit_def_ref(Def_def_ref& item) override
    {
        result_ = {{"kind", "def_ref"}, {"name", text_to_json(item.name())}, {"target", text_to_json(item.target())}};
    }
    void visit_float(Def_float& item) override
    {
        result_ = {{"kind", "float"}, {"name", text_to_json(item.name())}, {"size", item.size()}};
    }
    void visit_bytes(Def_bytes& item) override
    {
        result_ = {{"kind", "bytes"}, {"name", text_to_json(item.name())}, {"length", text_to_json(item.length())}};
    }
    // The undefined item is never part of a stored definition.
    void visit_nodef(Def_nodef&) override { result_ = nullptr; }

private:
    json result_;
};

// ---- reading ----

[[noreturn]] void fail(const std::string& where, const std::string& what)
{
    throw Json_definition_error(shortened_place(where) + ": " + what);
}

// Reads one JSON object's fields, refusing keys it does not know (a misspelt field
// would otherwise be dropped without a word).
class Fields {
public:
    Fields(const json& object, std::string where, std::set<std::string> known)
        : object_(object), where_(std::move(where))
    {
        if (!object.is_object())
            fail(where_, "must be an object");
        for (const auto& [key, value] : object.items())
            if (!known.contains(key))
                fail(where_, "unknown field \"" + key + "\"");
    }

    [[nodiscard]] const std::string& where() const { return where_; }
    [[nodiscard]] std::string at(const std::string& key) const { return where_ + "." + key; }
    [[nodiscard]] const json* find(const std::string& key) const
    {
        const auto found = object_.find(key);
        return found == object_.end() ? nullptr : &*found;
    }

    Bcl_str text(const std::string& key, const Bcl_str& fallback = Bcl_str()) const
    {
        const json* value = find(key);
        if (!value)
            return fallback;
        return storable(raw_text(key, *value), at(key));
    }

    bool flag(const std::string& key, bool fallback) const
    {
        const json* value = find(key);
        if (!value)
            return fallback;
        if (!value->is_boolean())
            fail(at(key), "must be true or false");
        return value->get<bool>();
    }

    // A required whole number in [low, high].
    long long number(const std::string& key, long long low, long long high) const
    {
        const json* value = find(key);
        if (!value)
            fail(where_, "missing field \"" + key + "\"");
        return number_of(*value, at(key), low, high);
    }

    static long long number_of(const json& value, const std::string& where, long long low, long long high)
    {
        if (!value.is_number_integer())
            fail(where, "must be a whole number");
        const long long n = value.is_number_unsigned() && value.get<unsigned long long>() > static_cast<unsigned long long>(high)
                                ? high + 1
                                : value.get<long long>();
        if (n < low || n > high)
            fail(where, "must be from " + std::to_string(low) + " to " + std::to_string(high));
        return n;
    }

    // A member that must be one of `choices`; returns its index.
    int choice(const std::string& key, std::initializer_list<const char*> choices, int fallback) const
    {
        const json* value = find(key);
        if (!value)
            return fallback;
        int index = 0;
        std::string allowed;
        for (const char* option : choices) {
            if (value->is_string() && value->get_ref<const std::string&>() == option)
                return index;
            allowed += (index++ ? ", " : "") + std::string("\"") + option + "\"";
        }
        fail(at(key), "must be one of " + allowed);
    }

    // An array of at most `max_size` entries (the width of its count in the file).
    const json& array(const std::string& key, std::size_t max_size) const
    {
        static const json empty = json::array();
        const json* value = find(key);
        if (!value)
            return empty;
        if (!value->is_array())
            fail(at(key), "must be an array");
        if (value->size() > max_size)
            fail(at(key), "more than " + std::to_string(max_size) + " entries");
        return *value;
    }

private:
    // The Shift-JIS bytes of a text field, a string or {"sjis": "<hex bytes>"}.
    Bcl_str raw_text(const std::string& key, const json& value) const
    {
        if (value.is_string()) {
            const std::string& utf8 = value.get_ref<const std::string&>();
            Bcl_str sjis = Bcl_str::from_utf8(utf8);
            // A character Shift-JIS cannot hold comes back as '?': refuse rather
            // than store a different text than the one written.
            if (std::count(sjis.view().begin(), sjis.view().end(), '?') != std::count(utf8.begin(), utf8.end(), '?'))
                fail(at(key), "holds a character that Shift-JIS cannot represent");
            return sjis;
        }
        if (value.is_object() && value.size() == 1 && value.contains("sjis") && value["sjis"].is_string()) {
            const std::string& hex = value["sjis"].get_ref<const std::string&>();
            std::string raw;
            for (std::size_t i = 0; i < hex.size(); i += 2) {
                const int high = hex_digit_value(hex[i]);
                const int low = i + 1 < hex.size() ? hex_digit_value(hex[i + 1]) : -1;
                if (high < 0 || low < 0)
                    fail(at(key) + ".sjis", "must be an even number of hexadecimal digits");
                raw += static_cast<char>(high * 16 + low);
            }
            return Bcl_str(std::move(raw));
        }
        fail(at(key), "must be a string or {\"sjis\": \"<hex bytes>\"}");
    }

    // A definition file stores a text in at most 255 bytes and reads it back only up
    // to its first NUL: a text beyond either would not come back as written.
    static Bcl_str storable(Bcl_str text, const std::string& where)
    {
        if (text.view().find('\0') != std::string_view::npos)
            fail(where, "holds a NUL character, which a definition file cannot keep");
        if (text.size() > definition_file::max_text_bytes)
            fail(where, "longer than " + std::to_string(definition_file::max_text_bytes) + " bytes in Shift-JIS");
        return text;
    }

    const json& object_;
    std::string where_;
};

// `wide`: of an 8-byte integer or its flags, whose values are 64-bit.
Named_values named_values_from(const Fields& fields, bool wide)
{
    Named_values values;
    const json& list = fields.array("named_values", definition_file::max_named_values);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Fields entry(list[i], fields.at("named_values") + "[" + std::to_string(i) + "]", {"value", "name"});
        std::int64_t key;
        if (wide) {
            // 2^63 to 2^64 - 1 are taken as the negative values of the same bits.
            const json* value = entry.find("value");
            if (!value)
                fail(entry.where(), "missing field \"value\"");
            if (!value->is_number_integer())
                fail(entry.at("value"), "must be a whole number");
            key = value->is_number_unsigned() ? static_cast<std::int64_t>(value->get<std::uint64_t>())
                                              : value->get<std::int64_t>();
        } else {
            // 0x80000000 to 0xFFFFFFFF are taken as the negative values of the same bits.
            const long long value = entry.number("value", std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::uint32_t>::max());
            key = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        }
        values.insert_or_assign(key, entry.text("name"));
    }
    return values;
}

std::unique_ptr<Define> item_from(const json& value, const std::string& where, int level);

// A string's "encoding", Shift-JIS when left out.
Text_encoding encoding_from(const Fields& fields)
{
    const json* value = fields.find("encoding");
    if (!value)
        return Text_encoding::shift_jis;
    if (value->is_string())
        if (const auto encoding = encoding_named(value->get_ref<const std::string&>()))
            return *encoding;
    std::string allowed;
    for (int code = 0; code < text_encoding_count; ++code)
        allowed.append(code ? ", \"" : "\"").append(encoding_name(static_cast<Text_encoding>(code))).append("\"");
    fail(fields.at("encoding"), "must be one of " + allowed);
}

// The items of `list` at nesting level `level` (top-level items are level 1). An
// empty list holds no item, so it may stand at any level, as in the file reader.
template <typename Insert>
void items_from(const json& list, const std::string& where, int level, Insert insert)
{
    if (!list.empty() && level > limits::max_definition_depth)
        fail(where, "nested deeper than " + std::to_string(limits::max_definition_depth) + " levels");
    for (std::size_t i = 0; i < list.size(); ++i)
        insert(item_from(list[i], where + "[" + std::to_string(i) + "]", level));
}

// The list `key` of an item at `level`, one level deeper.
template <typename Insert>
void children_from(const Fields& fields, const std::string& key, int level, Insert insert)
{
    items_from(fields.array(key, definition_file::max_list_items), fields.at(key), level + 1, insert);
}

template <typename Container>
void children_from(Container& container, const Fields& fields, const std::string& key, int level)
{
    children_from(fields, key, level,
                  [&](std::unique_ptr<Define> child) { container.insert_child(std::move(child), nullptr); });
}

std::unique_ptr<Define> item_from(const json& value, const std::string& where, int level)
{
    if (!value.is_object() || !value.contains("kind") || !value["kind"].is_string())
        fail(where, "must be an object with a \"kind\"");
    const std::string& kind = value["kind"].get_ref<const std::string&>();
    if (kind == "int") {
        const Fields f(value, where, {"kind", "name", "signed", "size", "display", "variable", "named_values", "bit_flags"});
        const auto size = static_cast<int>(f.number("size", 1, wide_int_size));
        if (size != 1 && size != 2 && size != 4 && size != wide_int_size)
            fail(f.at("size"), "must be 1, 2 or 4 (or 8 for a 64-bit integer)");
        const bool wide = size == wide_int_size;
        auto item = std::make_unique<Def_int>(f.text("name"), f.flag("signed", false), size,
                                              f.choice("display", {"decimal", "hexadecimal"}, 0), f.text("variable"));
        item->set_named_values(named_values_from(f, wide));
        const json& flags = f.array("bit_flags", definition_file::max_bit_flags);
        for (std::size_t i = 0; i < flags.size(); ++i) {
            const Fields flag(flags[i], f.at("bit_flags") + "[" + std::to_string(i) + "]",
                              {"name", "bits", "variable", "named_values"});
            const auto bits = static_cast<int>(flag.number("bits", 1, definition_file::max_bit_count));
            auto made = std::make_unique<Def_bitflag>(flag.text("name"), bits, flag.text("variable"));
            made->set_named_values(named_values_from(flag, wide));
            item->add_bit_flag(std::move(made));
        }
        return item;
    }
    if (kind == "fix_str") {
        const Fields f(value, where, {"kind", "name", "length", "encoding"});
        const json* length = f.find("length");
        std::unique_ptr<Def_fix_str> item;
        if (length && length->is_string()) {
            item = std::make_unique<Def_fix_str>(f.text("name"), 0);
            Bcl_str expression = f.text("length");
            if (expression.empty())
                fail(f.at("length"), "must be a number or an expression that is not empty");
            item->set_length_expression(std::move(expression));
        } else {
            item = std::make_unique<Def_fix_str>(
                f.text("name"), static_cast<int>(f.number("length", 0, definition_file::max_fixed_length)));
        }
        item->set_encoding(encoding_from(f));
        return item;
    }
    if (kind == "flex_str") {
        const Fields f(value, where, {"kind", "name", "prefix_size", "encoding"});
        const auto size = static_cast<int>(f.number("prefix_size", 1, 4));
        if (size == 3)
            fail(f.at("prefix_size"), "must be 1, 2 or 4");
        auto item = std::make_unique<Def_flex_str>(f.text("name"), size);
        item->set_encoding(encoding_from(f));
        return item;
    }
    if (kind == "float") {
        const Fields f(value, where, {"kind", "name", "size"});
        const auto size = static_cast<int>(f.number("size", 4, 8));
        if (size != 4 && size != 8)
            fail(f.at("size"), "must be 4 or 8");
        return std::make_unique<Def_float>(f.text("name"), size);
    }
    if (kind == "bytes") {
        const Fields f(value, where, {"kind", "name", "length"});
        return std::make_unique<Def_bytes>(f.text("name"), f.text("length"));
    }
    if (kind == "null_str") {
        const Fields f(value, where, {"kind", "name", "encoding"});
        auto item = std::make_unique<Def_null_str>(f.text("name"));
        item->set_encoding(encoding_from(f));
        return item;
    }
    if (kind == "if") {
        const Fields f(value, where, {"kind", "condition", "then", "else"});
        auto item = std::make_unique<Def_if>(f.text("condition"));
        children_from(f, "then", level,
                      [&](std::unique_ptr<Define> child) { item->insert_then_child(std::move(child), nullptr); });
        children_from(f, "else", level,
                      [&](std::unique_ptr<Define> child) { item->insert_else_child(std::move(child), nullptr); });
        return item;
    }
    if (kind == "for") {
        const Fields f(value, where, {"kind", "name", "count", "children"});
        auto item = std::make_unique<Def_for>(f.text("name"), f.text("count"));
        children_from(*item, f, "children", level);
        return item;
    }
    if (kind == "while") {
        const Fields f(value, where, {"kind", "name", "condition", "children"});
        auto item = std::make_unique<Def_while>(f.text("name"), f.text("condition"));
        children_from(*item, f, "children", level);
        return item;
    }
    if (kind == "set_variable") {
        const Fields f(value, where, {"kind", "variable", "value"});
        return std::make_unique<Def_set_variable>(f.text("variable"), f.text("value"));
    }
    if (kind == "def_set") {
        const Fields f(value, where, {"kind", "name", "children"});
        auto item = std::make_unique<Def_def_set>(f.text("name"));
        children_from(*item, f, "children", level);
        return item;
    }
    if (kind == "def_ref") {
        const Fields f(value, where, {"kind", "name", "target"});
        return std::make_unique<Def_def_ref>(f.text("name"), f.text("target"));
    }
    fail(where + ".kind", "unknown kind \"" + kind +
                              "\" (int, fix_str, flex_str, null_str, if, for, while, set_variable, def_set, def_ref)");
}

// Follows the parser through the text to refuse a key that an object holds twice.
// Only each container's own step is kept (its index or current key); the place is
// spelt out when a duplicate is found, so deep nesting costs no more than linear.
class Duplicate_field_check {
public:
    bool operator()(int, json::parse_event_t event, json& parsed)
    {
        switch (event) {
        case json::parse_event_t::object_start:
            frames_.emplace_back(false);
            break;
        case json::parse_event_t::array_start:
            frames_.emplace_back(true);
            break;
        case json::parse_event_t::key: {
            Frame& object = frames_.back();
            object.key = parsed.get<std::string>();
            if (!object.keys.insert(object.key).second)
                fail(place_of_innermost(), "duplicate field \"" + object.key + "\"");
            break;
        }
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            frames_.pop_back();
            element_done();
            break;
        case json::parse_event_t::value:
            element_done();
            break;
        }
        return true;
    }

private:
    struct Frame {
        explicit Frame(bool is_array) : array(is_array) {}
        bool array;
        std::size_t index = 0;
        std::set<std::string> keys;
        std::string key;
    };

    void element_done()
    {
        if (!frames_.empty() && frames_.back().array)
            ++frames_.back().index;
    }

    // The innermost container's place, as the reader names it: "definition" for the
    // whole document, "items[0].children[2]" below it.
    std::string place_of_innermost() const
    {
        if (frames_.size() == 1)
            return "definition";
        std::string place;
        for (std::size_t i = 0; i + 1 < frames_.size(); ++i) {
            const Frame& parent = frames_[i];
            if (parent.array)
                place += "[" + std::to_string(parent.index) + "]";
            else
                place += (place.empty() ? "" : ".") + parent.key;
        }
        return place;
    }

    std::vector<Frame> frames_;
};

} // namespace

json parse_definition_json(std::string_view text)
{
    Duplicate_field_check check;
    try {
        return json::parse(text, [&check](int depth, json::parse_event_t event, json& parsed) {
            return check(depth, event, parsed);
        });
    } catch (const json::parse_error& e) {
        throw Json_definition_error(std::string("not valid JSON: ") + e.what());
    }
}

json definition_to_json(const Definition_contents& definition)
{
    json items = json::array();
    for (const auto& item : definition.items)
        items.push_back(Json_writer::of(*item));
    return {{"title", text_to_json(definition.title)},
            {"byte_order", definition.byte_order == Byte_order::little_endian ? "little-endian" : "big-endian"},
            {"items", std::move(items)}};
}

void definition_from_json(const json& document, Bcl_str& title, Byte_order& byte_order, Item_list& items)
{
    const Fields fields(document, "definition", {"title", "byte_order", "items"});
    // Without a title the definition gets the one a new document has.
    title = fields.text("title", texts::undefined());
    byte_order = static_cast<Byte_order>(fields.choice("byte_order", {"big-endian", "little-endian"}, 0));
    items_from(fields.array("items", definition_file::max_list_items), "items", 1,
               [&](std::unique_ptr<Define> item) { items.insert(std::move(item), nullptr); });
}
