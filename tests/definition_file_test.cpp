// The "*.kxd" definition file: byte-exact records, the reader's checks, nesting
// bounds, refused saves and the document's load and save.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "document/data_mgr.h"
#include "document/definition_file.h"
#include "document/process.h"
#include "model/items.h"
#include "model/limits.h"
#include "support/document_fixture.h"
#include "support/temp_files.h"
#include "toolkit/exception.h"
#include "toolkit/text/texts.h"

namespace {

using bytes = std::string;

bytes sjis(const char* utf8) { return Bcl_str::from_utf8(utf8).bytes(); }

bytes str(const bytes& text) { return bytes(1, static_cast<char>(text.size())) + text; }

// A header with the given title and byte order, before the top-level count.
bytes header(const bytes& title = "T", char byte_order = 0)
{
    return bytes("KXD\x00\x64\x00\x64", 7) + str(title) + byte_order;
}

bytes u16(unsigned v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }

class Definition_file_test : public Document_test {
protected:
    std::string path(const char* name = "def.kxd") const { return temp_path(name); }

    // Writes `items` (taking ownership) and returns the file's bytes.
    bytes save(std::initializer_list<Define*> items, const bytes& title = "T", Byte_order byte_order = Byte_order::big_endian)
    {
        Item_list list;
        for (Define* item : items)
            list.insert(std::unique_ptr<Define>(item), nullptr);
        write_definition_file(File_path(path()), Bcl_str(title), byte_order, list);
        return file_contents(path());
    }

    Definition_contents load(const bytes& file)
    {
        write_file(path(), file);
        return read_definition_file(File_path(path()));
    }

    std::size_t files_in_folder() const
    {
        const auto folder = std::filesystem::path(path()).parent_path();
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
    }
};

Def_int* int_item(const char* name, bool is_signed, int size, int display, const char* variable)
{
    return new Def_int(Bcl_str(name), is_signed, size, display, Bcl_str(variable));
}

} // namespace

TEST_F(Definition_file_test, EmptyDefinitionIsSeventeenBytes)
{
    doc().save_definition(File_path(path()));
    const bytes expected = bytes("KXD\x00\x64\x00\x64\x06", 8) + sjis("未定義") + bytes("\x00\x00\x00", 3);
    ASSERT_EQ(expected.size(), 17u);
    EXPECT_EQ(file_contents(path()), expected);
    EXPECT_EQ(doc().definition_path(), File_path(path()));
    EXPECT_FALSE(doc().is_definition_modified());
}

// Each kind's record, field by field, as the only top-level item.
struct Record_case {
    const char* label;
    std::function<Define*()> make;
    bytes record;
};

class Record_layout : public Definition_file_test, public ::testing::WithParamInterface<Record_case> {};

TEST_P(Record_layout, WritesFieldsInOrderAndReadsThemBack)
{
    const Record_case& c = GetParam();
    const bytes file = save({c.make()});
    EXPECT_EQ(file, header() + u16(1) + c.record);

    // Reading and writing again gives the same bytes: every field came back.
    Definition_contents back = load(file);
    ASSERT_EQ(back.items.size(), 1u);
    Item_list list;
    list.insert(std::move(back.items[0]), nullptr);
    write_definition_file(File_path(path("again.kxd")), back.title, back.byte_order, list);
    EXPECT_EQ(file_contents(path("again.kxd")), file);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, Record_layout,
    ::testing::Values(
        Record_case{"int_named_values_in_signed_order",
                    [] {
                        Def_int* item = int_item("n", true, 2, Def_int::hexadecimal, "v");
                        item->set_named_values({{5, Bcl_str("five")}, {-1, Bcl_str("neg")}});
                        return item;
                    },
                    bytes("\x00\x01n\x01\x02\x01\x01v\x02"
                          "\xFF\xFF\xFF\xFF\x03neg"
                          "\x00\x00\x00\x05\x04" "five"
                          "\x00",
                          27)},
        Record_case{"int_with_flags",
                    [] {
                        Def_int* item = int_item("i", false, 4, Def_int::decimal, "");
                        auto low = std::make_unique<Def_bitflag>(Bcl_str("lo"), 3, Bcl_str("x"));
                        low->set_named_values({{1, Bcl_str("on")}});
                        item->add_bit_flag(std::move(low));
                        item->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("hi"), 5, Bcl_str()));
                        return item;
                    },
                    bytes("\x00\x01i\x00\x04\x00\x00\x00\x02"
                          "\x02lo\x03\x01x\x01\x00\x00\x00\x01\x02on"
                          "\x02hi\x05\x00\x00",
                          29)},
        Record_case{"fix_str", [] { return new Def_fix_str(Bcl_str("s"), 255); }, bytes("\x02\x01s\xFF", 4)},
        Record_case{"flex_str", [] { return new Def_flex_str(Bcl_str("f"), 4); }, bytes("\x03\x01" "f\x04", 4)},
        Record_case{"null_str", [] { return new Def_null_str(Bcl_str("z")); }, bytes("\x04\x01z", 3)},
        Record_case{"if_with_empty_then",
                    [] {
                        auto* item = new Def_if(Bcl_str("a==1"));
                        item->insert_else_child(std::make_unique<Def_null_str>(Bcl_str("e")), nullptr);
                        return item;
                    },
                    bytes("\x05\x04" "a==1\x00\x00\x00\x01\x04\x01" "e", 13)},
        Record_case{"for", [] { return new Def_for(Bcl_str("L"), Bcl_str("3")); }, bytes("\x06\x01L\x01" "3\x00\x00", 7)},
        Record_case{"while", [] { return new Def_while(Bcl_str("W"), Bcl_str("x")); },
                    bytes("\x07\x01W\x01x\x00\x00", 7)},
        Record_case{"set_variable", [] { return new Def_set_variable(Bcl_str("v"), Bcl_str("1+2")); },
                    bytes("\x08\x01v\x03" "1+2", 7)},
        Record_case{"def_set", [] { return new Def_def_set(Bcl_str("S")); }, bytes("\x09\x01S\x00\x00", 5)},
        Record_case{"def_ref", [] { return new Def_def_ref(Bcl_str("r"), Bcl_str("S")); },
                    bytes("\x0A\x01r\x01S", 5)}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Definition_file_test, NestedContainersRoundTripInOrder)
{
    auto* set = new Def_def_set(Bcl_str("set"));
    auto* branch = new Def_if(Bcl_str("c"));
    auto* loop = new Def_for(Bcl_str("loop"), Bcl_str("n"));
    loop->insert_child(std::make_unique<Def_null_str>(Bcl_str("first")), nullptr);
    loop->insert_child(std::make_unique<Def_fix_str>(Bcl_str("second"), 2), nullptr);
    branch->insert_then_child(std::unique_ptr<Define>(loop), nullptr);
    branch->insert_else_child(std::make_unique<Def_def_ref>(Bcl_str("ref"), Bcl_str("set")), nullptr);
    set->insert_child(std::unique_ptr<Define>(branch), nullptr);
    const bytes file = save({set, new Def_while(Bcl_str("w"), Bcl_str("1"))}, sjis("題名"), Byte_order::little_endian);

    Definition_contents back = load(file);
    EXPECT_EQ(back.title, Bcl_str(sjis("題名")));
    EXPECT_EQ(back.byte_order, Byte_order::little_endian);
    ASSERT_EQ(back.items.size(), 2u);
    const auto& read_set = dynamic_cast<const Def_def_set&>(*back.items[0]);
    ASSERT_EQ(read_set.children().size(), 1u);
    const auto& read_if = dynamic_cast<const Def_if&>(*read_set.children()[0]);
    EXPECT_EQ(read_if.parent(), &read_set);
    ASSERT_EQ(read_if.then_children().size(), 1u);
    ASSERT_EQ(read_if.else_children().size(), 1u);
    const auto& read_loop = dynamic_cast<const Def_for&>(*read_if.then_children()[0]);
    EXPECT_EQ(read_loop.count(), Bcl_str("n"));
    ASSERT_EQ(read_loop.children().size(), 2u);
    EXPECT_EQ(read_loop.children()[0]->name(), Bcl_str("first"));
    EXPECT_EQ(read_loop.children()[1]->name(), Bcl_str("second"));
    EXPECT_EQ(dynamic_cast<const Def_def_ref&>(*read_if.else_children()[0]).target(), Bcl_str("set"));
    EXPECT_NE(dynamic_cast<const Def_while*>(back.items[1].get()), nullptr);
}

// Files the reader must refuse, with the exception each one gets.
enum class Failure { not_definition, corrupt, version };

struct Bad_file {
    const char* label;
    bytes file;
    Failure failure;
};

class Bad_definition_file : public Definition_file_test, public ::testing::WithParamInterface<Bad_file> {};

TEST_P(Bad_definition_file, IsRefusedWithItsException)
{
    const Bad_file& c = GetParam();
    write_file(path(), c.file);
    try {
        (void)read_definition_file(File_path(path()));
        FAIL() << "accepted";
    } catch (const Data_kind_exception& e) {
        EXPECT_EQ(c.failure, Failure::not_definition);
        EXPECT_EQ(e.path(), File_path(path()));
    } catch (const Data_err_exception& e) {
        EXPECT_EQ(c.failure, Failure::corrupt);
        EXPECT_EQ(e.display_text(), path() + "はデータ異常です。");
    } catch (const Ver_exception&) {
        EXPECT_EQ(c.failure, Failure::version);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Checks, Bad_definition_file,
    ::testing::Values(
        Bad_file{"empty", "", Failure::not_definition},
        Bad_file{"two_signature_bytes", "KX", Failure::not_definition},
        Bad_file{"wrong_signature", bytes("KXE\x00\x64\x00\x64\x00\x00\x00\x00", 11), Failure::not_definition},
        Bad_file{"signature_and_one_byte", bytes("KXD\x00", 4), Failure::corrupt},
        Bad_file{"no_required_version", bytes("KXD\x00\x64\x00", 6), Failure::corrupt},
        Bad_file{"newer_format", bytes("KXD\x00\x66\x00\xCD", 7), Failure::version},
        Bad_file{"title_cut_short", bytes("KXD\x00\x64\x00\x64\x05" "ab", 10), Failure::corrupt},
        Bad_file{"byte_order_2", header("T", 2) + u16(0), Failure::corrupt},
        Bad_file{"no_item_count", header(), Failure::corrupt},
        Bad_file{"fewer_items_than_counted", header() + u16(2) + bytes("\x04\x01z", 3), Failure::corrupt},
        Bad_file{"kind_code_1", header() + u16(1) + bytes("\x01\x01z", 3), Failure::corrupt},
        Bad_file{"kind_code_11", header() + u16(1) + bytes("\x0B\x01z", 3), Failure::corrupt},
        // The float's code in a file of format 100, which has no floats.
        Bad_file{"float_in_format_100", header() + u16(1) + bytes("\x0B\x01z\x04", 4), Failure::corrupt},
        Bad_file{"float_size_5", bytes("KXD\x00\x65\x00\x65\x01T\x00", 10) + u16(1) + bytes("\x0B\x01z\x05", 4),
                 Failure::corrupt},
        // The byte block's code in a file of format 100.
        Bad_file{"bytes_in_format_100", header() + u16(1) + bytes("\x0C\x01z\x01" "4", 5), Failure::corrupt},
        Bad_file{"kind_code_13", bytes("KXD\x00\x65\x00\x65\x01T\x00", 10) + u16(1) + bytes("\x0D\x01z", 3),
                 Failure::corrupt},
        Bad_file{"int_size_3", header() + u16(1) + bytes("\x00\x01i\x00\x03\x00\x00\x00\x00", 9), Failure::corrupt},
        Bad_file{"int_signed_2", header() + u16(1) + bytes("\x00\x01i\x02\x01\x00\x00\x00\x00", 9), Failure::corrupt},
        Bad_file{"int_display_2", header() + u16(1) + bytes("\x00\x01i\x00\x01\x02\x00\x00\x00", 9), Failure::corrupt},
        Bad_file{"flag_width_0", header() + u16(1) + bytes("\x00\x01i\x00\x01\x00\x00\x00\x01\x01" "f\x00\x00\x00", 14),
                 Failure::corrupt},
        Bad_file{"flex_prefix_3", header() + u16(1) + bytes("\x03\x01" "f\x03", 4), Failure::corrupt},
        // A string's encoding code past the last encoding, and its record in format 100.
        Bad_file{"encoding_6", bytes("KXD\x00\x65\x00\x65\x01T\x00", 10) + u16(1) + bytes("\x16\x01z\x06", 4),
                 Failure::corrupt},
        Bad_file{"encoded_string_in_format_100", header() + u16(1) + bytes("\x16\x01z\x02", 4), Failure::corrupt},
        Bad_file{"named_value_cut_short", header() + u16(1) + bytes("\x00\x01i\x00\x01\x00\x00\x01\x00\x00", 10),
                 Failure::corrupt},
        Bad_file{"child_missing", header() + u16(1) + bytes("\x09\x01S\x00\x01", 5), Failure::corrupt}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Definition_file_test, NewerFormatNamesTheRequiredVersion)
{
    write_file(path(), bytes("KXD\x00\x66\x00\xCD", 7));
    try {
        (void)read_definition_file(File_path(path()));
        FAIL() << "accepted";
    } catch (const Ver_exception& e) {
        EXPECT_EQ(e.required_version(), 205);
        EXPECT_EQ(e.display_text(),
                  path() + "はこのプログラムでは読めません。\nプログラムバージョン2.05以降を御使用ください。");
    }
}

// A string with an encoding or an expression length has its own record of format
// 101; a Shift-JIS string of a constant length keeps the record of format 100.
TEST_F(Definition_file_test, StringsWithAnAdditionAreWrittenInTheLaterFormat)
{
    auto* fixed = new Def_fix_str(Bcl_str("a"), 0);
    fixed->set_length_expression(Bcl_str("n"));
    auto* flex = new Def_flex_str(Bcl_str("b"), 2);
    flex->set_encoding(Text_encoding::utf16be);
    auto* null = new Def_null_str(Bcl_str("c"));
    null->set_encoding(Text_encoding::latin1);
    const bytes file = save({fixed, flex, null, new Def_fix_str(Bcl_str("d"), 3)});
    EXPECT_EQ(file, bytes("KXD\x00\x65\x00\x65", 7) + str("T") + '\0' + u16(4) + "\x14" + str("a") + '\0' + '\0' +
                        str("n") + "\x15" + str("b") + "\x02\x04" + "\x16" + str("c") + "\x05" + "\x02" + str("d") +
                        "\x03");
    const Definition_contents back = load(file);
    const auto& read_fixed = dynamic_cast<const Def_fix_str&>(*back.items[0]);
    EXPECT_EQ(read_fixed.length_expression(), "n");
    EXPECT_EQ(read_fixed.encoding(), Text_encoding::shift_jis);
    EXPECT_EQ(dynamic_cast<const Def_flex_str&>(*back.items[1]).encoding(), Text_encoding::utf16be);
    EXPECT_EQ(dynamic_cast<const Def_null_str&>(*back.items[2]).encoding(), Text_encoding::latin1);
    EXPECT_EQ(dynamic_cast<const Def_fix_str&>(*back.items[3]).length(), 3);
}

// A float, however deep, lifts the file to format 101, which an older reader
// refuses by its version check.
TEST_F(Definition_file_test, FloatsAreWrittenInTheLaterFormat)
{
    auto* loop = new Def_for(Bcl_str("L"), Bcl_str("2"));
    auto* branch = new Def_if(Bcl_str("1"));
    branch->insert_else_child(std::make_unique<Def_float>(Bcl_str("f"), 8), nullptr);
    loop->insert_child(std::unique_ptr<Define>(branch), nullptr);
    const bytes file = save({loop});
    EXPECT_EQ(file, bytes("KXD\x00\x65\x00\x65", 7) + str("T") + '\0' + u16(1) + "\x06" + str("L") + str("2") + u16(1) +
                        "\x05" + str("1") + u16(0) + u16(1) + "\x0B" + str("f") + "\x08");
    const Definition_contents back = load(file);
    const auto& read_if = dynamic_cast<const Def_if&>(*dynamic_cast<const Def_for&>(*back.items[0]).children()[0]);
    EXPECT_EQ(dynamic_cast<const Def_float&>(*read_if.else_children()[0]).size(), 8);

    try {
        (void)read_definition_file(File_path(path()), definition_file::format_version);
        FAIL() << "accepted";
    } catch (const Ver_exception& e) {
        EXPECT_EQ(e.display_text(),
                  path() + "はこのプログラムでは読めません。\nプログラムバージョン1.01以降を御使用ください。");
    }
}

TEST_F(Definition_file_test, ByteBlocksAreWrittenInTheLaterFormat)
{
    auto* loop = new Def_for(Bcl_str("L"), Bcl_str("2"));
    loop->insert_child(std::make_unique<Def_bytes>(Bcl_str("b"), Bcl_str("n - 1")), nullptr);
    const bytes file = save({loop});
    EXPECT_EQ(file, bytes("KXD\x00\x65\x00\x65", 7) + str("T") + '\0' + u16(1) + "\x06" + str("L") + str("2") + u16(1) +
                        "\x0C" + str("b") + str("n - 1"));
    const Definition_contents back = load(file);
    const auto& block = dynamic_cast<const Def_bytes&>(*dynamic_cast<const Def_for&>(*back.items[0]).children()[0]);
    EXPECT_EQ(block.name().view(), "b");
    EXPECT_EQ(block.length().view(), "n - 1");
    EXPECT_THROW((void)read_definition_file(File_path(path()), definition_file::format_version), Ver_exception);
}

// An 8-byte integer writes its size and its named values (its flags' too) in 8
// bytes under format 101; a 4-byte one beside it stays as it was, and alone keeps
// format 100.
TEST_F(Definition_file_test, EightByteIntegersAreWrittenInTheLaterFormat)
{
    const auto make_narrow = [] {
        auto* narrow = new Def_int(Bcl_str("n"), false, 4, Def_int::decimal, Bcl_str());
        narrow->set_named_values({{-1, Bcl_str("a")}});
        return narrow;
    };
    const bytes narrow_record = bytes("\x00", 1) + str("n") + bytes("\x00\x04\x00", 3) + str("") + "\x01" +
                                bytes("\xFF\xFF\xFF\xFF", 4) + str("a") + bytes("\x00", 1);
    EXPECT_EQ(save({make_narrow()}), header() + u16(1) + narrow_record);

    auto* wide = new Def_int(Bcl_str("w"), true, 8, Def_int::hexadecimal, Bcl_str("v"));
    wide->set_named_values({{INT64_MIN, Bcl_str("m")}});
    const Named_values flag_values{{0x100000000ll, Bcl_str("b")}};
    auto flag = std::make_unique<Def_bitflag>(Bcl_str("f"), 64, Bcl_str());
    flag->set_named_values(flag_values);
    wide->add_bit_flag(std::move(flag));
    const Named_values wide_values = wide->named_values();
    const bytes file = save({wide, make_narrow()});
    EXPECT_EQ(file, bytes("KXD\x00\x65\x00\x65", 7) + str("T") + '\0' + u16(2) + bytes("\x00", 1) + str("w") +
                        bytes("\x01\x08\x01", 3) + str("v") + "\x01" + bytes("\x80\0\0\0\0\0\0\0", 8) + str("m") +
                        "\x01" + str("f") + "\x40" + str("") + "\x01" + bytes("\0\0\0\x01\0\0\0\0", 8) + str("b") +
                        narrow_record);
    const Definition_contents back = load(file);
    const auto& read = dynamic_cast<const Def_int&>(*back.items[0]);
    EXPECT_EQ(read.size(), 8);
    EXPECT_EQ(read.named_values(), wide_values);
    EXPECT_EQ(read.bit_flags()[0]->named_values(), flag_values);
    EXPECT_EQ(dynamic_cast<const Def_int&>(*back.items[1]).named_values(), Named_values({{-1, Bcl_str("a")}}));

    // Format 100 has no 8-byte integer.
    EXPECT_THROW(load(header() + u16(1) + bytes("\x00", 1) + str("w") + bytes("\x01\x08\x01", 3) + str("") +
                      bytes("\x00\x00", 2)),
                 Data_err_exception);
}

TEST_F(Definition_file_test, OlderFormatIsReadWhateverVersionItRequires)
{
    const Definition_contents back = load(bytes("KXD\x00\x63\x27\x10\x01T\x01\x00\x00", 12));
    EXPECT_EQ(back.title, Bcl_str("T"));
    EXPECT_EQ(back.byte_order, Byte_order::little_endian);
}

TEST_F(Definition_file_test, TrailingBytesAreIgnored)
{
    const Definition_contents back = load(header() + u16(1) + bytes("\x04\x01z", 3) + "garbage\x05");
    ASSERT_EQ(back.items.size(), 1u);
    EXPECT_EQ(back.items[0]->name(), Bcl_str("z"));
}

TEST_F(Definition_file_test, StringsEndAtTheFirstNulAndTheRestIsStillConsumed)
{
    // Name "ab\0cd" keeps "ab"; the length byte after it is still read correctly.
    const Definition_contents back = load(header() + u16(1) + bytes("\x02\x05" "ab\x00" "cd\x07", 8));
    const auto& item = dynamic_cast<const Def_fix_str&>(*back.items.at(0));
    EXPECT_EQ(item.name(), Bcl_str("ab"));
    EXPECT_EQ(item.length(), 7);
}

TEST_F(Definition_file_test, RepeatedNamedValueKeepsTheLastName)
{
    const Definition_contents back = load(
        header() + u16(1) +
        bytes("\x00\x01i\x00\x01\x00\x00\x02" "\x00\x00\x00\x07\x01" "a" "\x00\x00\x00\x07\x01" "b" "\x00", 21));
    const auto& item = dynamic_cast<const Def_int&>(*back.items.at(0));
    ASSERT_EQ(item.named_values().size(), 1u);
    EXPECT_EQ(item.named_values().at(7), Bcl_str("b"));
}

namespace {

// `levels` definition sets nested in each other, written by hand.
bytes nested_sets(int levels)
{
    bytes file = header() + u16(1);
    for (int i = 0; i < levels; ++i)
        file += bytes("\x09\x00", 2) + u16(i + 1 < levels ? 1 : 0);
    return file;
}

} // namespace

TEST_F(Definition_file_test, NestingIsBoundedSoHostileFilesCannotExhaustTheStack)
{
    const Definition_contents deepest = load(nested_sets(limits::max_definition_depth));
    // What the reader takes, the writer writes back unchanged.
    Item_list list;
    list.insert(std::make_unique<Def_def_set>(Bcl_str()), nullptr);
    auto* inner = static_cast<Def_def_set*>(list[0]);
    for (int i = 1; i < limits::max_definition_depth; ++i) {
        auto* next = new Def_def_set(Bcl_str());
        inner->insert_child(std::unique_ptr<Define>(next), nullptr);
        inner = next;
    }
    write_definition_file(File_path(path("deep.kxd")), Bcl_str("T"), Byte_order::big_endian, list);
    EXPECT_EQ(file_contents(path("deep.kxd")), nested_sets(limits::max_definition_depth));

    EXPECT_THROW((void)load(nested_sets(limits::max_definition_depth + 1)), Data_err_exception);
    EXPECT_THROW((void)load(nested_sets(200000)), Data_err_exception);
}

// A definition the file cannot hold is refused before anything is written, with
// the place in the definition and the reason after the path.
TEST_F(Definition_file_test, UnstorableDefinitionsAreRefusedAndTheOldFileStays)
{
    struct Row {
        const char* label;
        std::function<Define*()> make;
        std::string place_and_reason;  // UTF-8
    };
    // The place 256 levels down shows its first and last steps only.
    const std::string too_deep_place = "items[0].children[0].children[0].....children[0].children[0].children";
    const std::vector<Row> rows = {
        {"name of 256 bytes", [] { return new Def_null_str(Bcl_str(bytes(256, 'x'))); },
         "items[0].name: 文字列が255バイトを超えています。"},
        {"long text deep inside",
         [] {
             auto* branch = new Def_if(Bcl_str("1"));
             auto* loop = new Def_for(Bcl_str("L"), Bcl_str("1"));
             loop->insert_child(std::make_unique<Def_null_str>(Bcl_str("ok")), nullptr);
             loop->insert_child(std::make_unique<Def_set_variable>(Bcl_str("v"), Bcl_str(bytes(300, '1'))), nullptr);
             branch->insert_else_child(std::unique_ptr<Define>(loop), nullptr);
             return branch;
         },
         "items[0].else[0].children[1].value: 文字列が255バイトを超えています。"},
        {"256 named values",
         [] {
             Named_values values;
             for (int i = 0; i < 256; ++i)
                 values.emplace(i, Bcl_str("v"));
             Def_int* item = int_item("i", false, 1, 0, "");
             item->set_named_values(std::move(values));
             return item;
         },
         "items[0].named_values: 定義値が255個を超えています。"},
        {"long name of a flag's named value",
         [] {
             Def_int* item = int_item("i", false, 1, 0, "");
             auto flag = std::make_unique<Def_bitflag>(Bcl_str("f"), 1, Bcl_str());
             flag->set_named_values({{0, Bcl_str("zero")}, {1, Bcl_str(bytes(256, 'o'))}});
             item->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("g"), 1, Bcl_str()));
             item->add_bit_flag(std::move(flag));
             return item;
         },
         "items[0].bit_flags[1].named_values[1].name: 文字列が255バイトを超えています。"},
        {"256 bit flags",
         [] {
             Def_int* item = int_item("i", false, 1, 0, "");
             for (int i = 0; i < 256; ++i)
                 item->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("f"), 1, Bcl_str()));
             return item;
         },
         "items[0].bit_flags: ビットフラグが255個を超えています。"},
        {"65536 children",
         [] {
             auto* loop = new Def_for(Bcl_str("L"), Bcl_str("1"));
             for (int i = 0; i < 65536; ++i)
                 loop->insert_child(std::make_unique<Def_null_str>(Bcl_str()), nullptr);
             return loop;
         },
         "items[0].children: 項目が65535個を超えています。"},
        {"fixed length 256", [] { return new Def_fix_str(Bcl_str("s"), 256); },
         "items[0].length: 定義ファイルに入らない値です。"},
        {"length expression of 256 bytes",
         [] {
             auto* item = new Def_fix_str(Bcl_str("s"), 0);
             item->set_length_expression(Bcl_str(std::string(256, 'n')));
             return item;
         },
         "items[0].length: 文字列が255バイトを超えています。"},
        {"integer size 3", [] { return int_item("i", false, 3, 0, ""); }, "items[0].size: 定義ファイルに入らない値です。"},
        {"float size 6", [] { return new Def_float(Bcl_str("f"), 6); }, "items[0].size: 定義ファイルに入らない値です。"},
        {"long length of a byte block", [] { return new Def_bytes(Bcl_str("b"), Bcl_str(bytes(256, '1'))); },
         "items[0].length: 文字列が255バイトを超えています。"},
        {"nesting beyond the reader's bound",
         [] {
             auto* outer = new Def_def_set(Bcl_str("S"));
             Def_def_set* inner = outer;
             for (int i = 1; i <= limits::max_definition_depth; ++i) {
                 auto* next = new Def_def_set(Bcl_str("S"));
                 inner->insert_child(std::unique_ptr<Define>(next), nullptr);
                 inner = next;
             }
             return outer;
         },
         too_deep_place + ": 入れ子が256段を超えています。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        write_file(path(), "old");
        try {
            save({row.make()});
            ADD_FAILURE() << "saved";
        } catch (const Unstorable_exception& e) {
            EXPECT_EQ(e.display_text(), path() + "は保存できません。" + row.place_and_reason);
        }
        EXPECT_EQ(file_contents(path()), "old");
        EXPECT_EQ(files_in_folder(), 1u) << "a temporary file was left behind";
    }
    write_file(path(), "old");
    try {
        save({}, bytes(256, 't'));
        ADD_FAILURE() << "saved";
    } catch (const Unstorable_exception& e) {
        EXPECT_EQ(e.display_text(), path() + "は保存できません。title: 文字列が255バイトを超えています。");
    }
}

TEST_F(Definition_file_test, MissingFileCannotBeOpened)
{
    EXPECT_THROW(doc().load_definition(File_path(path("missing.kxd"))), File_open_err_exception);
    EXPECT_THROW(doc().save_definition(File_path(path("no/such/folder.kxd"))), File_open_err_exception);
}

namespace {

struct Counting_command : Process {
    void undo() override {}
    void redo() override {}
};

} // namespace

TEST_F(Definition_file_test, FailedLoadLeavesTheDocumentAsItWas)
{
    const std::string good = path("good.kxd");
    write_file(good, header("Good", 1) + u16(0));
    doc().load_definition(File_path(good));
    doc().set_title(Bcl_str("changed"));
    doc().push_definition_command(std::make_unique<Counting_command>());

    for (const bytes& bad : {bytes("KX"), header() + u16(3) + bytes("\x04\x01z", 3), bytes("KXD\x00\x66\x00\x66", 7)}) {
        write_file(path(), bad);
        EXPECT_ANY_THROW(doc().load_definition(File_path(path())));
        EXPECT_EQ(doc().title(), Bcl_str("changed"));
        EXPECT_EQ(doc().byte_order(), Byte_order::little_endian);
        EXPECT_EQ(doc().definition_path(), File_path(good));
        EXPECT_TRUE(doc().is_definition_modified());
        EXPECT_TRUE(doc().can_undo_definition());
    }
}

TEST_F(Definition_file_test, LoadReplacesSettingsClearsFlagAndDefinitionHistories)
{
    doc().set_title(Bcl_str("old"));
    doc().push_definition_command(std::make_unique<Counting_command>());
    write_file(path(), header(sjis("画像"), 1) + u16(0) + "tail");
    doc().load_definition(File_path(path()));
    EXPECT_EQ(doc().title(), Bcl_str(sjis("画像")));
    EXPECT_TRUE(doc().little_endian());
    EXPECT_EQ(doc().definition_path(), File_path(path()));
    EXPECT_FALSE(doc().is_definition_modified());
    EXPECT_FALSE(doc().can_undo_definition());
    EXPECT_FALSE(doc().can_redo_definition());
}
