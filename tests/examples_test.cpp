// End to end through kestrix-cli: the shipped examples (export, tree, the JSON round
// trip) and the feature folders of tests/data (definition.json, data.bin and the
// byte-exact expected.txt). Adding a case is adding a folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli_helpers.h"
#include "toolkit/text/bcl_str.h"

using namespace cli_test;

namespace {

namespace fs = std::filesystem;

std::string crlf_to_lf(std::string text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

// ---- shipped examples ----

struct Example {
    std::string name;
    std::string sample;
};

class Shipped_example : public ::testing::TestWithParam<Example> {
protected:
    [[nodiscard]] std::string file(const std::string& name) const
    {
        return std::string(KESTRIX_SOURCE_DIR) + "/examples/" + GetParam().name + "/" + name;
    }
    Temp_folder temp_{"examples"};
};

TEST_P(Shipped_example, DefinitionFileIsBuiltFromItsJson)
{
    const Cli_run run = run_cli(temp_.path(), {"kxd", file("definition.json"), temp_ / "built.kxd"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(file_contents(temp_ / "built.kxd"), file_contents(file("definition.kxd")));
}

TEST_P(Shipped_example, JsonRoundTripIsByteIdentical)
{
    const Cli_run json = run_cli(temp_.path(), {"json", file("definition.kxd")});
    ASSERT_EQ(json.status, 0) << json.err;
    write_file(temp_ / "round.json", json.out);
    const Cli_run back = run_cli(temp_.path(), {"kxd", temp_ / "round.json", temp_ / "round.kxd"});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(file_contents(temp_ / "round.kxd"), file_contents(file("definition.kxd")));
}

TEST_P(Shipped_example, ExportMatchesTheShippedReportInBothEncodings)
{
    const std::string expected = file_contents(file("report.txt"));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected.find("データ不足"), std::string::npos) << "the sample is complete";

    Cli_run run = run_cli(temp_.path(), {"export", "--utf8", file("definition.kxd"), file(GetParam().sample),
                                         temp_ / "utf8.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(file_contents(temp_ / "utf8.txt"), expected);

    run = run_cli(temp_.path(), {"export", file("definition.kxd"), file(GetParam().sample), temp_ / "sjis.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(crlf_to_lf(Bcl_str(file_contents(temp_ / "sjis.txt")).to_utf8()), expected);
}

// The whole tree down to depth 3, names and values, through the lazily expanded
// tables: tree.txt holds what the views show of the sample.
TEST_P(Shipped_example, TreeExpandsThroughTheLazyTables)
{
    const std::string expected = file_contents(file("tree.txt"));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected.find("データ不足"), std::string::npos) << "the sample is complete";
    const Cli_run run = run_cli(temp_.path(), {"tree", "--depth", "3", file("definition.kxd"), file(GetParam().sample)});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, Shipped_example,
                         ::testing::Values(Example{"png", "sample.png"}, Example{"bmp", "sample.bmp"},
                                           Example{"wav", "sample.wav"}, Example{"elf64", "sample.elf"},
                                           Example{"zip", "sample.zip"}, Example{"stl", "sample.stl"}),
                         [](const auto& info) { return info.param.name; });

TEST(Shipped_examples, EveryExampleFolderIsTested)
{
    EXPECT_EQ(folders_in(fs::path(KESTRIX_SOURCE_DIR) / "examples"), (std::vector<std::string>{"bmp", "elf64", "png", "stl", "wav", "zip"}));
}

// ---- feature folders ----

class Feature_folder : public ::testing::TestWithParam<std::string> {};

TEST_P(Feature_folder, ReportIsByteExact)
{
    const std::string folder = std::string(KESTRIX_SOURCE_DIR) + "/tests/data/" + GetParam();
    Temp_folder temp("examples");
    Cli_run run = run_cli(temp.path(), {"kxd", folder + "/definition.json", temp / "definition.kxd"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = run_cli(temp.path(), {"export", temp / "definition.kxd", folder + "/data.bin", temp / "report.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(file_contents(temp / "report.txt"), file_contents(folder + "/expected.txt"))
        << Bcl_str(file_contents(temp / "report.txt")).to_utf8();
}

INSTANTIATE_TEST_SUITE_P(Cases, Feature_folder,
                         ::testing::ValuesIn(folders_in(fs::path(KESTRIX_SOURCE_DIR) / "tests" / "data")),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
