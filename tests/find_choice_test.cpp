// The find bar's plain logic: which hit a search forwards or backwards goes to, with
// the wrap round the other end, what the bar's text is read as, its notes, and the
// search as a long operation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis_helpers.h"
#include "model/component.h"
#include "model/data_node.h"
#include "support/document_fixture.h"
#include "support/recording_reporter.h"
#include "ui/core/find_choice.h"
#include "ui/core/find_run.h"

using namespace analysis_test;

namespace {

struct Choice_case {
    std::optional<int> from;
    Find_direction direction;
    std::optional<int> chosen;
    std::uint64_t ordinal;
    bool wrapped;
    // Hits offered before the choice was made (the search stops there).
    std::uint64_t offered;
};

class Hit_choice_test : public testing::TestWithParam<Choice_case> {};

TEST_P(Hit_choice_test, TakesTheNearestHitPastTheSelectionAndGoesRoundOnce)
{
    const Choice_case& c = GetParam();
    Hit_choice<int> choice(c.from, c.direction);
    for (const int hit : {2, 5, 9})
        if (!choice.offer(hit))
            break;
    EXPECT_EQ(choice.seen(), c.offered);
    choice.finish();
    EXPECT_EQ(choice.chosen(), c.chosen);
    EXPECT_EQ(choice.ordinal(), c.ordinal);
    EXPECT_EQ(choice.wrapped(), c.wrapped);
}

constexpr auto next = Find_direction::next;
constexpr auto previous = Find_direction::previous;

INSTANTIATE_TEST_SUITE_P(Hits_2_5_9, Hit_choice_test,
                         testing::Values(Choice_case{std::nullopt, next, 2, 1, false, 1},
                                         Choice_case{4, next, 5, 2, false, 2},
                                         Choice_case{5, next, 9, 3, false, 3},
                                         Choice_case{9, next, 2, 1, true, 3},
                                         Choice_case{std::nullopt, previous, 9, 3, false, 3},
                                         Choice_case{5, previous, 2, 1, false, 2},
                                         Choice_case{6, previous, 5, 2, false, 3},
                                         Choice_case{10, previous, 9, 3, false, 3},
                                         Choice_case{2, previous, 9, 3, true, 3}));

TEST(Hit_choice, TreeOrderPutsAContainerBeforeItsChildrenAndNoHitsChooseNothing)
{
    Hit_choice<std::vector<int>> forwards(std::vector<int>{1}, next);
    for (const std::vector<int>& hit : {std::vector<int>{0, 3}, {1}, {1, 0}, {2}})
        if (!forwards.offer(hit))
            break;
    EXPECT_EQ(forwards.chosen(), (std::vector<int>{1, 0}));

    Hit_choice<std::vector<int>> backwards(std::vector<int>{1, 0}, previous);
    for (const std::vector<int>& hit : {std::vector<int>{0, 3}, {1}, {1, 0}, {2}})
        if (!backwards.offer(hit))
            break;
    EXPECT_EQ(backwards.chosen(), (std::vector<int>{1}));

    Hit_choice<int> none(3, next);
    none.finish();
    EXPECT_EQ(none.chosen(), std::nullopt);
}

TEST(Find_query, TextsAreReadAsTheirKindAndBadOnesGetAMessage)
{
    const Find_query name = make_find_query(Find_kind::name, "日付");
    ASSERT_TRUE(name.components);
    EXPECT_EQ(name.components->kind, Component_query::Kind::name);
    EXPECT_EQ(name.components->text, "\x93\xfa\x95\x74");  // Shift-JIS
    EXPECT_EQ(make_find_query(Find_kind::value, "0x1A").components->kind, Component_query::Kind::value);
    EXPECT_EQ(make_find_query(Find_kind::bytes, "89 50 4e47").bytes, "\x89PNG");
    const Find_query text = make_find_query(Find_kind::text, "アIHDR");
    EXPECT_FALSE(text.components);
    EXPECT_EQ(text.bytes, "\x83\x41IHDR");
    EXPECT_EQ(make_find_query(Find_kind::text, "a?").bytes, "a?");

    for (const auto& [kind, typed, error] :
         {std::tuple{Find_kind::name, "", "検索する文字列を入力してください。"},
          std::tuple{Find_kind::bytes, "", "検索する文字列を入力してください。"},
          std::tuple{Find_kind::bytes, "8 9", "バイト列は16進数2桁ずつで入力してください（例: 89 50 4E 47）。"},
          std::tuple{Find_kind::bytes, "PNG", "バイト列は16進数2桁ずつで入力してください（例: 89 50 4E 47）。"},
          std::tuple{Find_kind::text, "한", "シフトJISにない文字は検索できません。"},
          std::tuple{Find_kind::value, "a한", "シフトJISにない文字は検索できません。"}}) {
        const Find_query query = make_find_query(kind, typed);
        EXPECT_EQ(query.error, error) << typed;
        EXPECT_FALSE(query.components) << typed;
        EXPECT_TRUE(query.bytes.empty()) << typed;
    }
}

TEST(Find_query, BytesAreSearchedFromTheCaretOrPastTheSelectedHit)
{
    EXPECT_EQ(byte_search_from({0, std::nullopt}, next), std::nullopt);
    EXPECT_EQ(byte_search_from({5, std::nullopt}, next), 4u);  // a hit on the caret counts
    EXPECT_EQ(byte_search_from({5, 8}, next), 5u);
    EXPECT_EQ(byte_search_from({8, 5}, next), 5u);
    EXPECT_EQ(byte_search_from({5, std::nullopt}, previous), 5u);
    EXPECT_EQ(byte_search_from({8, 5}, previous), 5u);
}

TEST(Find_query, NotesSayWhatTheSearchFound)
{
    EXPECT_EQ(find_progress_text(0), "検索しています・・・");
    EXPECT_EQ(find_progress_text(12), "検索しています・・・（12 件）");
    EXPECT_EQ(find_result_text({Find_result::End::not_found, next, 0, false}), "見つかりません。");
    EXPECT_EQ(find_result_text({Find_result::End::cancelled, next, 0, false}), "検索を中止しました。");
    EXPECT_EQ(find_result_text({Find_result::End::found, next, 3, false}), "3 件目");
    EXPECT_EQ(find_result_text({Find_result::End::found, next, 1, true}), "1 件目（末尾まで検索したので先頭から続けました）");
    EXPECT_EQ(find_result_text({Find_result::End::found, previous, 7, true}),
              "7 件目（先頭まで検索したので末尾から続けました）");
}

class Find_run_test : public Document_test {};

// A search backwards from nothing walks every record of a table nobody opened: the
// progress moves, the count of hits is told as it grows and goes with the search.
TEST_F(Find_run_test, TheStatusBarShowsProgressAndHitsAndTheTreeStaysUnopened)
{
    define(for_loop("t", "3000", int_item("v", 1)));
    load_bytes(std::vector<std::uint8_t>(3000, 7));
    Recording_reporter progress;
    const Component_find found =
        run_component_find(doc(), {Component_query::Kind::name, "v"}, std::nullopt, Find_direction::previous);
    EXPECT_EQ(found.result.end, Find_result::End::found);
    EXPECT_EQ(found.result.ordinal, 3000u);
    EXPECT_EQ(doc().root_component()->child(0)->child_count(), 0);
    const std::vector<Component*> path = open_hit(doc(), found.indices);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back()->start()->position(), 2999u);
    EXPECT_FALSE(progress.percents.empty());
    ASSERT_GE(progress.texts.size(), 3u);
    EXPECT_EQ(progress.texts.front(), "検索しています・・・");
    EXPECT_NE(std::find(progress.texts.begin(), progress.texts.end(), "検索しています・・・（1 件）"), progress.texts.end());
    EXPECT_EQ(progress.texts.back(), "");

    const Byte_find bytes = run_byte_find(doc(), "\x08", 5u, Find_direction::next);
    EXPECT_EQ(bytes.result.end, Find_result::End::not_found);
    EXPECT_EQ(progress.texts.back(), "");
}

} // namespace
