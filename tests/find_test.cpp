// Find and the way down to a byte: the search's hits against a walk over the fully
// expanded tree, on every feature folder and on random definitions; the place of a
// byte; byte patterns against a plain search of the data.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "agreement/random_definition.h"
#include "analysis_helpers.h"
#include "cli_helpers.h"
#include "document/find.h"
#include "document/place_path.h"
#include "support/document_fixture.h"
#include "toolkit/exception.h"

using namespace analysis_test;

namespace {

// A hit as the tests compare it: the names from the top level down, joined by '/'.
std::string path_text(const std::vector<Component*>& path)
{
    std::string text;
    for (const Component* component : path)
        text += (text.empty() ? "" : "/") + component->name().bytes();
    return text;
}

class Find_test : public Document_test {
protected:
    std::vector<std::string> found(const Component_query& query)
    {
        std::vector<std::string> hits;
        std::vector<std::vector<int>> places;
        find_components(doc(), query, [&](const Component_hit& hit) {
            std::string text;
            for (const Bcl_str& name : hit.names)
                text += (text.empty() ? "" : "/") + name.bytes();
            hits.push_back(text);
            places.push_back(hit.indices);
            return true;
        });
        for (int i = 0; i < root()->child_count(); ++i)
            EXPECT_EQ(root()->child(i)->child_count(), 0) << "the search expanded " << i;
        // Each hit opens where it was found.
        for (std::size_t i = 0; i < hits.size(); ++i)
            EXPECT_EQ(path_text(open_hit(doc(), places[i])), hits[i]);
        for (int i = 0; i < root()->child_count(); ++i)
            root()->child(i)->clear_children();
        return hits;
    }
    // The same from the whole tree, expanded and kept.
    static std::vector<std::string> expected(const Component_query& query)
    {
        std::vector<std::string> hits;
        std::vector<Component*> path;
        const std::function<void(Component&)> walk = [&](Component& container) {
            for (int i = 0; i < container.child_count(); ++i) {
                Component* child = container.child(i);
                path.push_back(child);
                if (component_matches(*child, query))
                    hits.push_back(path_text(path));
                if (child->has_children() && child->child_count() == 0) {
                    try {
                        child->expand();
                    } catch (const Data_shortage&) {
                    }
                }
                walk(*child);
                path.pop_back();
            }
        };
        walk(*root());
        return hits;
    }
    // Every query of the check finds what the expanded tree holds, and leaves the
    // top level unexpanded as it found it.
    void expect_agreement(const std::string& context)
    {
        const std::vector<Component_query> queries = {
            {Component_query::Kind::name, ""}, {Component_query::Kind::name, "A"},
            {Component_query::Kind::value, "1"}, {Component_query::Kind::value, "0x0"},
            {Component_query::Kind::value, "z"}, {Component_query::Kind::name, "1"}};
        for (const Component_query& query : queries) {
            const std::vector<std::string> hits = found(query);
            ASSERT_EQ(hits, expected(query)) << context << " query " << query.text;
            doc().analyze();
        }
    }
};

} // namespace

TEST_F(Find_test, NamesMatchAnyCaseOfAsciiLettersAndNoTrailByteStartsAMatch)
{
    // "ソ" is 0x83 0x5C and "A" 0x41: "\\" and "A" must not match inside a kanji.
    define(int_item("Width", 1), int_item("ソ", 1), int_item("ア", 1));
    load_bytes(std::string("\x01\x02\x03", 3));
    EXPECT_EQ(found({Component_query::Kind::name, "wIDt"}), std::vector<std::string>{"Width"});
    EXPECT_EQ(found({Component_query::Kind::name, "\\"}), std::vector<std::string>{});
    EXPECT_EQ(found({Component_query::Kind::name, sj("ア").bytes()}), std::vector<std::string>{sj("ア").bytes()});
}

TEST_F(Find_test, ValuesMatchByTextOrByNumberSignedAsTheItem)
{
    define(int_item("s", 1, true), int_item("u", 1), int_item("h", 2, false, Def_int::hexadecimal),
           with_flag(int_item("f", 1), "low", 4), fix_str("t", 3), float_item("r", 4));
    load_bytes(std::string("\xFF\xFF\x01\x2A\x3F" "x42" "\x3D\xCC\xCC\xCD", 12));
    EXPECT_EQ(found({Component_query::Kind::value, "-1"}), std::vector<std::string>{"s"});
    EXPECT_EQ(found({Component_query::Kind::value, "255"}), std::vector<std::string>{"u"});
    EXPECT_EQ(found({Component_query::Kind::value, "0x12a"}), std::vector<std::string>{"h"});
    EXPECT_EQ(found({Component_query::Kind::value, "12Ah"}), std::vector<std::string>{"h"});
    // 0x3F: the integer 63 and its low flag 15; "42" is the string's text.
    EXPECT_EQ(found({Component_query::Kind::value, "15"}), std::vector<std::string>{"f/low"});
    EXPECT_EQ(found({Component_query::Kind::value, "42"}), std::vector<std::string>{"t"});
    // A float by its value text.
    EXPECT_EQ(found({Component_query::Kind::value, "0.1"}), std::vector<std::string>{"r"});
}

TEST_F(Find_test, ABlockIsFoundByItsTextAndItsBytesAsUndefinedBytesAre)
{
    define(bytes_item("blk", "2"));
    load_bytes(std::string("\x89\x50\x50", 3));
    EXPECT_EQ(found({Component_query::Kind::value, "89 50"}), std::vector<std::string>{"blk"});
    EXPECT_EQ(found({Component_query::Kind::value, "0x50"}),
              (std::vector<std::string>{"blk/[1]", sj("未定義").bytes() + "[0 - 0]/[0]"}));
}

// A string in another encoding is found by its characters, as Shift-JIS text.
TEST_F(Find_test, StringsInOtherEncodingsMatchByTheirCharacters)
{
    Def_null_str* wide = null_str("w");
    wide->set_encoding(Text_encoding::utf16le);
    define(wide, fix_str("t", 4));
    load_bytes(std::string("\x42\x30\x44\x30\0\0" "\x82\xA2xy", 10));
    EXPECT_EQ(found({Component_query::Kind::value, sj("い").bytes()}), (std::vector<std::string>{"w", "t"}));
}

TEST_F(Find_test, HitsAreThoseOfTheExpandedTreeOnEveryCase)
{
    for (const cli_test::Case_files& files : cli_test::every_case()) {
        const std::string definition = temp_path("definition.kxd");
        ASSERT_EQ(cli_test::run_cli(temp_path(""), {"kxd", files.definition_json, definition}).status, 0);
        doc().load_definition(File_path(definition));
        doc().load_data(File_path(files.data));
        expect_agreement(files.data);
    }
}

TEST_F(Find_test, HitsAreThoseOfTheExpandedTreeOnRandomDefinitions)
{
    for (unsigned seed = 0; seed < 150; ++seed) {
        const std::string bytes = seeded_choices(seed);
        Choices choices(bytes);
        doc().new_definition();
        build_random_definition(choices);
        load_bytes(random_data(choices, 200));
        expect_agreement("seed " + std::to_string(seed));
        if (HasFatalFailure())
            return;
    }
}

TEST_F(Find_test, StoppingOrCancellingLeavesTheTreeAsItWas)
{
    define(for_loop("L", "3000", int_item("v", 1)));
    load_bytes(std::string(3000, '\x07'));
    int hits = 0;
    EXPECT_EQ(find_components(doc(), {Component_query::Kind::value, "7"}, [&](const auto&) { return ++hits < 2; }),
              Find_end::stopped);
    EXPECT_EQ(hits, 2);
    EXPECT_EQ(find_components(doc(), {Component_query::Kind::name, "v"}, [](const auto&) { return true; },
                              [] { return true; }),
              Find_end::cancelled);
    EXPECT_EQ(root()->child(0)->child_count(), 0);
}

TEST_F(Find_test, APlaceIsWhatAClickSelects)
{
    define(int_item("n", 1, false, Def_int::decimal, "n"), for_loop("L", "n", int_item("a", 1), fix_str("s", 2)));
    load_bytes(std::string("\x02" "1bc" "2de" "z", 8));
    const auto at = [](std::uint64_t offset) { return path_text(place_path_of(doc(), offset)); };
    EXPECT_EQ(at(0), "n");
    EXPECT_EQ(at(5), "L/[1]/s");
    EXPECT_EQ(at(4), "L/[1]/a");
    // The byte after the loops is the undefined block's.
    EXPECT_EQ(at(7).rfind(path_text({root()->child(root()->child_count() - 1)}), 0), 0u);
    EXPECT_EQ(at(8), "");
}

TEST_F(Find_test, OffsetsAreDecimalOrHexadecimal)
{
    const std::vector<std::pair<const char*, std::optional<std::uint64_t>>> rows = {
        {"10", 10}, {" 0x1A2b ", 0x1A2B}, {"1A2Bh", 0x1A2B}, {"ffH", 255}, {"0", 0},
        {"", std::nullopt}, {"0x", std::nullopt}, {"h", std::nullopt}, {"-1", std::nullopt},
        {"12a", std::nullopt}, {"18446744073709551616", std::nullopt}, {"1 2", std::nullopt},
        {"0X1a2b", 0x1A2B}, {"0x100000000", 0x100000000}, {"+1", std::nullopt}, {"0x1Ah", std::nullopt},
        {"1A", std::nullopt}, {"0x 1", std::nullopt}};
    for (const auto& [text, value] : rows)
        EXPECT_EQ(parse_offset(text), value) << text;
    EXPECT_EQ(parse_hex_pattern("89 50 4e47"), std::string("\x89\x50\x4E\x47", 4));
    EXPECT_EQ(parse_hex_pattern("8 9"), std::nullopt);
    EXPECT_EQ(parse_hex_pattern(" "), std::nullopt);
}

TEST_F(Find_test, BytePatternsAreFoundWhereASearchOfTheDataFindsThem)
{
    const std::string choice_bytes = seeded_choices(7);
    Choices choices(choice_bytes);
    const std::string data = random_data(choices, 5000) + "\x89PNGPN";
    load_bytes(data);
    for (const std::string& pattern : {std::string("\x89PNG"), std::string("PN"), std::string(1, data[0]),
                                       std::string("\r\n"), std::string("GPNx")}) {
        std::vector<std::uint64_t> expected_hits;
        for (auto at = data.find(pattern); at != std::string::npos; at = data.find(pattern, at + 1))
            expected_hits.push_back(at);
        std::vector<std::uint64_t> hits;
        find_bytes(doc(), pattern, [&](std::uint64_t offset) {
            hits.push_back(offset);
            return true;
        });
        EXPECT_EQ(hits, expected_hits) << pattern;
    }
}
