// The text report: every item kind's write_analysis and the driver. Each item reads
// its bytes from the data file as it goes and writes its lines at once.
//
// Line layout: a value line starts with the offset of its first byte as 8
// upper-case hexadecimal digits and 4 spaces, every other line with 12 spaces, so
// indentation (4 spaces per level) always starts at column 13.
#include "document/report.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "document/data_mgr.h"
#include "document/undefined_lines.h"
#include "engine/builtin_names.h"
#include "engine/expression.h"
#include "engine/string_length.h"
#include "model/cmp_bytes.h"
#include "model/cmp_str.h"
#include "model/float_value.h"
#include "model/int_decoder.h"
#include "model/items.h"
#include "model/walk_context.h"
#include "toolkit/files/bcl_binaryfile.h"
#include "toolkit/exception.h"
#include "toolkit/files/file_io.h"
#include "toolkit/text/number_text.h"
#include "toolkit/text/text_encoding.h"
#include "toolkit/progress.h"
#include "toolkit/memory/small_copy.h"
#include "toolkit/text/texts.h"

namespace {

constexpr std::string_view blank_prefix = "            ";  // 12 spaces
constexpr std::string_view after_name = "    ";
constexpr int spaces_per_level = 4;
// Room asked for with a line's start: the longest number a value line shows.
constexpr std::size_t max_value_chars = max_number_chars;

// The line being built, in place in the output's buffer: building and writing a
// line copies each piece once and allocates nothing. One line is built at a time,
// and nothing else is written meanwhile.
class Line {
public:
    explicit Line(Bcl_textfile& out) : out_(out) {}
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    // The start of an item's line: the offset of its first byte (or blanks), the
    // indent, the name and `gap`. It takes one request for room, which leaves room
    // for the value after it, and one copy of each run of spaces.
    Line& head_at(std::uint64_t offset, int indent, std::string_view name)
    {
        // The offset's lowest 8 digits.
        put_eight_hex_digits(start(indent, name, after_name), static_cast<std::uint32_t>(offset));
        return *this;
    }
    Line& head(int indent, std::string_view name, std::string_view gap = after_name)
    {
        start(indent, name, gap);
        return *this;
    }
    // The start of a loop's index line: blanks, the indent and "[index]". The
    // label is made afresh from the number in a register: a label kept in memory
    // and changed a byte at a time would be read back before those bytes settle,
    // which stalls behind the output's stores.
    Line& index_head(int indent, std::uint64_t index)
    {
        start(indent, {}, {});
        return put(max_index_label_chars, [index](char* at) { return put_index_label(at, index); });
    }
    Line& blank() { return add(blank_prefix); }
    Line& spaces(std::size_t count)
    {
        fill_spaces(room(count), count);
        length_ += count;
        return *this;
    }
    Line& add(std::string_view bytes)
    {
        copy_small(room(bytes.size()), bytes.data(), bytes.size());
        length_ += bytes.size();
        return *this;
    }
    Line& add(char c)
    {
        *room(1) = c;
        ++length_;
        return *this;
    }
    // The value text of an integer item's bits, or of a flag's field. Numbers are
    // written straight into the line: copying them from a scratch buffer would
    // read back bytes just stored in smaller pieces, which stalls.
    Line& int_text(const Def_int& item, std::uint64_t bits)
    {
        if (const Bcl_str* meaning = int_meaning(item, bits))
            return add(meaning->view());
        return put(sizeof(Number_room::text),
                   [&](char* at) { return put_int_number(at, item, int_format(item), bits); });
    }
    Line& flag_text(const Def_bitflag& flag, std::uint64_t field, bool wide)
    {
        if (const Bcl_str* meaning = flag_meaning(flag, field, wide))
            return add(meaning->view());
        return put(sizeof(Number_room::text), [field](char* at) { return put_flag_number(at, field); });
    }
    // The first `count` bytes of `bytes` (at most 8, in memory order) where the room
    // has 8 bytes, as after a line's start: one store, whatever the count.
    Line& add_word(std::uint64_t bytes, std::size_t count)
    {
        std::memcpy(room(sizeof bytes), &bytes, sizeof bytes);
        length_ += count;
        return *this;
    }
    // Writes the line and starts the next one empty.
    void write()
    {
        out_.end_line(room_, length_);
        length_ = 0;
        room_ = {};
    }
    // The same with text that Shift-JIS may not hold after the line's bytes: as
    // itself in the UTF-8 mode, else with its replacements.
    void write_with_utf8(std::string_view utf8)
    {
        if (!out_.utf8()) {
            add(shift_jis_with_replacement(utf8).view());
            write();
            return;
        }
        out_.end_line_with_utf8(length_, utf8);
        length_ = 0;
        room_ = {};
    }

private:
    // Up to `most` bytes that `write_at(at)` writes at `at`, returning their end.
    template <typename Write_at>
    Line& put(std::size_t most, Write_at write_at)
    {
        char* const at = room(most);
        length_ += static_cast<std::size_t>(write_at(at) - at);
        return *this;
    }
    static void fill_spaces(char* at, std::size_t count)
    {
        // Indentation is mostly short: a copy of constant spaces costs no call.
        static constexpr std::string_view many_spaces = "                                                                ";
        if (count <= many_spaces.size())
            copy_small(at, many_spaces.data(), count);
        else
            std::memset(at, ' ', count);
    }
    // The same where the room has at least max_value_chars bytes after `count`: a
    // short run is one copy of a constant size, the bytes after it overwritten by
    // what follows.
    static void fill_spaces_before_more(char* at, std::size_t count)
    {
        static_assert(max_value_chars >= 32);
        static constexpr std::string_view spaces = "                                ";  // 32
        if (count <= spaces.size())
            std::memcpy(at, spaces.data(), spaces.size());
        else
            fill_spaces(at, count);
    }
    // Writes the blank prefix, the indent, `name` and `gap`; returns where the
    // prefix starts. Inline at every line start (the compiler would otherwise
    // weigh it against the rest of a long caller): its pieces' sizes are mostly
    // constants there.
    [[gnu::always_inline]] char* start(int indent, std::string_view name, std::string_view gap)
    {
        const std::size_t spaces = blank_prefix.size() + static_cast<std::size_t>(indent) * spaces_per_level;
        const std::size_t length = spaces + name.size() + gap.size();
        // A line's start is its first piece: its room is asked for at once.
        room_ = out_.line_room(length_, length + max_value_chars);
        char* const at = room_.data() + length_;
        fill_spaces_before_more(at, spaces);
        copy_small(at + spaces, name.data(), name.size());
        copy_small(at + spaces + name.size(), gap.data(), gap.size());
        length_ += length;
        return at;
    }
    // Where the next `count` bytes go. A written line leaves no room behind, so the
    // room is asked for afresh at a line's first piece, as other lines may have
    // been written since this one's last.
    char* room(std::size_t count)
    {
        if (count > room_.size() - length_)
            room_ = out_.line_room(length_, count);
        return room_.data() + length_;
    }

    Bcl_textfile& out_;
    std::span<char> room_;
    std::size_t length_ = 0;
};

Walk_tables& tables() { return walk_context().tables(); }

// Where the report's walk stands: at the input's offset into the data file.
Expression_place place_in(const Bcl_binaryfile& in)
{
    return {in.offset(), in.size(), walk_context().builtins()};
}

// The items one after another, the progress told after each.
void write_items(Item_span items, Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    Progress_reporter& progress = reporter();
    for (Define* item : items) {
        item->write_analysis(in, out, indent);
        progress.step(in.offset());
        progress.stop_point();
    }
}

// The same for a loop's iteration, which tells the progress once at its end: a
// report of small records would otherwise spend a share of its time on it.
void write_iteration(Item_span items, Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    for (Define* item : items)
        item->write_analysis(in, out, indent);
}

// Reads `width` bytes as an unsigned number in `order`, a byte at a time across the
// input's buffer refills; `got` tells how many bytes there were. Missing bytes
// contribute nothing.
std::uint64_t read_number_byte_by_byte(Bcl_binaryfile& in, int width, Byte_order order, int& got)
{
    return read_int_bits(width, order, [&in](std::uint8_t& byte) { return in.read_byte(byte); }, got);
}

// The same in the document's byte order. Mostly the input's buffer holds all the
// bytes: one check for them all, and the rare case out of line.
inline std::uint64_t read_number(Bcl_binaryfile& in, int width, int& got)
{
    const Byte_order order = walk_context().byte_order();
    if (const std::uint8_t* bytes = in.take(static_cast<std::size_t>(width))) {
        got = width;
        return load_int_bits(bytes, width, order);
    }
    return read_number_byte_by_byte(in, width, order, got);
}

// A string value's lines, written as its bytes arrive: the first after the item's
// prefix and name, each further one as a continuation line aligned under the
// first line's text. Lines are separated by CR LF, a lone CR or a lone LF. Only the
// line being built is held in memory, however long the string.
class Text_lines {
public:
    Text_lines(Bcl_textfile& out, std::uint64_t offset, int indent, const Bcl_str& name)
        : line_(out), indent_(indent), name_(name)
    {
        line_.head_at(offset, indent_, name_.view());
    }

    // Bytes without a line break, the common case, go in at once.
    void add(std::span<const std::uint8_t> bytes)
    {
        if (std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte == '\r' || byte == '\n'; })) {
            for (const std::uint8_t byte : bytes)
                add(byte);
            return;
        }
        after_cr_ = false;
        line_.add(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    void add(std::uint8_t byte)
    {
        if (byte == '\r') {
            end_line();
            after_cr_ = true;
            return;
        }
        const bool second_half_of_crlf = after_cr_ && byte == '\n';
        after_cr_ = false;
        if (second_half_of_crlf)
            return;
        if (byte == '\n')
            end_line();
        else
            line_.add(static_cast<char>(byte));
    }
    // Writes the last line (the first line too when the text is empty).
    void finish() { line_.write(); }

private:
    void end_line()
    {
        line_.write();
        line_.spaces(static_cast<std::size_t>(indent_) * spaces_per_level + name_.size() + after_name.size());
    }

    Line line_;
    int indent_;
    const Bcl_str& name_;
    bool after_cr_ = false;
};

// The lines of a string in another encoding than Shift-JIS, as Text_lines writes
// them, from its text decoded to UTF-8: a line's text is held until its end.
class Decoded_lines {
public:
    Decoded_lines(Bcl_textfile& out, std::uint64_t offset, int indent, const Bcl_str& name)
        : line_(out), indent_(indent), name_(name)
    {
        line_.head_at(offset, indent_, name_.view());
    }

    void add(std::string_view utf8)
    {
        for (const char c : utf8) {
            const bool second_half_of_crlf = after_cr_ && c == '\n';
            after_cr_ = c == '\r';
            if (second_half_of_crlf)
                continue;
            if (c == '\r' || c == '\n')
                end_line();
            else
                text_ += c;
        }
    }
    void finish() { line_.write_with_utf8(text_); }

private:
    void end_line()
    {
        line_.write_with_utf8(text_);
        text_.clear();
        line_.spaces(static_cast<std::size_t>(indent_) * spaces_per_level + name_.size() + after_name.size());
    }

    Line line_;
    int indent_;
    const Bcl_str& name_;
    std::string text_;
    bool after_cr_ = false;
};

struct Decoded_read {
    std::uint64_t got = 0;
    bool terminated = false;
};

// Reads up to `count` bytes of a string in `encoding` a code unit at a time and
// writes its lines; the text ends at the first NUL unit. With `stop_at_nul` the
// read ends after that unit (and says so), else it goes on to `count` bytes. A unit
// cut short by `count` or the end of the data is shown as stand-ins.
Decoded_read write_decoded_text(Bcl_binaryfile& in, Bcl_textfile& out, std::uint64_t offset, int indent,
                                const Def_string& item, std::uint64_t count, bool stop_at_nul)
{
    const Text_encoding encoding = item.encoding();
    const int unit = code_unit_size(encoding);
    Decoded_lines lines(out, offset, indent, item.name());
    Text_decoder decoder(encoding);
    std::string block;
    std::string utf8;
    const auto flush = [&] {
        decoder.decode(block, utf8);
        lines.add(utf8);
        block.clear();
        utf8.clear();
    };
    Decoded_read read;
    bool ended = false;
    while (read.got < count) {
        std::uint8_t bytes[2] = {1, 1};
        int n = 0;
        while (n < unit && read.got < count && in.read_byte(bytes[n])) {
            ++n;
            ++read.got;
        }
        const bool nul = n == unit && bytes[0] == 0 && bytes[unit - 1] == 0;
        if (nul && stop_at_nul) {
            read.terminated = true;
            break;
        }
        ended = ended || nul;
        if (!ended)
            block.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
        if (block.size() >= 256)
            flush();
        if (n < unit)
            break;
    }
    flush();
    decoder.finish(utf8);
    lines.add(utf8);
    lines.finish();
    return read;
}

// Whether the first `count` bytes of `word` (at most 8, in memory order) hold a NUL,
// a CR or an LF. Each test marks the lowest byte that matches exactly; marks above
// it may be wrong, but then the text has a match anyway.
bool has_nul_or_line_break(std::uint64_t word, std::size_t count)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    const auto zero_bytes = [](std::uint64_t v) { return (v - ones) & ~v & (ones << 7); };
    const std::uint64_t marks = zero_bytes(word) | zero_bytes(word ^ (ones * '\r')) | zero_bytes(word ^ (ones * '\n'));
    const std::uint64_t in_text = count == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * count)) - 1;
    return (marks & in_text) != 0;
}

// A text of at most 8 bytes with no NUL and no line break, which the input's buffer
// holds with the word it starts, goes in the item's one line at once: one load to
// look at it and one store to copy it, however long. Strings in records are mostly
// like that, and looking at their bytes one by one costs a mispredicted branch or
// two where the length changes from one record to the next. Returns false, having
// consumed nothing, for any other text.
bool write_short_plain_text(Bcl_binaryfile& in, Bcl_textfile& out, std::uint64_t offset, int indent,
                            std::string_view name, std::uint64_t length)
{
    constexpr std::size_t word_bytes = 8;
    if constexpr (std::endian::native != std::endian::little)
        return false;
    if (length > word_bytes)
        return false;
    const std::uint8_t* const bytes = in.peek(word_bytes);
    if (!bytes)
        return false;
    std::uint64_t word;
    std::memcpy(&word, bytes, word_bytes);
    if (has_nul_or_line_break(word, static_cast<std::size_t>(length)))
        return false;
    in.take(static_cast<std::size_t>(length));
    Line(out).head_at(offset, indent, name).add_word(word, static_cast<std::size_t>(length)).write();
    return true;
}

// Feeds up to `count` bytes to `lines`, the text ending at the first NUL (the
// bytes after it are consumed but not shown). Returns how many bytes were read.
// The bytes come a block at a time: a short text is one read and one piece.
std::uint64_t read_text_bytes(Bcl_binaryfile& in, std::uint64_t count, Text_lines& lines)
{
    std::uint8_t block[256];
    bool ended = false;
    std::uint64_t read = 0;
    while (read < count) {
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(count - read, sizeof block));
        // The bytes are used where they lie when the input's buffer holds them all.
        const std::uint8_t* bytes = in.take(wanted);
        std::size_t got = wanted;
        if (!bytes) {
            got = in.read(block, wanted);
            bytes = block;
        }
        read += got;
        if (!ended) {
            // (A loop, not memchr: the texts are mostly a few bytes, which a call costs more than.)
            const std::uint8_t* const nul = std::find(bytes, bytes + got, 0);
            ended = nul != bytes + got;
            lines.add({bytes, static_cast<std::size_t>(nul - bytes)});
        }
        if (got < wanted)
            break;
    }
    return read;
}

} // namespace

void Def_int::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    const std::uint64_t offset = in.offset();
    int got = 0;
    const std::uint64_t raw = read_number(in, int_width(*this), got);
    Line line(out);
    line.head_at(offset, indent, name().view()).int_text(*this, raw).write();
    if (got < int_width(*this))
        throw Data_shortage{};

    Variable_table& variables = tables().variables;
    if (!variable().empty())
        variables.set(variable(), int_binding(*this, raw));
    const bool wide = is_wide_int(int_width(*this));
    Flag_fields fields(raw);
    for (const auto& flag : bit_flags()) {
        const std::uint64_t field = fields.of(*flag);
        line.head(indent + 1, flag->name().view()).flag_text(*flag, field, wide).write();
        if (!flag->variable().empty())
            variables.set(flag->variable(), flag_binding(*this, field));
        fields.pass(*flag);
    }
}

// A flag's line needs its integer's value: Def_int writes it.
void Def_bitflag::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) {}

// A number cut short by the end of the data gets its line without a value, as its
// component in the tree has none.
void Def_float::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    const std::uint64_t offset = in.offset();
    const int width = float_width(*this);
    std::uint8_t bytes[8];
    int got = 0;
    while (got < width && in.read_byte(bytes[got]))
        ++got;
    Line line(out);
    line.head_at(offset, indent, name().view());
    if (got == width)
        line.add(float_text(load_float_bits(bytes, width, walk_context().byte_order()), width));
    line.write();
    if (got < width)
        throw Data_shortage{};
}

void Def_bytes::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    const std::uint64_t offset = in.offset();
    const std::int64_t wanted = evaluate_count(length().view(), tables().variables, place_in(in));
    const auto count = static_cast<std::uint64_t>(wanted > 0 ? wanted : 0);
    std::uint8_t first[bytes_shown];
    std::uint64_t got = in.read(first, static_cast<std::size_t>(std::min<std::uint64_t>(count, bytes_shown)));
    Line(out)
        .head_at(offset, indent, name().view())
        .add(bytes_text(count, {first, static_cast<std::size_t>(got)}).view())
        .write();
    // The rest streams past: a block may be as long as the data.
    std::uint8_t skipped[4096];
    for (std::size_t read = 1; got < count && read != 0; got += read) {
        read = in.read(skipped, static_cast<std::size_t>(std::min<std::uint64_t>(count - got, sizeof skipped)));
        reporter().step(in.offset());
        reporter().stop_point();
    }
    if (got < count)
        throw Data_shortage{};
}

void Def_fix_str::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    const std::uint64_t offset = in.offset();
    const std::uint64_t wanted = fixed_string_length(*this, tables().variables, place_in(in));
    if (encoding() != Text_encoding::shift_jis) {
        if (write_decoded_text(in, out, offset, indent, *this, wanted, false).got < wanted)
            throw Data_shortage{};
        return;
    }
    if (write_short_plain_text(in, out, offset, indent, name().view(), wanted))
        return;
    Text_lines lines(out, offset, indent, name());
    const std::uint64_t got = read_text_bytes(in, wanted, lines);
    lines.finish();
    if (got < wanted)
        throw Data_shortage{};
}

void Def_flex_str::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    const std::uint64_t offset = in.offset();
    int got_prefix = 0;
    const auto length = static_cast<std::uint32_t>(read_number(in, prefix_width(*this), got_prefix));
    if (got_prefix < prefix_width(*this))
        throw Data_shortage{};
    // The announced length is never allocated: the text streams through line by
    // line, and the read stops where the input ends.
    if (encoding() != Text_encoding::shift_jis) {
        if (write_decoded_text(in, out, offset, indent, *this, length, false).got < length)
            throw Data_shortage{};
        return;
    }
    if (write_short_plain_text(in, out, offset, indent, name().view(), length))
        return;
    Text_lines lines(out, offset, indent, name());
    const std::uint64_t got = read_text_bytes(in, length, lines);
    lines.finish();
    if (got < length)
        throw Data_shortage{};
}

void Def_null_str::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    if (encoding() != Text_encoding::shift_jis) {
        if (!write_decoded_text(in, out, in.offset(), indent, *this, UINT64_MAX, true).terminated)
            throw Data_shortage{};
        return;
    }
    Text_lines lines(out, in.offset(), indent, name());
    std::uint8_t byte;
    bool terminated = false;
    while (in.read_byte(byte)) {
        if (byte == 0) {
            terminated = true;
            break;
        }
        lines.add(byte);
    }
    lines.finish();
    if (!terminated)
        throw Data_shortage{};
}

void Def_if::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    const bool then_branch = evaluate_condition(condition().view(), tables().variables, place_in(in));
    const Walk_bounds::Level level(tables().bounds);
    write_items(then_branch ? then_children() : else_children(), in, out, indent);
}

namespace {

// The loop body shared by For and While: the header, then per iteration an index
// line and the children, while `more(i)` holds and every iteration consumed bytes.
template <typename More>
void write_loop(const Define& loop, Item_span children, Bcl_binaryfile& in, Bcl_textfile& out, int indent,
                More more)
{
    const Walk_bounds::Level level(tables().bounds);
    Line(out).head(indent, loop.name().view(), {}).write();
    Progress_reporter& progress = reporter();
    std::uint64_t previous_start = 0;
    for (std::uint64_t i = 0; i == 0 || more(i); ++i) {
        const std::uint64_t start = in.offset();
        if (i > 0 && start == previous_start)
            break;
        previous_start = start;
        Line(out).index_head(indent + 1, i).write();
        write_iteration(children, in, out, indent + 2);
        progress.step(in.offset());
        progress.stop_point();
    }
}

} // namespace

void Def_for::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    const std::int64_t count = evaluate_count(this->count().view(), tables().variables, place_in(in));
    if (count < 1)
        return;
    write_loop(*this, children(), in, out, indent,
               [&](std::uint64_t i) { return i < static_cast<std::uint64_t>(count); });
}

void Def_while::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    const Variable_table& variables = tables().variables;
    if (!evaluate_condition(condition().view(), variables, place_in(in)))
        return;
    write_loop(*this, children(), in, out, indent,
               [&](std::uint64_t) { return evaluate_condition(condition().view(), variables, place_in(in)); });
}

void Def_set_variable::write_analysis(Bcl_binaryfile& in, Bcl_textfile&, int)
{
    Variable_table& variables = tables().variables;
    variables.set(variable(), evaluate_value(value().view(), variables, place_in(in)));
}

void Def_def_set::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int)
{
    tables().definition_sets.add(name(), this);
}

void Def_def_ref::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent)
{
    Def_def_set* set = tables().definition_sets.find(target().view());
    if (!set || !tables().bounds.reference_allowed(in.offset()))
        return;
    const Walk_bounds::Level level(tables().bounds, true);
    Line(out).head(indent, name().view(), {}).write();
    write_items(set->children(), in, out, indent + 1);
}

// The undefined section has a fixed layout and takes no indent. It is a line per
// remaining byte, so its lines are made a block of bytes at a time.
void Def_nodef::write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int)
{
    std::uint8_t block[Undefined_lines::block_bytes];
    std::size_t count = in.read(block, sizeof block);
    if (count == 0)
        return;
    Line(out).spaces(16).add(texts::undefined().view()).write();
    Undefined_lines lines(in.offset() - count, out.line_end());
    do {
        out.write_ascii_lines(lines.format({block, count}));
        reporter().step(in.offset());
        reporter().stop_point();
        count = in.read(block, sizeof block);
    } while (count != 0);
}

namespace {

// The report of `data_path` into the text file that `open_output` opens, once the
// data file is known to be readable. The items walk with the document's tables.
template <typename Open_output>
void write_report_with(Data_mgr& document, const File_path& data_path, Open_output open_output)
{
    const auto size = file_size(data_path);
    if (!size)
        throw File_open_err_exception(data_path);
    Progress_scope scope(texts::analysing_saving(), *size);
    Bcl_binaryfile in;
    in.open_read(data_path);
    Bcl_textfile out;
    open_output(out);
    // Leaving by an exception (a failure, or the user's stop at any of the report's
    // stop points) destroys `out` unclosed, which keeps the old output.

    document.tables().start();
    document.set_builtins(builtin_names_of(document.mutable_definition_items()));
    Line(out).blank().add(document.title().view()).write();
    try {
        write_items(document.mutable_definition_items(), in, out, 1);
        document.undefined_item().write_analysis(in, out, 0);
    } catch (const Data_shortage&) {
        Line(out).blank().add(texts::data_shortage().view()).write();
    }
    out.close();
    in.close();
}

// The report must not overwrite what it reads, nor the definition it was made by.
void refuse_inputs(const Data_mgr& document, const File_path& output,
                   const std::optional<File_identity>& output_identity, const File_path& data_path)
{
    refuse_same_file(output, output_identity, data_path);
    if (!document.definition_path().empty())
        refuse_same_file(output, output_identity, document.definition_path());
}

} // namespace

void write_report(Data_mgr& document, const File_path& data_path, const File_path& output_path,
                  Bcl_textfile::Encoding encoding)
{
    write_report_with(document, data_path, [&](Bcl_textfile& out) {
        refuse_inputs(document, output_path, identity_of(output_path), data_path);
        out.open_write(output_path, encoding);
    });
}

void write_report_to_standard_output(Data_mgr& document, const File_path& data_path, const File_path& output_name,
                                     Bcl_textfile::Encoding encoding)
{
    write_report_with(document, data_path, [&](Bcl_textfile& out) {
        refuse_inputs(document, output_name, identity_of(STDOUT_FILENO), data_path);
        out.open_standard_output(output_name, encoding);
    });
}

void Data_mgr::analyze_to_text(const File_path& data_path, const File_path& output_path)
{
    write_report(*this, data_path, output_path);
}
