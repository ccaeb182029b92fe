// kestrix-cli as a user meets it: exit statuses, messages, what is left at OUTPUT,
// the report encodings, and the JSON form of definitions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli_helpers.h"
#include "document/definition_file.h"
#include "model/items.h"

using namespace cli_test;

namespace {

using Cli_test = Cli_folder_test;

constexpr const char* one_int = R"({"title": "題", "items": [{"kind": "int", "name": "n", "size": 2}]})";

} // namespace

TEST_F(Cli_test, HelpVersionAndWrongCommandLines)
{
    const Cli_run help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("kestrix-cli export [--utf8] DEFINITION DATA OUTPUT"), std::string::npos);
    const Cli_run version = cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("kestrix-cli ", 0), 0u);

    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"export", "a", "b"}, {"json"}, {"export", "--depth", "2", "a", "b", "c"},
             {"tree", "--depth", "x", "a", "b"}, {"tree", "--depth"}}) {
        std::string shown;
        for (const auto& arg : args)
            shown += arg + " ";
        SCOPED_TRACE(shown);
        std::string command = quoted(KESTRIX_CLI_PATH);
        for (const auto& arg : args)
            command.append(" ").append(quoted(arg));
        command.append(" >/dev/null 2>").append(quoted(path("err")));
        const int raw = std::system(command.c_str());
        EXPECT_EQ(WEXITSTATUS(raw), 2);
        EXPECT_NE(file_contents(path("err")).find("--help"), std::string::npos);
    }
}

TEST_F(Cli_test, ExportWritesTheShiftJisReportAndSaysWhereToTheTerminal)
{
    const std::string definition = kxd_from(one_int);
    write_file(path("data.bin"), std::string("\x01\x02\x03", 3));
    const Cli_run run = cli({"export", definition, path("data.bin"), path("out.txt")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path("out.txt") + "に出力しました。\n");
    EXPECT_EQ(run.err, "") << "no progress bar when standard error is not a terminal";
    EXPECT_EQ(file_contents(path("out.txt")),
              "            \x91\xE8\r\n"
              "00000000        n    258\r\n"
              "                \x96\xA2\x92\xE8\x8B`\r\n"
              "00000002            [0]    0x03\r\n");

    const Cli_run utf8 = cli({"export", "--utf8", definition, path("data.bin"), path("out8.txt")});
    ASSERT_EQ(utf8.status, 0) << utf8.err;
    EXPECT_EQ(file_contents(path("out8.txt")),
              "            題\n00000000        n    258\n                未定義\n00000002            [0]    0x03\n");
}

TEST_F(Cli_test, DataShortageIsAReportNotAFailure)
{
    const std::string definition = kxd_from(one_int);
    write_file(path("data.bin"), "\x07");
    const Cli_run run = cli({"export", definition, path("data.bin"), path("out.txt")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Bcl_str(file_contents(path("out.txt"))).to_utf8(),
              "            題\r\n00000000        n    7\r\n            データ不足\r\n");
}

TEST_F(Cli_test, FailuresShowThePathAndTheProgramsMessageAndLeaveOutputAlone)
{
    const std::string definition = kxd_from(one_int);
    write_file(path("data.bin"), "x");
    write_file(path("not.kxd"), "KX");
    write_file(path("bad.kxd"), std::string("KXD\x00\x64\x00\x64\x00\x02\x00\x00", 12));
    write_file(path("new.kxd"), std::string("KXD\x00\x66\x00\xCD", 7));
    struct Row {
        std::string definition, data, message;
    };
    const std::vector<Row> rows = {
        {path("missing.kxd"), path("data.bin"), path("missing.kxd") + "は開けません。\n"},
        {path("not.kxd"), path("data.bin"), path("not.kxd") + "はケストリクスの定義ファイルではありません。\n"},
        {path("bad.kxd"), path("data.bin"), path("bad.kxd") + "はデータ異常です。\n"},
        {path("new.kxd"), path("data.bin"),
         path("new.kxd") + "はこのプログラムでは読めません。\nプログラムバージョン2.05以降を御使用ください。\n"},
        {definition, path("missing.bin"), path("missing.bin") + "は開けません。\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        write_file(path("out.txt"), "old");
        const Cli_run run = cli({"export", row.definition, row.data, path("out.txt")});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, row.message);
        EXPECT_EQ(file_contents(path("out.txt")), "old");
    }
    const Cli_run fresh = cli({"export", definition, path("missing.bin"), path("fresh.txt")});
    EXPECT_EQ(fresh.status, 1);
    EXPECT_FALSE(std::filesystem::exists(path("fresh.txt")));
}

TEST_F(Cli_test, TreeRendersToTheRequestedDepth)
{
    const std::string definition =
        kxd_from(R"({"items": [{"kind": "for", "name": "L", "count": "2",
                     "children": [{"kind": "int", "name": "v", "size": 1}]}]})");
    write_file(path("data.bin"), std::string("\x05\x06\x07", 3));
    EXPECT_EQ(cli({"tree", "--depth", "0", definition, path("data.bin")}).out, "未定義\t\n");
    EXPECT_EQ(cli({"tree", definition, path("data.bin")}).out, "未定義\t\n  L\t...\n  未定義[0 - 0]\t...\n");
    const Cli_run deep = cli({"tree", "--depth=3", definition, path("data.bin")});
    EXPECT_EQ(deep.status, 0);
    EXPECT_EQ(deep.out,
              "未定義\t\n  L\t...\n    [0]\t...\n      v\t5\n    [1]\t...\n      v\t6\n"
              "  未定義[0 - 0]\t...\n    [0]\t0x07\n");
}

TEST_F(Cli_test, TreeEscapesControlCharactersSoThatEachComponentIsOneLine)
{
    // Data bytes reach the terminal through string values: an escape sequence or a
    // line break there must not act on the terminal or split the line.
    const std::string definition = kxd_from(R"({"items": [{"kind": "null_str", "name": "a\tb"},
        {"kind": "null_str", "name": "s"}, {"kind": "int", "name": "n", "size": 1}]})");
    const char data[] = "x\0\x1b]0;title\x07\x1b[31mred\r\nC:\\dir\x7f\0\x2a";
    write_file(path("data.bin"), std::string(data, sizeof data - 1));
    const Cli_run run = cli({"tree", definition, path("data.bin")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "未定義\t\n"
                       "  a\\tb\tx\n"
                       "  s\t\\x1b]0;title\\x07\\x1b[31mred\\r\\nC:\\\\dir\\x7f\n"
                       "  n\t42\n");
}

TEST_F(Cli_test, TreeAsJsonHasEveryComponentsFieldsAndChildrenWhereExpanded)
{
    const std::string png = std::string(KESTRIX_SOURCE_DIR) + "/examples/png/";
    const Cli_run run = cli({"tree", "--json", "--depth", "3", png + "definition.kxd", png + "sample.png"});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json root = nlohmann::json::parse(run.out);
    EXPECT_EQ(root["name"], "PNG画像");
    EXPECT_EQ(root["offset"], nullptr);  // the root has no first byte of its own
    EXPECT_EQ(root["number"], nullptr);
    EXPECT_EQ(root["children"][0]["value"], "0x89 PNG");
    const nlohmann::json& header = root["children"][2]["children"][0];
    EXPECT_EQ(header["offset"], 8);
    EXPECT_TRUE(header.contains("children"));
    const nlohmann::json& length = header["children"][0];
    EXPECT_EQ(length["name"], "length");
    EXPECT_EQ(length["offset"], 8);
    EXPECT_EQ(length["length"], 4);
    EXPECT_EQ(length["number"], 13);
    EXPECT_FALSE(length.contains("children"));  // depth 3 is not expanded
    const nlohmann::json& crc = header["children"].back();
    EXPECT_EQ(crc["value"], "0xF0CAEA34");
    EXPECT_EQ(crc["number"], 4039830068u);  // unsigned: the item is

    // Names and values from the data: control characters escaped, bytes that are no
    // Shift-JIS character as U+FFFD, a signed integer negative.
    const std::string definition = kxd_from(R"({"items": [{"kind": "null_str", "name": {"sjis": "610962ff"}},
        {"kind": "int", "name": "n", "size": 1, "signed": true}]})");
    write_file(path("data.bin"), std::string("\x80\x1b\"\0\xFE", 5));
    const Cli_run odd = cli({"tree", "--json", definition, path("data.bin")});
    ASSERT_EQ(odd.status, 0) << odd.err;
    const nlohmann::json items = nlohmann::json::parse(odd.out)["children"];
    EXPECT_EQ(items[0]["name"], "a\tb\uFFFD");
    EXPECT_EQ(items[0]["value"], "\uFFFD\x1b\"");
    EXPECT_EQ(items[1]["number"], -2);
    EXPECT_EQ(items[1]["offset"], 4);

    // A float's number is its value; inf, nan and one cut short are no JSON numbers.
    const std::string floats = kxd_from(R"({"items": [{"kind": "float", "name": "a", "size": 4},
        {"kind": "float", "name": "b", "size": 4}, {"kind": "float", "name": "c", "size": 8}]})");
    write_file(path("floats.bin"), std::string("\x3D\xCC\xCC\xCD\x7F\x80\x00\x00\x00", 9));
    const Cli_run real = cli({"tree", "--json", floats, path("floats.bin")});
    ASSERT_EQ(real.status, 0) << real.err;
    const nlohmann::json numbers = nlohmann::json::parse(real.out)["children"];
    EXPECT_EQ(numbers[0]["value"], "0.1");
    // The shortest text: read back as a float of the item's size, it is the value.
    EXPECT_EQ(static_cast<float>(numbers[0]["number"].get<double>()), 0.1f);
    EXPECT_EQ(numbers[1]["value"], "inf");
    EXPECT_EQ(numbers[1]["number"], nullptr);
    EXPECT_EQ(numbers[2]["value"], "");
    EXPECT_EQ(numbers[2]["number"], nullptr);
}

TEST_F(Cli_test, TreeOfASetReferringTwiceToItselfStaysSmallAtAnyDepth)
{
    // Nested expansions at one position share the bound on references followed
    // there, so the tree is as deep and as long as the report, not unbounded.
    const std::string definition = kxd_from(R"({"items": [
        {"kind": "def_set", "name": "A", "children": [
            {"kind": "def_ref", "name": "a1", "target": "A"}, {"kind": "def_ref", "name": "a2", "target": "A"}]},
        {"kind": "def_ref", "name": "top", "target": "A"}, {"kind": "int", "name": "after", "size": 1}]})");
    write_file(path("data.bin"), "xyz");
    const Cli_run tree = cli({"tree", "--depth", "1000000", definition, path("data.bin")});
    ASSERT_EQ(tree.status, 0) << tree.err;
    const Cli_run report = cli({"export", "--utf8", definition, path("data.bin"), path("report.txt")});
    ASSERT_EQ(report.status, 0) << report.err;
    const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    // One line per reference followed, in both (the undefined bytes take a table
    // line in the tree and a header line in the report).
    EXPECT_EQ(lines(tree.out), lines(file_contents(path("report.txt"))));
    EXPECT_LT(tree.out.size(), 1000000u);
}

TEST_F(Cli_test, JsonRoundTripKeepsBytesThatDoNotConvertToUnicode)
{
    // 0xFF and 0x85 0x40 are no Shift-JIS characters: they travel as hex bytes.
    Item_list items;
    auto* item = new Def_int(Bcl_str(std::string("a\xFF", 2)), true, 4, Def_int::hexadecimal, Bcl_str("v"));
    item->set_named_values({{-1, Bcl_str("\x85\x40")}, {5, Bcl_str::from_utf8("五")}});
    auto flag = std::make_unique<Def_bitflag>(Bcl_str("f"), 3, Bcl_str());
    flag->set_named_values({{1, Bcl_str("on")}});
    item->add_bit_flag(std::move(flag));
    items.insert(std::unique_ptr<Define>(item), nullptr);
    auto* branch = new Def_if(Bcl_str("v == 1"));
    branch->insert_else_child(std::make_unique<Def_def_ref>(Bcl_str("r"), Bcl_str("S")), nullptr);
    branch->insert_then_child(std::make_unique<Def_float>(Bcl_str("x"), 8), nullptr);
    items.insert(std::unique_ptr<Define>(branch), nullptr);
    items.insert(std::make_unique<Def_float>(Bcl_str("y"), 4), nullptr);
    items.insert(std::make_unique<Def_bytes>(Bcl_str("z"), Bcl_str("_rest - 2")), nullptr);
    write_definition_file(File_path(path("a.kxd")), Bcl_str::from_utf8("表題"), Byte_order::little_endian, items);

    const Cli_run json = cli({"json", path("a.kxd")});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find(R"("name": {)"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find(R"("sjis": "61ff")"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find(R"("sjis": "8540")"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find(R"("title": "表題")"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find(R"("kind": "float")"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find(R"("length": "_rest - 2")"), std::string::npos) << json.out;
    write_file(path("a.json"), json.out);
    const Cli_run back = cli({"kxd", path("a.json"), path("b.kxd")});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(file_contents(path("b.kxd")), file_contents(path("a.kxd")));
}

// The strings' encodings and a length expression go through JSON and back, and the
// text the reports and tree --json show is the decoded one: in the Shift-JIS report
// what Shift-JIS cannot hold is 〓, in UTF-8 itself; bytes that do not decode are
// stand-ins.
TEST_F(Cli_test, EncodedStringsTravelThroughJsonAndShowTheirCharacters)
{
    const std::string json = R"({"items": [{"kind": "int", "name": "n", "size": 1, "variable": "n"},
        {"kind": "fix_str", "name": "u", "length": "n", "encoding": "UTF-8"},
        {"kind": "null_str", "name": "w", "encoding": "UTF-16LE"}]})";
    const std::string definition = kxd_from(json);
    const Cli_run back = cli({"json", definition});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_NE(back.out.find(R"("length": "n")"), std::string::npos) << back.out;
    EXPECT_NE(back.out.find(R"("encoding": "UTF-16LE")"), std::string::npos) << back.out;
    write_file(path("back.json"), back.out);
    ASSERT_EQ(cli({"kxd", path("back.json"), path("back.kxd")}).status, 0);
    EXPECT_EQ(file_contents(path("back.kxd")), file_contents(definition));

    write_file(path("data.bin"), std::string("\x06" "\xC3\xA9\xE3\x81\x82\xFF" "A\0\0\0", 11));
    ASSERT_EQ(cli({"export", definition, path("data.bin"), path("sjis.txt")}).status, 0);
    EXPECT_NE(file_contents(path("sjis.txt")).find("u    \x81\xAC\x82\xA0\x81\xAC\r\n"), std::string::npos);
    ASSERT_EQ(cli({"export", "--utf8", definition, path("data.bin"), path("utf8.txt")}).status, 0);
    EXPECT_NE(file_contents(path("utf8.txt")).find("u    éあ⣿\n"), std::string::npos);
    EXPECT_NE(file_contents(path("utf8.txt")).find("w    A\n"), std::string::npos);
    const Cli_run tree = cli({"tree", "--json", definition, path("data.bin")});
    EXPECT_NE(tree.out.find("\"value\":\"éあ⣿\""), std::string::npos) << tree.out;
    // UTF-16 at an odd end of the data: its last lone byte is shown, then the shortage.
    write_file(path("odd.bin"), std::string("\0A\0\0", 4));
    ASSERT_EQ(cli({"export", "--utf8", definition, path("odd.bin"), path("odd.txt")}).status, 0);
    EXPECT_NE(file_contents(path("odd.txt")).find("w    A⠀\n            データ不足\n"), std::string::npos)
        << file_contents(path("odd.txt"));

    for (const auto& [bad, message] : std::vector<std::pair<std::string, std::string>>{
             {R"({"items": [{"kind": "null_str", "name": "s", "encoding": "EBCDIC"}]})", "items[0].encoding: must be one of"},
             {R"({"items": [{"kind": "fix_str", "name": "s", "length": ""}]})", "items[0].length: must be a number or"}}) {
        write_file(path("bad.json"), bad);
        const Cli_run refused = cli({"kxd", path("bad.json"), path("bad.kxd")});
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
    }
}

// An 8-byte integer's named values travel as exact JSON numbers, and so does its
// value in the tree: 2^64 - 1 keeps all its digits.
TEST_F(Cli_test, EightByteIntegersRoundTripAndKeepEveryDigitInJson)
{
    const std::string definition = kxd_from(R"({"items": [{"kind": "int", "name": "u", "size": 8,
        "named_values": [{"value": 18446744073709551614, "name": "top"}, {"value": -9223372036854775808, "name": "min"}],
        "bit_flags": [{"name": "f", "bits": 64, "named_values": [{"value": 4294967296, "name": "big"}]}]}]})");
    const Cli_run json = cli({"json", definition});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find(R"("value": -2)"), std::string::npos) << json.out;  // the same bits, signed
    EXPECT_NE(json.out.find(R"("value": -9223372036854775808)"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find(R"("value": 4294967296)"), std::string::npos) << json.out;
    write_file(path("again.json"), json.out);
    ASSERT_EQ(cli({"kxd", path("again.json"), path("again.kxd")}).status, 0);
    EXPECT_EQ(file_contents(path("again.kxd")), file_contents(definition));

    write_file(path("data.bin"), std::string(8, '\xFF'));
    const Cli_run tree = cli({"tree", "--json", definition, path("data.bin")});
    ASSERT_EQ(tree.status, 0) << tree.err;
    EXPECT_NE(tree.out.find(R"("number":18446744073709551615)"), std::string::npos) << tree.out;
    EXPECT_EQ(nlohmann::json::parse(tree.out)["children"][0]["number"].get<std::uint64_t>(), UINT64_MAX);
}

// An input method's 〜 is stored as CP932's ～ (0x8160) and reads back as that.
TEST_F(Cli_test, JsonTextsInJisFormsAreStoredInTheirCp932Forms)
{
    write_file(path("jis.json"), R"({"title": "1〜2−3"})");
    const Cli_run kxd = cli({"kxd", path("jis.json"), path("jis.kxd")});
    ASSERT_EQ(kxd.status, 0) << kxd.err;
    EXPECT_NE(file_contents(path("jis.kxd")).find("1\x81\x60" "2\x81\x7C" "3"), std::string::npos);
    const Cli_run json = cli({"json", path("jis.kxd")});
    EXPECT_NE(json.out.find(R"("title": "1～2－3")"), std::string::npos) << json.out;
}

TEST_F(Cli_test, BadJsonIsExplainedAndNothingIsWritten)
{
    struct Row {
        const char* json;
        const char* message_part;
    };
    const std::vector<Row> rows = {
        {"{", "not valid JSON"},
        {R"({"items": [{"kind": "decimal"}]})", "items[0].kind: unknown kind \"decimal\""},
        {R"({"items": [{"kind": "int", "size": 3}]})", "items[0].size: must be 1, 2 or 4"},
        {R"({"items": [{"kind": "int"}]})", "items[0]: missing field \"size\""},
        {R"({"items": [{"kind": "float", "size": 5}]})", "items[0].size: must be 4 or 8"},
        {R"({"items": [{"kind": "null_str", "nmae": "x"}]})", "items[0]: unknown field \"nmae\""},
        {R"({"items": [{"kind": "for", "children": [{"kind": "fix_str", "length": 256}]}]})",
         "items[0].children[0].length: must be from 0 to 255"},
        {R"({"byte_order": "middle"})", "byte_order: must be one of"},
        {R"({"title": "😀"})", "title: holds a character that Shift-JIS cannot represent"},
        {R"({"title": {"sjis": "8"}})", "title.sjis: must be an even number"},
        // A NUL would be stored and then cut off by the reader: the text would not
        // read back as written.
        {R"({"title": "a\u0000b"})", "title: holds a NUL character"},
        {R"({"items": [{"kind": "null_str", "name": {"sjis": "610062"}}]})", "items[0].name: holds a NUL character"},
        // A repeated field would silently drop one of its values.
        {R"({"title": "a", "title": "b"})", "definition: duplicate field \"title\""},
        {R"({"items": [{"kind": "int", "size": 1, "size": 2}]})", "items[0]: duplicate field \"size\""},
        {R"({"items": [{"kind": "for", "children": [{"kind": "int", "size": 1,
            "named_values": [{"value": 1, "name": "a", "value": 2}]}]}]})",
         "items[0].children[0].named_values[0]: duplicate field \"value\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.json);
        write_file(path("out.kxd"), "old");
        write_file(path("in.json"), row.json);
        const Cli_run run = cli({"kxd", path("in.json"), path("out.kxd")});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.rfind(path("in.json") + ": ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(row.message_part), std::string::npos) << run.err;
        EXPECT_EQ(file_contents(path("out.kxd")), "old");
    }

    // Nesting beyond what a definition file holds is refused, however deep.
    std::string deep = R"({"items": [)";
    for (int i = 0; i < 100000; ++i)
        deep += R"({"kind": "def_set", "children": [)";
    for (int i = 0; i < 100000; ++i)
        deep += "]}";
    write_file(path("deep.json"), deep + "]}");
    const Cli_run run = cli({"kxd", path("deep.json"), path("out.kxd")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("nested deeper than 256 levels"), std::string::npos) << run.err.substr(0, 300);
}

TEST_F(Cli_test, WhatTheDefinitionFileCannotHoldIsRefusedWhereItStands)
{
    const std::string many_values = [] {
        std::string list;
        for (int i = 0; i < 256; ++i)
            list += (i ? ", " : "") + std::string(R"({"value": )") + std::to_string(i) + R"(, "name": "v"})";
        return list;
    }();
    std::string kanji;
    for (int i = 0; i < 128; ++i)
        kanji += "名";
    struct Row {
        std::string json;
        const char* message_part;
    };
    const std::vector<Row> rows = {
        {R"({"title": ")" + std::string(256, 'x') + R"("})", "title: longer than 255 bytes"},
        // 256 bytes in Shift-JIS, two per character.
        {R"({"items": [{"kind": "null_str", "name": ")" + kanji + R"("}]})",
         "items[0].name: longer than 255 bytes"},
        {R"({"items": [{"kind": "int", "size": 1, "named_values": [)" + many_values + "]}]}",
         "items[0].named_values: more than 255 entries"},
        {R"({"items": [{"kind": "bytes", "name": "b", "length": ")" + std::string(256, '1') + R"("}]})",
         "items[0].length: longer than 255 bytes"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message_part);
        write_file(path("in.json"), row.json);
        write_file(path("out.kxd"), "old");
        const Cli_run run = cli({"kxd", path("in.json"), path("out.kxd")});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.rfind(path("in.json") + ": ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(row.message_part), std::string::npos) << run.err;
        EXPECT_EQ(file_contents(path("out.kxd")), "old");
    }
    // Exactly 255 bytes are fine.
    write_file(path("in.json"), R"({"title": ")" + std::string(255, 'x') + R"("})");
    EXPECT_EQ(cli({"kxd", path("in.json"), path("out.kxd")}).status, 0);
}

TEST_F(Cli_test, DefinitionNestedAsDeepAsTheFileHoldsIsAccepted)
{
    // 256 levels, the innermost with an empty list of children: what a definition
    // file holds, and what the file reader accepts.
    const auto nested = [](int levels) {
        std::string json = R"({"items": [)";
        for (int i = 0; i < levels; ++i)
            json += R"({"kind": "def_set", "name": "S", "children": [)";
        for (int i = 0; i < levels; ++i)
            json += "]}";
        return json + "]}";
    };
    write_file(path("in.json"), nested(256));
    const Cli_run run = cli({"kxd", path("in.json"), path("out.kxd")});
    ASSERT_EQ(run.status, 0) << run.err;
    const Cli_run back = cli({"json", path("out.kxd")});
    EXPECT_EQ(back.status, 0) << back.err;

    write_file(path("in.json"), nested(257));
    const Cli_run deeper = cli({"kxd", path("in.json"), path("out.kxd")});
    EXPECT_EQ(deeper.status, 1);
    EXPECT_NE(deeper.err.find("nested deeper than 256 levels"), std::string::npos) << deeper.err;
    EXPECT_LT(deeper.err.size(), 300u) << "the place is shortened";
}

TEST_F(Cli_test, AtPrintsWhatAClickOnTheByteSelects)
{
    const std::string definition = kxd_from(
        R"({"items": [{"kind": "int", "name": "n", "size": 1, "variable": "n"},
                      {"kind": "for", "name": "L", "count": "n", "children": [
                          {"kind": "fix_str", "name": "s\t", "length": 2}]}]})");
    write_file(path("data.bin"), std::string("\x02" "ab" "c\n", 5));
    struct Row {
        const char* offset;
        int status;
        const char* out;
    };
    for (const Row& row : {Row{"0", 0, "00000000\tn\t2\n"}, Row{"0x4", 0, "00000003\tL/[1]/s\\t\tc\\n\n"},
                           Row{"1h", 0, "00000001\tL/[0]/s\\t\tab\n"}, Row{"5", 1, ""}, Row{"0x", 2, ""},
                           Row{"-1", 2, ""}}) {
        SCOPED_TRACE(row.offset);
        const Cli_run run = cli({"at", definition, path("data.bin"), row.offset});
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err.empty(), row.status == 0);
    }
}

TEST_F(Cli_test, FindPrintsEveryHitInTreeOrderOrTheirCount)
{
    const std::string definition = kxd_from(
        R"({"items": [{"kind": "for", "name": "Rows", "count": "3", "children": [
                          {"kind": "int", "name": "Value", "size": 1}]}]})");
    write_file(path("data.bin"), std::string("\x07\x10\x07", 3));
    const std::string data = path("data.bin");
    const Cli_run names = cli({"find", definition, data, "--name", "vAL"});
    EXPECT_EQ(names.status, 0) << names.err;
    EXPECT_EQ(names.out, "00000000\tRows/[0]/Value\t7\n00000001\tRows/[1]/Value\t16\n00000002\tRows/[2]/Value\t7\n");
    EXPECT_EQ(cli({"find", definition, data, "--value", "0x10"}).out, "00000001\tRows/[1]/Value\t16\n");
    EXPECT_EQ(cli({"find", definition, data, "--value", "7", "--count"}).out, "2\n");
    EXPECT_EQ(cli({"find", definition, data, "--bytes", "1007"}).out, "00000001\tRows/[1]/Value\t16\n");
    const Cli_run none = cli({"find", definition, data, "--text", "x", "--count"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "0\n");
    for (const auto& wrong : {std::vector<std::string>{"--bytes", "1G"}, {"--name"}, {"--name", "a", "--value", "b"}, {}}) {
        std::string command = cli_command({"find", definition, data});
        for (const std::string& arg : wrong)
            command.append(" ").append(quoted(arg));
        EXPECT_EQ(run_shell(folder_.path(), command).status, 2) << command;
    }
}
