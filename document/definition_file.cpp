// The "*.kxd" definition file: every item kind's record writer, the reader for each
// kind code, and the document's load and save of the definition side.
#include "document/definition_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/data_mgr.h"
#include "model/component.h"
#include "model/items.h"
#include "model/limits.h"
#include "toolkit/files/bcl_binaryfile.h"
#include "toolkit/exception.h"
#include "toolkit/files/file_io.h"
#include "toolkit/text/place_text.h"
#include "toolkit/progress.h"
#include "toolkit/text/texts.h"

using namespace definition_file;

// ---- writing ----

namespace {

// Where the writer stands in the definition, as segments ("items[2]",
// "children[0]", "bit_flags[1]"), so that a refusal can name the place the way the
// JSON reader does: items[2].children[0].name. save() takes no context argument,
// so the place lives here.
thread_local std::vector<std::string> save_place;
// Nesting level of the item lists being written: it stops a tree deeper than a
// reader accepts from being written (and bounds the recursion).
thread_local int save_level = 0;

class Save_place {
public:
    explicit Save_place(std::string segment) { save_place.push_back(std::move(segment)); }
    ~Save_place() { save_place.pop_back(); }
    Save_place(const Save_place&) = delete;
    Save_place& operator=(const Save_place&) = delete;
};

class Save_level {
public:
    Save_level() { ++save_level; }
    ~Save_level() { --save_level; }
    Save_level(const Save_level&) = delete;
    Save_level& operator=(const Save_level&) = delete;
};

std::string indexed(std::string_view key, std::size_t index)
{
    std::string text(key);
    text += '[';
    text += std::to_string(index);
    text += ']';
    return text;
}

// The place of `field` of what is being written.
std::string place_of(std::string_view field)
{
    std::string text;
    for (const std::string& segment : save_place)
        text.append(text.empty() ? "" : ".").append(segment);
    return shortened_place(text.append(text.empty() ? "" : ".").append(field));
}

[[noreturn]] void refuse(const Bcl_binaryfile& out, std::string_view field, const Bcl_str& reason)
{
    throw Unstorable_exception(out.path(), Bcl_str(place_of(field) + ": ") + reason);
}

void refuse_unless(bool storable, const Bcl_binaryfile& out, std::string_view field)
{
    if (!storable)
        refuse(out, field, texts::store_bad_value());
}

void write_text(Bcl_binaryfile& out, const Bcl_str& text, std::string_view field)
{
    if (text.size() > max_text_bytes)
        refuse(out, field, texts::store_text_too_long());
    out.write_str(1, text);
}

// Values of 8 bytes (high half first) for an 8-byte integer and its flags, else of
// 4 bytes as ever: then a value outside the 32-bit range cannot be written.
void write_named_values(Bcl_binaryfile& out, const Named_values& values, bool wide)
{
    if (values.size() > max_named_values)
        refuse(out, "named_values", texts::store_too_many_values());
    out.write_uint(1, static_cast<std::uint32_t>(values.size()));
    // The map is ordered by signed value, which is the order the file wants.
    std::size_t index = 0;
    for (const auto& [value, name] : values) {
        const Save_place place(indexed("named_values", index++));
        const auto bits = static_cast<std::uint64_t>(value);
        if (wide)
            out.write_uint(4, static_cast<std::uint32_t>(bits >> 32));
        else
            refuse_unless(value >= INT32_MIN && value <= INT32_MAX, out, "value");
        out.write_uint(4, static_cast<std::uint32_t>(bits));
        write_text(out, name, "name");
    }
}

// A flag record has no kind code: it only ever stands inside its integer's record.
void write_flag(Bcl_binaryfile& out, const Def_bitflag& flag, bool wide)
{
    refuse_unless(flag.bit_count() >= 1 && flag.bit_count() <= max_bit_count, out, "bits");
    write_text(out, flag.name(), "name");
    out.write_byte(static_cast<std::uint8_t>(flag.bit_count()));
    write_text(out, flag.variable(), "variable");
    write_named_values(out, flag.named_values(), wide);
}

// A count and the records of the list `key`; `written` is called after each record.
template <typename After = void (*)()>
void write_items(Bcl_binaryfile& out, const Item_list& items, std::string_view key, After written = [] {})
{
    if (items.size() > max_list_items)
        refuse(out, key, texts::store_too_many_items());
    out.write_uint(2, static_cast<std::uint32_t>(items.size()));
    if (items.empty())
        return;
    if (save_level >= limits::max_definition_depth)
        refuse(out, key, texts::store_too_deep());
    const Save_level level;
    std::size_t index = 0;
    for (const Define* item : items) {
        const Save_place place(indexed(key, index++));
        item->save(out);
        written();
    }
}

bool is_int_size(int size) { return size == 1 || size == 2 || size == 4; }
// An integer item's size; a length prefix has the sizes above.
bool is_int_item_size(int size) { return is_int_size(size) || size == wide_int_size; }
bool is_float_size(int size) { return size == 4 || size == 8; }

int format_of(std::span<const Define* const> items)
{
    int format = static_cast<int>(format_version);
    for (const Define* item : items)
        format = std::max(format, item->format_needed());
    return format;
}

} // namespace

int Define::format_needed() const { return static_cast<int>(format_version); }
int Def_container::format_needed() const { return format_of(children().items()); }
int Def_if::format_needed() const
{
    return std::max(format_of(then_children().items()), format_of(else_children().items()));
}
int Def_float::format_needed() const { return static_cast<int>(additions_format); }
int Def_bytes::format_needed() const { return static_cast<int>(additions_format); }
int Def_string::format_needed() const
{
    return static_cast<int>(encoding() == Text_encoding::shift_jis ? format_version : additions_format);
}
int Def_fix_str::format_needed() const
{
    return length_expression().empty() ? Def_string::format_needed() : static_cast<int>(additions_format);
}

int Def_int::format_needed() const
{
    return static_cast<int>(size() == wide_int_size ? additions_format : format_version);
}

// The undefined item is not part of the definition.
void Def_nodef::save(Bcl_binaryfile&) const {}

void Def_int::save(Bcl_binaryfile& out) const
{
    refuse_unless(is_int_item_size(size()), out, "size");
    refuse_unless(display() == decimal || display() == hexadecimal, out, "display");
    if (bit_flags().size() > max_bit_flags)
        refuse(out, "bit_flags", texts::store_too_many_flags());
    out.write_byte(code_int);
    write_text(out, name(), "name");
    out.write_byte(is_signed() ? 1 : 0);
    out.write_byte(static_cast<std::uint8_t>(size()));
    out.write_byte(static_cast<std::uint8_t>(display()));
    write_text(out, variable(), "variable");
    const bool wide = size() == wide_int_size;
    write_named_values(out, named_values(), wide);
    out.write_uint(1, static_cast<std::uint32_t>(bit_flags().size()));
    std::size_t index = 0;
    for (const auto& flag : bit_flags()) {
        const Save_place place(indexed("bit_flags", index++));
        write_flag(out, *flag, wide);
    }
}

void Def_bitflag::save(Bcl_binaryfile& out) const { write_flag(out, *this, false); }

// A string of the original kinds keeps its record of format 100; one with an
// addition gets the record that holds it.
void Def_fix_str::save(Bcl_binaryfile& out) const
{
    refuse_unless(length() >= 0 && length() <= max_fixed_length, out, "length");
    const bool additions = format_needed() != static_cast<int>(format_version);
    out.write_byte(additions ? code_fix_str_encoded : code_fix_str);
    write_text(out, name(), "name");
    out.write_byte(static_cast<std::uint8_t>(length()));
    if (!additions)
        return;
    out.write_byte(static_cast<std::uint8_t>(encoding()));
    write_text(out, length_expression(), "length");
}

void Def_flex_str::save(Bcl_binaryfile& out) const
{
    refuse_unless(is_int_size(prefix_size()), out, "prefix_size");
    const bool additions = format_needed() != static_cast<int>(format_version);
    out.write_byte(additions ? code_flex_str_encoded : code_flex_str);
    write_text(out, name(), "name");
    out.write_byte(static_cast<std::uint8_t>(prefix_size()));
    if (additions)
        out.write_byte(static_cast<std::uint8_t>(encoding()));
}

void Def_null_str::save(Bcl_binaryfile& out) const
{
    const bool additions = format_needed() != static_cast<int>(format_version);
    out.write_byte(additions ? code_null_str_encoded : code_null_str);
    write_text(out, name(), "name");
    if (additions)
        out.write_byte(static_cast<std::uint8_t>(encoding()));
}

void Def_float::save(Bcl_binaryfile& out) const
{
    refuse_unless(is_float_size(size()), out, "size");
    out.write_byte(code_float);
    write_text(out, name(), "name");
    out.write_byte(static_cast<std::uint8_t>(size()));
}

void Def_bytes::save(Bcl_binaryfile& out) const
{
    out.write_byte(code_bytes);
    write_text(out, name(), "name");
    write_text(out, length(), "length");
}

void Def_if::save(Bcl_binaryfile& out) const
{
    out.write_byte(code_if);
    write_text(out, condition(), "condition");
    write_items(out, then_children(), "then");
    write_items(out, else_children(), "else");
}

void Def_for::save(Bcl_binaryfile& out) const
{
    out.write_byte(code_for);
    write_text(out, name(), "name");
    write_text(out, count(), "count");
    write_items(out, children(), "children");
}

void Def_while::save(Bcl_binaryfile& out) const
{
    out.write_byte(code_while);
    write_text(out, name(), "name");
    write_text(out, condition(), "condition");
    write_items(out, children(), "children");
}

void Def_set_variable::save(Bcl_binaryfile& out) const
{
    out.write_byte(code_set_variable);
    write_text(out, variable(), "variable");
    write_text(out, value(), "value");
}

void Def_def_set::save(Bcl_binaryfile& out) const
{
    out.write_byte(code_def_set);
    write_text(out, name(), "name");
    write_items(out, children(), "children");
}

void Def_def_ref::save(Bcl_binaryfile& out) const
{
    out.write_byte(code_def_ref);
    write_text(out, name(), "name");
    write_text(out, target(), "target");
}

void write_definition_file(const File_path& path, const Bcl_str& title, Byte_order byte_order, const Item_list& items)
{
    Bcl_binaryfile out;
    out.open_write(path);
    // Destroying `out` without close() on any exception below leaves `path` as it was.
    refuse_unless(byte_order == Byte_order::big_endian || byte_order == Byte_order::little_endian, out, "byte_order");
    for (const char c : signature)
        out.write_byte(static_cast<std::uint8_t>(c));
    // The original items alone keep the original format, byte for byte.
    const auto format = static_cast<std::uint32_t>(format_of(items.items()));
    out.write_uint(2, format);
    out.write_uint(2, format == format_version ? required_version : format);
    write_text(out, title, "title");
    out.write_byte(static_cast<std::uint8_t>(byte_order));
    std::uint64_t done = 0;
    write_items(out, items, "items", [&] { reporter().step(++done); });
    out.close();
}

// ---- reading ----

namespace {

class Definition_reader {
public:
    Definition_reader(Bcl_binaryfile& in, std::uint32_t readable_format) : in_(in), readable_format_(readable_format) {}

    void read_header(Definition_contents& contents)
    {
        for (const char expected : signature) {
            std::uint8_t byte;
            if (!in_.read_byte(byte) || byte != static_cast<std::uint8_t>(expected))
                throw Data_kind_exception(in_.path());
        }
        const std::uint32_t format = read_uint(2);
        const std::uint32_t required = read_uint(2);
        // An older or equal format is read whatever program version it asks for.
        if (format > readable_format_)
            throw Ver_exception(in_.path(), static_cast<int>(required));
        format_ = format;
        contents.title = read_text();
        const std::uint32_t byte_order = read_uint(1);
        check(byte_order <= 1);
        contents.byte_order = static_cast<Byte_order>(byte_order);
    }

    // Reads a count and that many item records at nesting level `level`, handing
    // each to `take` (which takes ownership).
    template <typename Take>
    void read_items(int level, Take take)
    {
        const std::uint32_t count = read_uint(2);
        check(count == 0 || level <= limits::max_definition_depth);
        for (std::uint32_t i = 0; i < count; ++i)
            take(read_item(level));
    }

private:
    [[noreturn]] void corrupt() const { throw Data_err_exception(in_.path()); }
    void check(bool ok) const
    {
        if (!ok)
            corrupt();
    }

    std::uint32_t read_uint(int width)
    {
        std::uint32_t value;
        check(in_.read_uint(width, value));
        return value;
    }

    // The text kept is the bytes before the first NUL; the rest is still consumed.
    Bcl_str read_text()
    {
        Bcl_str text;
        check(in_.read_str(1, text));
        const auto nul = text.view().find('\0');
        if (nul == std::string_view::npos)
            return text;
        return Bcl_str(text.view().substr(0, nul));
    }

    bool read_flag()
    {
        const std::uint32_t value = read_uint(1);
        check(value <= 1);
        return value == 1;
    }

    int read_int_size()
    {
        const auto size = static_cast<int>(read_uint(1));
        check(is_int_size(size));
        return size;
    }

    Text_encoding read_encoding()
    {
        const std::optional<Text_encoding> encoding = encoding_of_code(read_uint(1));
        check(encoding.has_value());
        return *encoding;
    }

    // A repeated value takes the last name read for it.
    Named_values read_named_values(bool wide)
    {
        Named_values values;
        const std::uint32_t count = read_uint(1);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::int64_t value;
            if (wide) {
                const std::uint64_t high = read_uint(4);
                value = static_cast<std::int64_t>(high << 32 | read_uint(4));
            } else {
                value = static_cast<std::int32_t>(read_uint(4));
            }
            values.insert_or_assign(value, read_text());
        }
        return values;
    }

    std::unique_ptr<Def_bitflag> read_bit_flag(bool wide)
    {
        Bcl_str name = read_text();
        const auto bit_count = static_cast<int>(read_uint(1));
        check(bit_count != 0);
        Bcl_str variable = read_text();
        auto flag = std::make_unique<Def_bitflag>(std::move(name), bit_count, std::move(variable));
        flag->set_named_values(read_named_values(wide));
        return flag;
    }

    std::unique_ptr<Define> read_int()
    {
        Bcl_str name = read_text();
        const bool is_signed = read_flag();
        const auto size = static_cast<int>(read_uint(1));
        const bool wide = size == wide_int_size;
        check(is_int_size(size) || (wide && format_ >= additions_format));
        const int display = read_flag() ? Def_int::hexadecimal : Def_int::decimal;
        Bcl_str variable = read_text();
        auto item = std::make_unique<Def_int>(std::move(name), is_signed, size, display, std::move(variable));
        item->set_named_values(read_named_values(wide));
        const std::uint32_t flags = read_uint(1);
        for (std::uint32_t i = 0; i < flags; ++i)
            item->add_bit_flag(read_bit_flag(wide));
        return item;
    }

    template <typename Container>
    void read_children(Container& container, int level)
    {
        read_items(level + 1,
                   [&](std::unique_ptr<Define> child) { container.insert_child(std::move(child), nullptr); });
    }

    std::unique_ptr<Define> read_item(int level)
    {
        std::unique_ptr<Define> item = read_record(level);
        reporter().step(in_.offset());
        return item;
    }

    std::unique_ptr<Define> read_record(int level)
    {
        switch (read_uint(1)) {
        case code_int:
            return read_int();
        case code_fix_str: {
            Bcl_str name = read_text();
            return std::make_unique<Def_fix_str>(std::move(name), static_cast<int>(read_uint(1)));
        }
        case code_flex_str: {
            Bcl_str name = read_text();
            return std::make_unique<Def_flex_str>(std::move(name), read_int_size());
        }
        case code_null_str:
            return std::make_unique<Def_null_str>(read_text());
        case code_if: {
            auto item = std::make_unique<Def_if>(read_text());
            read_items(level + 1,
                       [&](std::unique_ptr<Define> child) { item->insert_then_child(std::move(child), nullptr); });
            read_items(level + 1,
                       [&](std::unique_ptr<Define> child) { item->insert_else_child(std::move(child), nullptr); });
            return item;
        }
        case code_for: {
            Bcl_str name = read_text();
            auto item = std::make_unique<Def_for>(std::move(name), read_text());
            read_children(*item, level);
            return item;
        }
        case code_while: {
            Bcl_str name = read_text();
            auto item = std::make_unique<Def_while>(std::move(name), read_text());
            read_children(*item, level);
            return item;
        }
        case code_set_variable: {
            Bcl_str variable = read_text();
            return std::make_unique<Def_set_variable>(std::move(variable), read_text());
        }
        case code_def_set: {
            auto item = std::make_unique<Def_def_set>(read_text());
            read_children(*item, level);
            return item;
        }
        case code_def_ref: {
            Bcl_str name = read_text();
            return std::make_unique<Def_def_ref>(std::move(name), read_text());
        }
        case code_fix_str_encoded: {
            check(format_ >= additions_format);
            Bcl_str name = read_text();
            auto item = std::make_unique<Def_fix_str>(std::move(name), static_cast<int>(read_uint(1)));
            item->set_encoding(read_encoding());
            item->set_length_expression(read_text());
            return item;
        }
        case code_flex_str_encoded: {
            check(format_ >= additions_format);
            Bcl_str name = read_text();
            auto item = std::make_unique<Def_flex_str>(std::move(name), read_int_size());
            item->set_encoding(read_encoding());
            return item;
        }
        case code_null_str_encoded: {
            check(format_ >= additions_format);
            auto item = std::make_unique<Def_null_str>(read_text());
            item->set_encoding(read_encoding());
            return item;
        }
        case code_float: {
            check(format_ >= additions_format);
            Bcl_str name = read_text();
            const auto size = static_cast<int>(read_uint(1));
            check(is_float_size(size));
            return std::make_unique<Def_float>(std::move(name), size);
        }
        case code_bytes: {
            check(format_ >= additions_format);
            Bcl_str name = read_text();
            return std::make_unique<Def_bytes>(std::move(name), read_text());
        }
        default:
            corrupt();
        }
    }

    Bcl_binaryfile& in_;
    std::uint32_t readable_format_;
    std::uint32_t format_ = format_version;
};

} // namespace

Definition_contents read_definition_file(const File_path& path, std::uint32_t readable_format)
{
    Bcl_binaryfile in;
    in.open_read(path);
    Definition_contents contents;
    Definition_reader reader(in, readable_format);
    reader.read_header(contents);
    reader.read_items(1, [&](std::unique_ptr<Define> item) { contents.items.push_back(std::move(item)); });
    in.close();
    return contents;
}

// ---- the document's definition side ----

void Data_mgr::load_definition(const File_path& path)
{
    const auto length = file_size(path);
    if (!length)
        throw File_open_err_exception(path);
    Definition_contents contents;
    {
        Progress_scope scope(texts::loading(), *length);
        contents = read_definition_file(path);
    }
    // Everything that can fail is behind us: the document changes only from here on.
    // The old tree and the old commands refer to the old items, so they go first.
    root_.reset();
    std::uint64_t released = 0;
    empty_history(definition_undo_, released);
    empty_history(definition_redo_, released);
    items_.clear();
    for (auto& item : contents.items) {
        item->set_parent(nullptr);
        items_.insert(std::move(item), nullptr);
    }
    title_ = std::move(contents.title);
    byte_order_ = contents.byte_order;
    definition_path_ = path;
    definition_modified_ = false;
    analyze();
}

void Data_mgr::save_definition(const File_path& path)
{
    Progress_scope scope(texts::saving(), items_.size());
    write_definition_file(path, title_, byte_order_, items_);
    definition_path_ = path;
    definition_modified_ = false;
}
