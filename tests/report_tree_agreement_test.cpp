// The text report and the component tree show the same values at the same places:
// chosen cases, every feature folder and shipped example, and random definitions
// over random data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>

#include "agreement/random_definition.h"
#include "agreement/report_view.h"
#include "analysis_helpers.h"
#include "cli_helpers.h"
#include "document/report.h"
#include "support/definition_dump.h"
#include "support/document_fixture.h"

using namespace analysis_test;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t max_view_lines = 20000;

class Agreement_test : public Document_test {
protected:
    // Loads `data` (analysing it) and returns the difference between the report of
    // the data file and the report view of the tree, empty when they agree.
    std::string difference(const std::string& data)
    {
        load_bytes(data);
        return difference_for(temp_path("data.bin"));
    }
    std::string difference_for(const std::string& data_path)
    {
        const Report_view view = report_view_of_tree(*root(), max_view_lines);
        last_view_ = view.text;
        write_report(doc(), File_path(data_path), File_path(temp_path("report.txt")));
        last_report_ = file_contents(temp_path("report.txt"));
        return report_tree_difference(last_report_, view);
    }
    std::string last_report_utf8() const { return Bcl_str(last_report_).to_utf8(); }
    // Both texts, for a failure message.
    std::string last_texts() const
    {
        return "report:\n" + last_report_utf8() + "tree:\n" + Bcl_str(last_view_).to_utf8();
    }

    std::string last_report_;
    std::string last_view_;
};

TEST_F(Agreement_test, FlagOfAllThirtyTwoBitsIsTheWholeValueInBoth)
{
    // A 32-bit flag is the whole value; a flag past bit 31 reads 0. The flag's
    // variable counts a loop, so the rest of the report depends on it as well.
    Def_int* word = with_flag(with_flag(int_item("w", 4), "all", 32, "all"), "beyond", 3, "beyond");
    define(word, for_loop("L", "all % 8", int_item("v", 1)), for_loop("M", "beyond + 1", int_item("u", 1)));
    EXPECT_EQ(difference(std::string("\x12\x34\x56\x78" "abcdefghij", 14)), "") << last_report_utf8();
    EXPECT_NE(last_report_utf8().find("        all    305419896\r\n"), std::string::npos) << last_report_utf8();
    EXPECT_NE(last_report_utf8().find("        beyond    0\r\n"), std::string::npos) << last_report_utf8();
    EXPECT_EQ(doc().get_variable("all"), 305419896);
}

TEST_F(Agreement_test, NamedValueOfASignedItemIsFoundByItsSignedValueWhateverTheDisplay)
{
    // 0xB5 is -75 read as a signed byte: the meaning shows in the tree and the report.
    for (const int display : {Def_int::decimal, Def_int::hexadecimal}) {
        SCOPED_TRACE(display);
        doc().new_definition();
        Def_int* item = int_item("b", 1, true, display);
        item->set_named_values({{-75, sj("負")}, {181, sj("百八十一")}});
        define(item, int_item("u", 1, false, display));
        Def_int* unsigned_item = dynamic_cast<Def_int*>(doc().mutable_definition_items()[1]);
        unsigned_item->set_named_values({{-75, sj("負")}, {181, sj("百八十一")}});
        EXPECT_EQ(difference("\xB5\xB5"), "") << last_report_utf8();
        EXPECT_EQ(line(root()->child(0)), "b\t負");
        EXPECT_EQ(line(root()->child(1)), "u\t百八十一");
    }
}

TEST_F(Agreement_test, ReferencesAreBoundedAlikeInBoth)
{
    // Expanding a table or record goes on with the bounds of the walk that made
    // it: how deep references nest, and how many were followed at its position.
    const std::vector<std::pair<const char*, std::function<void()>>> rows = {
        {"a set referring twice to itself, reading nothing",
         [] { define(def_set("A", ref("a1", "A"), ref("a2", "A")), ref("top", "A"), int_item("after", 1)); }},
        {"a set reading a byte and referring to itself",
         [] { define(def_set("S", int_item("a", 1), ref("again", "S")), ref("top", "S")); }},
        {"a set referring to itself inside a loop",
         [] { define(def_set("S", int_item("a", 1), for_loop("L", "2", ref("again", "S"))), ref("top", "S")); }},
    };
    for (const auto& [label, define_items] : rows) {
        SCOPED_TRACE(label);
        doc().new_definition();
        define_items();
        EXPECT_EQ(difference(std::string(300, '\x01')), "") << last_texts();
    }
}

TEST_F(Agreement_test, RecordsRunToTheEndOfTheDataWithoutAShortage)
{
    // A magic byte only at offset 0, a pad byte when an odd number of bytes follows,
    // then records (a length byte and that many bytes) as long as bytes remain. The
    // records are read in expansions, which replay the walk up to them.
    auto* magic = new Def_if(sj("_pos == 0"));
    magic->insert_then_child(std::unique_ptr<Define>(int_item("magic", 1, false, Def_int::hexadecimal)), nullptr);
    define(magic, set_var("start", "_pos"), for_loop("pad", "_rest % 2", int_item("p", 1)),
           while_loop("records", "_rest > 0", set_var("at", "_pos"), int_item("len", 1, false, Def_int::decimal, "len"),
                      for_loop("body", "len", int_item("b", 1))),
           set_var("end", "_pos"), set_var("left", "_rest"));
    EXPECT_EQ(difference(std::string("\x4B\x00" "\x02" "ab" "\x00" "\x01" "c", 8)), "") << last_texts();
    EXPECT_EQ(tree(2), "未定義\t\n"
                       "  magic\t0x4B\n"
                       "  pad\t...\n"
                       "    [0]\t...\n"
                       "  records\t...\n"
                       "    [0]\t...\n"
                       "    [1]\t...\n"
                       "    [2]\t...\n");
    EXPECT_EQ(last_report_utf8().find("データ不足"), std::string::npos) << last_texts();
    for (const auto& [name, value] : {std::pair{"start", 1}, {"at", 6}, {"end", 8}, {"left", 0}})
        EXPECT_EQ(doc().get_variable(name), value) << name;
}

TEST_F(Agreement_test, VariablesNamedLikeTheBuiltinNamesReadAsTheyDid)
{
    // A definition with its own "_pos" (a counter from 0) and "_rest" (an integer's
    // variable): both names stay its variables, before they are set too.
    define(int_item("h", 1), for_loop("L", "3", set_var("_pos", "_pos + 1"), int_item("v", 1, false, Def_int::decimal, "_rest")),
           for_loop("M", "_rest", int_item("w", 1)));
    EXPECT_EQ(difference(std::string("\x00" "\x05\x06\x02" "xyz", 7)), "") << last_texts();
    EXPECT_EQ(doc().get_variable("_pos"), 3);
    // M counts 2, the last v: the byte after its two is left undefined.
    EXPECT_NE(last_report_utf8().find("00000006            [0]    0x7A"), std::string::npos) << last_texts();
}

// ---- every feature folder and shipped example ----

using cli_test::Case_files;

class Agreement_on_case : public Agreement_test, public ::testing::WithParamInterface<Case_files> {};

TEST_P(Agreement_on_case, ReportSaysWhatTheTreeShows)
{
    const std::string definition = temp_path("definition.kxd");
    const cli_test::Cli_run run = cli_test::run_cli(temp_path(""), {"kxd", GetParam().definition_json, definition});
    ASSERT_EQ(run.status, 0) << run.err;
    doc().load_definition(File_path(definition));
    doc().load_data(File_path(GetParam().data));
    EXPECT_EQ(difference_for(GetParam().data), "") << last_report_utf8();
}

INSTANTIATE_TEST_SUITE_P(Folders, Agreement_on_case, ::testing::ValuesIn(cli_test::every_case()), [](const auto& info) {
    std::string name = fs::path(info.param.definition_json).parent_path().filename().string();
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

// ---- random definitions over random data ----

TEST_F(Agreement_test, RandomDefinitionsOverRandomData)
{
    const char* steps = std::getenv("KESTRIX_RANDOM_STEPS");
    const int runs = steps ? std::max(1, std::atoi(steps)) : 400;
    for (int seed = 0; seed < runs; ++seed) {
        const std::string bytes = seeded_choices(static_cast<unsigned>(seed));
        Choices choices(bytes);
        doc().new_definition();
        build_random_definition(choices);
        const std::string data = random_data(choices, 200);
        const std::string found = difference(data);
        ASSERT_EQ(found, "") << "seed " << seed << "\n"
                             << dump_definition(doc().mutable_definition_items()) << "\n"
                             << last_texts();
    }
}

} // namespace
