// The text report: byte-exact lines of every item kind, the undefined section, the
// data-shortage line, encodings and failures.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "analysis_helpers.h"
#include "document/report.h"
#include "document/undefined_lines.h"
#include "model/limits.h"
#include "support/document_fixture.h"
#include "support/recording_reporter.h"
#include "support/temp_files.h"
#include "toolkit/exception.h"
#include "toolkit/text/number_text.h"

using namespace analysis_test;

namespace {

// The expected report: UTF-8 lines, each stored in Shift-JIS and ended by CR LF.
std::string report_of(std::initializer_list<const char*> utf8_lines)
{
    std::string text;
    for (const char* line : utf8_lines)
        text += Bcl_str::from_utf8(line).bytes() + "\r\n";
    return text;
}

class Report_test : public Document_test {
protected:
    // Writes `data` to a file and returns the report of it by the document's
    // definition, as stored on disk.
    std::string report(const std::string& data)
    {
        std::ofstream(data_path(), std::ios::binary) << data;
        doc().analyze_to_text(File_path(data_path()), File_path(output_path()));
        return file_contents(output_path());
    }
    std::string data_path() const { return temp_path("data.bin"); }
    std::string output_path() const { return temp_path("report.txt"); }
};

} // namespace

TEST_F(Report_test, EmptyDefinitionListsEveryByteUnderUndefined)
{
    EXPECT_EQ(report(std::string("\x41\x00\xFE", 3)),
              report_of({"            未定義",
                         "                未定義",
                         "00000000            [0]    0x41",
                         "00000001            [1]    0x00",
                         "00000002            [2]    0xFE"}));
}

TEST_F(Report_test, EmptyDataWritesOnlyTheTitle)
{
    doc().set_title(sj("表題"));
    EXPECT_EQ(report(""), report_of({"            表題"}));
}

// One integer item over two or four bytes: the value text for each combination.
struct Int_case {
    const char* bytes;
    int size;
    bool is_signed;
    int display;
    Byte_order byte_order;
    const char* text;
};

class Report_int : public Report_test, public ::testing::WithParamInterface<Int_case> {};

TEST_P(Report_int, ValueText)
{
    const Int_case& c = GetParam();
    doc().set_byte_order(c.byte_order);
    define(int_item("n", c.size, c.is_signed, c.display));
    const std::string expected = std::string("            未定義\r\n00000000        n    ") + c.text + "\r\n";
    EXPECT_EQ(Bcl_str(report(std::string(c.bytes, static_cast<std::size_t>(c.size)))).to_utf8(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Report_int,
    ::testing::Values(Int_case{"\xFF\xFE", 2, true, Def_int::decimal, big, "-2"},
                      Int_case{"\xFF\xFE", 2, false, Def_int::decimal, big, "65534"},
                      Int_case{"\xFF\xFE", 2, true, Def_int::hexadecimal, big, "0xFFFE"},
                      Int_case{"\xFF\xFE", 2, true, Def_int::decimal, little, "-257"},
                      Int_case{"\xFF\xFE", 2, false, Def_int::decimal, little, "65279"},
                      Int_case{"\xFF\xFE", 2, false, Def_int::hexadecimal, little, "0xFEFF"},
                      Int_case{"\xFF\xFF\xFF\xFF", 4, false, Def_int::decimal, big, "4294967295"},
                      Int_case{"\xFF\xFF\xFF\xFE", 4, true, Def_int::decimal, big, "-2"},
                      Int_case{"\x80", 1, true, Def_int::decimal, big, "-128"},
                      Int_case{"\x0A", 1, false, Def_int::hexadecimal, big, "0x0A"},
                      Int_case{"\x12\x34\x56\x78", 4, false, Def_int::decimal, little, "2018915346"}));

TEST_F(Report_test, NamedValueReplacesTheNumberAndFlagsFollowOneLevelDeeper)
{
    Def_int* item = with_flag(with_flag(int_item("b", 1, true, Def_int::hexadecimal, "v"), "lo", 3, "low"), "hi", 5);
    item->set_named_values({{-75, sj("負")}});
    item->bit_flags()[1]->set_named_values({{22, sj("二十二")}});
    define(item, int_item("after", 1));
    // 0xB5 is -75 signed: the table's name wins over hexadecimal display.
    EXPECT_EQ(report("\xB5\x07"), report_of({"            未定義",
                                              "00000000        b    負",
                                              "                    lo    5",
                                              "                    hi    二十二",
                                              "00000001        after    7"}));
    EXPECT_EQ(doc().get_variable("v"), -75);
    EXPECT_EQ(doc().get_variable("low"), 5);
}

TEST_F(Report_test, StringLinesSplitAtEveryKindOfLineBreak)
{
    define(fix_str("s", 6), null_str("n"), fix_str("名前", 4));
    EXPECT_EQ(report(std::string("ab\r\ncd" "x\ry\nz\r\n\0" "AB\0C", 18)),
              report_of({"            未定義",
                         "00000000        s    ab",
                         "         cd",  // 4 + 1 + 4 spaces: no 12-column prefix
                         "00000006        n    x",
                         "         y",
                         "         z",
                         "         ",  // a final line break leaves an empty last line
                         "0000000E        名前    AB"}));
}

TEST_F(Report_test, FixedStringTextEndsAtNulButConsumesItsLength)
{
    define(fix_str("s", 4), int_item("i", 1));
    EXPECT_EQ(report(std::string("a\0bc\x09", 5)), report_of({"            未定義",
                                                             "00000000        s    a",
                                                             "00000004        i    9"}));
}

TEST_F(Report_test, FloatLinesShowTheValueTextAndNoneWhenCutShort)
{
    doc().set_byte_order(little);
    define(float_item("f", 4), float_item("d", 8));
    EXPECT_EQ(report(std::string("\x00\x00\x80\xFF\x00\x00\x00", 7)), report_of({"            未定義",
                                                                       "00000000        f    -inf",
                                                                       "00000004        d    ",
                                                                       "            データ不足"}));
}

TEST_F(Report_test, ByteBlockIsOneLineAndMeetsTheShortageAsAFixedString)
{
    define(bytes_item("b", "9"), bytes_item("e", "0"), bytes_item("c", "_rest + 1"), int_item("never", 1));
    EXPECT_EQ(report(std::string("\x89PNG\r\n\x1A\n\x00\x01\x02", 11)),
              report_of({"            未定義", "00000000        b    9 バイト: 89 50 4E 47 0D 0A 1A 0A …",
                         "00000009        e    0 バイト", "00000009        c    3 バイト: 01 02 …", "            データ不足"}));
}

TEST_F(Report_test, EightByteIntegerLineShowsItsValueAndFlags)
{
    doc().set_byte_order(little);
    define(with_flag(with_flag(int_item("u", 8), "low", 63), "top", 1), int_item("s", 8, true),
           int_item("h", 8, false, Def_int::hexadecimal));
    EXPECT_EQ(report(std::string(8, '\xFF') + std::string(7, '\0') + '\x80' + "\x01\x02\x03\x04\x05\x06\x07\x08"),
              report_of({"            未定義",
                         "00000000        u    18446744073709551615",
                         "                    low    9223372036854775807",
                         "                    top    1",
                         "00000008        s    -9223372036854775808",
                         "00000010        h    0x0807060504030201"}));
}

TEST_F(Report_test, LengthPrefixedStringReadsItsPrefixInDocumentOrder)
{
    doc().set_byte_order(little);
    define(flex_str("f", 2), flex_str("e", 1));
    EXPECT_EQ(report(std::string("\x03\x00xyz\x00", 6)), report_of({"            未定義",
                                                                    "00000000        f    xyz",
                                                                    "00000005        e    "}));
}

TEST_F(Report_test, ForLoopWritesHeaderIndexLinesAndChildrenTwoLevelsDeeper)
{
    define(int_item("count", 1, false, Def_int::decimal, "n"), for_loop("L", "n", int_item("v", 1)));
    EXPECT_EQ(report("\x02\x0A\x0B\x0C"), report_of({"            未定義",
                                                      "00000000        count    2",
                                                      "                L",
                                                      "                    [0]",
                                                      "00000001                v    10",
                                                      "                    [1]",
                                                      "00000002                v    11",
                                                      "                未定義",
                                                      "00000003            [0]    0x0C"}));
}

// The index lines count up in place: through every new digit count, each label is
// the index formatted afresh.
TEST_F(Report_test, LoopIndexLabelsCountUpThroughEveryDigitCount)
{
    constexpr int count = 10001;
    doc().set_byte_order(little);
    define(int_item("count", 2, false, Def_int::decimal, "n"), for_loop("L", "n", int_item("v", 1)));
    const std::string data = std::string{static_cast<char>(count & 0xFF), static_cast<char>(count >> 8)} +
                             std::string(count, '\x07');
    std::string expected = report_of({"            未定義", "00000000        count    10001", "                L"});
    for (int i = 0; i < count; ++i) {
        char value_line[64];
        std::snprintf(value_line, sizeof value_line, "%08X                v    7\r\n", static_cast<unsigned>(i + 2));
        expected += "                    " + index_label(static_cast<std::uint64_t>(i)) + "\r\n" + value_line;
    }
    EXPECT_EQ(report(data), expected);
}

TEST_F(Report_test, LoopsThatWriteNothingOrStopAfterAnEmptyIteration)
{
    const std::vector<std::pair<const char*, std::function<Define*()>>> rows = {
        {"count 0", [] { return for_loop("L", "0", int_item("v", 1)); }},
        {"negative count", [] { return for_loop("L", "-3", int_item("v", 1)); }},
        {"false condition", [] { return while_loop("W", "0", int_item("v", 1)); }},
    };
    for (const auto& [label, make] : rows) {
        SCOPED_TRACE(label);
        doc().new_definition();
        define(make());
        EXPECT_EQ(report("\x01"), report_of({"            未定義", "                未定義", "00000000            [0]    0x01"}));
    }
    // A body that consumes nothing runs once: "[0]" and no more.
    doc().new_definition();
    define(for_loop("L", "1000", set_var("x", "x+1")));
    EXPECT_EQ(report(""), report_of({"            未定義", "                L", "                    [0]"}));
    EXPECT_EQ(doc().get_variable("x"), 1);
}

TEST_F(Report_test, WhileLoopEndsWhenItsConditionTurnsFalse)
{
    define(set_var("go", "1"), while_loop("W", "go", int_item("v", 1, false, Def_int::decimal, "go")));
    EXPECT_EQ(report(std::string("\x05\x00\x09", 3)), report_of({"            未定義",
                                                  "                W",
                                                  "                    [0]",
                                                  "00000000                v    5",
                                                  "                    [1]",
                                                  "00000001                v    0",
                                                  "                未定義",
                                                  "00000002            [0]    0x09"}));
}

TEST_F(Report_test, BranchesAndReferencesFollowTheWalk)
{
    auto* branch = new Def_if(sj("k == 1"));
    branch->insert_then_child(std::unique_ptr<Define>(int_item("one", 1)), nullptr);
    branch->insert_else_child(std::unique_ptr<Define>(int_item("other", 1)), nullptr);
    // The first reference comes before its set is registered and writes nothing.
    define(ref("early", "S"), def_set("S", int_item("k", 1, false, Def_int::decimal, "k"), branch), ref("R", "S"),
           ref("R2", "S"));
    EXPECT_EQ(report("\x01\x07\x02\x08"), report_of({"            未定義",
                                                      "                R",
                                                      "00000000            k    1",
                                                      "00000001            one    7",
                                                      "                R2",
                                                      "00000002            k    2",
                                                      "00000003            other    8"}));
}

TEST_F(Report_test, SelfReferencingSetIsBoundedNotACrash)
{
    define(def_set("S", int_item("i", 1), ref("again", "S")), ref("R", "S"));
    const std::string text = report(std::string(100000, '\x01'));
    // Each level writes a header and one integer line; the chain stops at the bound.
    // Title, a header and an integer line per level, then the undefined section.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
              1 + 2 * limits::max_reference_depth + 1 + (100000 - limits::max_reference_depth));
}

TEST_F(Report_test, ReferencesThatReadNothingWriteABoundedReport)
{
    // Two references to the set itself at every level: followed without a bound,
    // this would write 2^256 header lines.
    define(def_set("A", ref("a1", "A"), ref("a2", "A")), ref("top", "A"));
    const std::string text = report(std::string(4, '\x01'));
    const auto lines = std::count(text.begin(), text.end(), '\n');
    EXPECT_GT(lines, limits::max_idle_references);
    EXPECT_LT(lines, 2 * limits::max_idle_references);
}

// The data ends inside an item: its line (if it writes one) and then the shortage
// line, and nothing after it, not even the undefined section.
struct Shortage_case {
    const char* label;
    std::function<Define*()> make;
    std::string data;
    std::vector<const char*> lines;
};

class Report_shortage : public Report_test, public ::testing::WithParamInterface<Shortage_case> {};

TEST_P(Report_shortage, EndsWithTheShortageLine)
{
    const Shortage_case& c = GetParam();
    define(c.make(), int_item("never", 1));
    std::string expected = report_of({"            未定義"});
    for (const char* line : c.lines)
        expected += Bcl_str::from_utf8(line).bytes() + "\r\n";
    expected += report_of({"            データ不足"});
    EXPECT_EQ(report(c.data), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Report_shortage,
    ::testing::Values(
        Shortage_case{"inside_int", [] { return int_item("i", 4); }, "\x01\x02", {"00000000        i    258"}},
        Shortage_case{"int_without_bytes", [] { return int_item("i", 2); }, "", {"00000000        i    0"}},
        Shortage_case{"fixed_string", [] { return fix_str("s", 8); }, "abc", {"00000000        s    abc"}},
        Shortage_case{"prefix_cut", [] { return flex_str("f", 4); }, std::string("\x00\x00", 2), {}},
        // A prefix announcing 4 GiB reads what there is; nothing of the size is allocated.
        Shortage_case{"huge_prefix", [] { return flex_str("f", 4); }, "\xFF\xFF\xFF\xFFxy", {"00000000        f    xy"}},
        Shortage_case{"unterminated", [] { return null_str("z"); }, "ab", {"00000000        z    ab"}},
        Shortage_case{"inside_loop", [] { return for_loop("L", "5", int_item("v", 2)); }, std::string("\x00\x01\x02", 3),
                      {"                L", "                    [0]", "00000000                v    1",
                       "                    [1]", "00000002                v    2"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Report_test, DataEndingAfterTheLastItemHasNoShortageAndNoUndefinedSection)
{
    define(int_item("i", 2));
    EXPECT_EQ(report(std::string("\x00\x01", 2)), report_of({"            未定義", "00000000        i    1"}));
}

TEST_F(Report_test, StartsFromEmptyTablesAndLeavesWhatTheExportSet)
{
    doc().set_variable(Bcl_str("stale"), 9);
    define(for_loop("L", "stale", int_item("v", 1, false, Def_int::decimal, "seen")));
    EXPECT_EQ(report("\x04"), report_of({"            未定義", "                未定義", "00000000            [0]    0x04"}));
    EXPECT_EQ(doc().get_variable("stale"), 0);
    EXPECT_TRUE(doc().tables().variables.values().empty());
}

TEST_F(Report_test, Utf8ModeConvertsEveryLineAndEndsItWithALineFeed)
{
    doc().set_title(sj("題"));
    define(fix_str("名", 2));
    std::ofstream(data_path(), std::ios::binary) << Bcl_str::from_utf8("字").bytes() << '\x01';
    write_report(doc(), File_path(data_path()), File_path(output_path()), Bcl_textfile::Encoding::utf8_lf);
    EXPECT_EQ(file_contents(output_path()),
              "            題\n00000000        名    字\n                未定義\n00000002            [0]    0x01\n");
}

// The undefined section is made a block of bytes at a time, counting the offset
// and the index up in place: across block and read-buffer boundaries, every new
// index digit and a carry through four offset digits, in both encodings, each
// line is what formatting its numbers afresh gives.
TEST_F(Report_test, UndefinedLinesCountUpAcrossBlocksAndDigitCounts)
{
    define(fix_str("head", 3));
    constexpr std::size_t undefined_bytes = 70000;  // offsets 3 ... 0x11172
    std::string data = "abc";
    for (std::size_t i = 0; i < undefined_bytes; ++i)
        data += static_cast<char>(i * 7);
    std::ofstream(data_path(), std::ios::binary) << data;

    for (const auto encoding : {Bcl_textfile::Encoding::shift_jis_crlf, Bcl_textfile::Encoding::utf8_lf}) {
        const bool crlf = encoding == Bcl_textfile::Encoding::shift_jis_crlf;
        const auto in_encoding = [&](const char* utf8) { return crlf ? Bcl_str::from_utf8(utf8).bytes() : utf8; };
        const std::string end = crlf ? "\r\n" : "\n";
        std::string expected = in_encoding("            未定義") + end + "00000000        head    abc" + end +
                               in_encoding("                未定義") + end;
        for (std::size_t i = 0; i < undefined_bytes; ++i) {
            char line[64];
            std::snprintf(line, sizeof line, "%08zX            [%zu]    0x%02X", i + 3, i,
                          static_cast<unsigned>(static_cast<std::uint8_t>(data[i + 3])));
            expected += line + end;
        }
        write_report(doc(), File_path(data_path()), File_path(output_path()), encoding);
        EXPECT_EQ(file_contents(output_path()), expected) << (crlf ? "Shift-JIS" : "UTF-8");
    }
}

// The offset shows its lowest 8 digits, so it turns over from FFFFFFFF to 00000000
// while the index goes on.
TEST(Undefined_lines, OffsetKeepsItsLowestEightDigits)
{
    Undefined_lines lines(0xFFFFFFFEull, "\n");
    const std::uint8_t bytes[] = {0x00, 0x9A, 0xFF};
    EXPECT_EQ(lines.format(bytes), "FFFFFFFE            [0]    0x00\n"
                                   "FFFFFFFF            [1]    0x9A\n"
                                   "00000000            [2]    0xFF\n");
    EXPECT_EQ(lines.format(std::span(bytes, 1)), "00000001            [3]    0x00\n");
}

namespace {

// The lines of a string item at top level, as the report writes them: its text
// (up to a NUL) split at CR LF, CR and LF, the first line after the offset and
// the name, the others aligned under it.
std::string string_lines(std::uint32_t offset, const std::string& name, const std::string& bytes)
{
    const std::string text = bytes.substr(0, bytes.find('\0'));
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%08X", offset);
    std::string lines = std::string(prefix) + "        " + name + "    ";
    const std::string continuation(4 + name.size() + 4, ' ');
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            lines += text[i];
            continue;
        }
        i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        lines += "\r\n" + continuation;
    }
    return lines + "\r\n";
}

} // namespace

// Strings are read a block at a time, where the input's buffer holds them when it
// can: texts longer than a block, line breaks and NULs at and across the edges of
// blocks and of the input's 64 KiB buffer, length prefixes cut by it; each
// string's text is exactly what a line split byte by byte gives.
TEST_F(Report_test, LongStringsAcrossReadBlocksAndTheInputBuffer)
{
    constexpr std::size_t buffer = 65536;
    constexpr std::size_t none = std::string::npos;
    struct Row {
        std::size_t pad;        // bytes of the counted string before the others
        std::size_t fixed;      // length of the fixed string that follows (at most 255)
        std::size_t counted;    // length of the counted string after it
        std::size_t break_at;   // where a CR LF pair starts in each text that has room
        std::size_t nul_at;     // where both texts end (none: no NUL)
    };
    const Row rows[] = {
        {10, 200, 600, 255, none},  // CR ends a 256-byte block, LF starts the next
        {10, 200, 600, 198, 511},   // the pair ends the fixed text; a NUL ends a block
        {buffer - 2 - 100, 200, 600, 99, none},       // the fixed text's CR LF across the buffer
        {buffer - 2 - 200 - 1, 200, 600, 1, 300},     // the length prefix cut by the buffer
        {buffer - 2 - 200 - 2 - 300, 200, 600, 299, none},  // the counted text's CR LF across it
    };
    for (const Row& row : rows) {
        doc().new_definition();
        doc().set_byte_order(little);
        define(flex_str("pad", 2), fix_str("t", static_cast<int>(row.fixed)), flex_str("f", 2));
        const auto text = [&](std::size_t length) {
            std::string bytes;
            for (std::size_t i = 0; i < length; ++i)
                bytes += static_cast<char>('a' + i % 26);
            if (row.break_at + 2 <= length)
                bytes.replace(row.break_at, 2, "\r\n");
            if (row.nul_at < length)
                bytes[row.nul_at] = '\0';
            return bytes;
        };
        const auto counted = [](const std::string& bytes) {
            return std::string{static_cast<char>(bytes.size() & 0xFF), static_cast<char>(bytes.size() >> 8)} + bytes;
        };
        const std::string pad(row.pad, 'p');
        const std::string fixed = text(row.fixed);
        const std::string last = text(row.counted);
        const std::size_t fixed_at = 2 + pad.size();
        const std::string expected = report_of({"            未定義"}) + string_lines(0, "pad", pad) +
                                     string_lines(static_cast<std::uint32_t>(fixed_at), "t", fixed) +
                                     string_lines(static_cast<std::uint32_t>(fixed_at + fixed.size()), "f", last);
        EXPECT_EQ(report(counted(pad) + fixed + counted(last)), expected) << "pad " << row.pad;
    }
}

// A counted or fixed string of up to 8 bytes is looked at and copied as one word
// when nothing in it needs a byte-by-byte look. At every length up to one past
// that, a NUL, a line break or a byte near them in value at every place; the bytes
// after the text, which the word covers too, full of them; and the same strings
// at the end of the data, where fewer than 8 bytes are left: the lines are what
// splitting byte by byte gives.
TEST_F(Report_test, ShortTextsWithEveryKindOfByteAtEveryPlace)
{
    const std::string after("\r\n\0\x01\x8D" "a\nb", 8);
    for (int length = 0; length <= 9; ++length) {
        for (const char special : {'\0', '\r', '\n', '\x01', '\x0B', '\x8A', '\x8D', '\xFF'}) {
            for (int at = 0; at < std::max(length, 1); ++at) {
                std::string text(static_cast<std::size_t>(length), 'x');
                if (at < length)
                    text[static_cast<std::size_t>(at)] = special;
                const std::string data = std::string(1, static_cast<char>(length)) + text + text;
                const auto t_at = static_cast<std::uint32_t>(1 + length);
                const std::string lines = report_of({"            未定義"}) + string_lines(0, "f", text) +
                                          string_lines(t_at, "t", text);
                SCOPED_TRACE("length " + std::to_string(length) + ", byte " +
                             std::to_string(static_cast<unsigned char>(special)) + " at " + std::to_string(at));

                doc().new_definition();
                define(flex_str("f", 1), fix_str("t", length), fix_str("z", 8));
                EXPECT_EQ(report(data + after), lines + string_lines(t_at + static_cast<std::uint32_t>(length), "z", after));
                doc().new_definition();
                define(flex_str("f", 1), fix_str("t", length));
                EXPECT_EQ(report(data), lines);
            }
        }
    }
}

// Lines are built in place in the output's buffer. Many lines with Shift-JIS text
// (some cut by the buffer's end), one line far longer than the buffer and the
// undefined section: the UTF-8 report is the Shift-JIS one converted line by line.
TEST_F(Report_test, Utf8ReportIsTheShiftJisReportConvertedLineByLine)
{
    define(for_loop("表", "3000", fix_str("名前", 5), int_item("値", 1)));
    define(null_str("長い"));
    const std::string character = Bcl_str::from_utf8("字").bytes();
    std::string data;
    for (int i = 0; i < 3000; ++i)
        data += character + character + static_cast<char>('a' + i % 26) + static_cast<char>(i);
    std::string long_text;
    for (int i = 0; i < 50000; ++i)
        long_text += character;
    data += long_text + '\0' + "\x01\x02";
    std::ofstream(data_path(), std::ios::binary) << data;

    write_report(doc(), File_path(data_path()), File_path(output_path()), Bcl_textfile::Encoding::shift_jis_crlf);
    const std::string sjis = file_contents(output_path());
    write_report(doc(), File_path(data_path()), File_path(output_path()), Bcl_textfile::Encoding::utf8_lf);
    const std::string utf8 = file_contents(output_path());

    std::string converted;
    std::size_t long_lines = 0;
    for (std::size_t start = 0; start < sjis.size();) {
        const std::size_t end = sjis.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = sjis.substr(start, end - start);
        long_lines += line.find(long_text) != std::string::npos;
        converted += Bcl_str(line).to_utf8() + "\n";
        start = end + 2;
    }
    EXPECT_EQ(long_lines, 1u);
    EXPECT_EQ(utf8, converted);
}

TEST_F(Report_test, ProgressRunsOverTheDataFileSize)
{
    Recording_reporter recording;
    (void)report(std::string(1000, 'x'));
    ASSERT_FALSE(recording.texts.empty());
    EXPECT_EQ(recording.texts.front(), "解析・保存しています・・・");
    EXPECT_EQ(recording.texts.back(), "");
    EXPECT_EQ(recording.begins, std::vector<std::uint64_t>{1000});
    EXPECT_EQ(recording.percents.back(), 100);
}

TEST_F(Report_test, UnreadableDataFailsBeforeTheOutputIsCreated)
{
    try {
        doc().analyze_to_text(File_path(temp_path("missing.bin")), File_path(output_path()));
        FAIL() << "no exception";
    } catch (const File_open_err_exception& e) {
        EXPECT_EQ(e.path(), File_path(temp_path("missing.bin")));
    }
    EXPECT_FALSE(std::filesystem::exists(output_path()));

    std::ofstream(data_path()) << "x";
    try {
        doc().analyze_to_text(File_path(data_path()), File_path(temp_path("no/folder/out.txt")));
        FAIL() << "no exception";
    } catch (const File_open_err_exception& e) {
        EXPECT_EQ(e.path(), File_path(temp_path("no/folder/out.txt")));
    }
}

TEST_F(Report_test, ReportThatDoesNotFitIsAFailureAndKeepsTheOldFile)
{
    std::ofstream(output_path()) << "keep";
    std::ofstream(data_path(), std::ios::binary) << std::string(20000, 'x');
    struct rlimit old_limit{};
    ::getrlimit(RLIMIT_FSIZE, &old_limit);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old_limit;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(doc().analyze_to_text(File_path(data_path()), File_path(output_path())), File_write_err_exception);
    ::setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(file_contents(output_path()), "keep");
}
