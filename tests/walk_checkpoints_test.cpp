// The checkpoints of the analysis change no result: a replay that goes on from the
// last checkpoint before its stop byte leaves the tables, the byte and the ending
// that the replay from the first byte leaves; expansions render the same tree; and
// the analysis that goes on after data changes gives the tree of a fresh one.
// Chosen layouts, every feature folder and example, and random definitions (with
// assignments and definition sets inside loops) over random data and random edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>

#include "agreement/random_definition.h"
#include "analysis_helpers.h"
#include "cli_helpers.h"
#include "engine/analysis.h"
#include "support/definition_dump.h"
#include "support/document_fixture.h"

using namespace analysis_test;

namespace {

constexpr std::size_t max_tree_lines = 20000;

int random_runs(int fallback)
{
    const char* steps = std::getenv("KESTRIX_RANDOM_STEPS");
    return steps ? std::max(1, std::atoi(steps)) : fallback;
}

class Walk_checkpoints_test : public Document_test {
protected:
    void TearDown() override
    {
        doc().checkpoints().set_interval(Walk_checkpoints::default_interval);
        Document_test::TearDown();
    }

    // Analyses again with a checkpoint every `interval` bytes (0: none).
    static void analyze_with_interval(std::uint32_t interval)
    {
        doc().checkpoints().set_interval(interval);
        doc().analyze();
    }

    // The replay up to the byte at `position` (the end: no stop byte) from the
    // first byte, and from the last checkpoint before it, must leave the same
    // tables and end the same way.
    static std::string replay_difference(std::uint32_t position)
    {
        Data_node* stop = doc().node_at(position);
        const Walk_checkpoint* from = doc().checkpoints().last_before(stop ? position : doc().size() + 1ull);
        const Replay_end full_end = replay_items(doc().mutable_definition_items(), doc().first_node(), stop, nullptr);
        const Walk_tables full = doc().tables();
        const Replay_end resumed_end = replay_items(doc().mutable_definition_items(), doc().first_node(), stop, from);
        if (!(doc().tables() == full))
            return "the tables differ when replaying to " + std::to_string(position);
        if (!(resumed_end == full_end))
            return "the replay ends elsewhere when replaying to " + std::to_string(position);
        return "";
    }

    // Every stop byte of the data, and none.
    static std::string every_replay_difference()
    {
        for (std::uint32_t position = 0; position <= doc().size(); ++position) {
            const std::string found = replay_difference(position);
            if (!found.empty())
                return found;
        }
        return "";
    }

    // The tree expanded down to `depth`, at most max_tree_lines lines (UTF-8).
    static std::string expanded_tree(int depth)
    {
        std::string out;
        std::size_t lines = 0;
        render_tree(*doc().root_component(), depth, [&](const Tree_line& line) {
            if (++lines <= max_tree_lines)
                out += tree_line_text(line.depth, line.name.view(), line.value.view());
        });
        return Bcl_str(out).to_utf8();
    }

    // The expanded tree with checkpoints every `interval` bytes, and without any.
    static void expect_same_tree(std::uint32_t interval, int depth, const std::string& context)
    {
        analyze_with_interval(0);
        const std::string plain = expanded_tree(depth);
        analyze_with_interval(interval);
        EXPECT_EQ(expanded_tree(depth), plain) << context;
    }

    // A random definition (assignments and sets anywhere) and up to 300 bytes of
    // data from `seed`, loaded with a checkpoint every `interval` bytes; returns what
    // to show when a check fails.
    std::string load_random_case(int seed, std::uint32_t interval)
    {
        const std::string bytes = seeded_choices(static_cast<unsigned>(seed));
        Choices choices(bytes);
        doc().new_definition();
        build_random_walk_definition(choices);
        doc().checkpoints().set_interval(interval);
        load_bytes(random_data(choices, 300));
        return "seed " + std::to_string(seed) + "\n" + dump_definition(doc().mutable_definition_items());
    }

    // Everything above for the document's definition and data.
    static void expect_checkpoints_change_nothing(std::uint32_t interval, int depth, const std::string& context)
    {
        expect_same_tree(interval, depth, context);
        analyze_with_interval(interval);
        EXPECT_EQ(every_replay_difference(), "") << context;
    }
};

// ---- chosen layouts ----

struct Layout {
    const char* label;
    std::function<void()> define_items;
    std::string data;
    // At least this many checkpoints, so that the comparison has something to compare.
    std::size_t checkpoints;
};

std::string counted_records(int count)
{
    std::string data(1, static_cast<char>(count));
    for (int i = 0; i < count; ++i)
        data += std::string{static_cast<char>(i), static_cast<char>(i % 3), 'x'};
    return data;
}

TEST_F(Walk_checkpoints_test, ChosenLayoutsReplayAndExpandAlikeWithCheckpoints)
{
    const std::string bytes_1_to_200 = [] {
        std::string data;
        for (int i = 1; i <= 200; ++i)
            data += static_cast<char>(i % 7 + 1);
        return data;
    }();
    const std::vector<Layout> rows = {
        {"a counted loop of records",
         [] { define(int_item("n", 1, false, Def_int::decimal, "n"),
                     for_loop("L", "n", int_item("a", 1), int_item("b", 1, false, Def_int::decimal, "b"),
                              fix_str("s", 1))); },
         counted_records(60), 8},
        {"a While loop whose condition reads a variable set inside",
         [] { define(set_var("c", "0"),
                     while_loop("W", "c < 150", int_item("v", 1, false, Def_int::decimal, "v"),
                                set_var("c", "c + 1")),
                     int_item("after", 1)); },
         bytes_1_to_200, 8},
        {"an assignment at the start of every iteration",
         [] { define(for_loop("L", "100", set_var("c", "c + 1"), int_item("v", 1)), int_item("c", 1)); },
         bytes_1_to_200, 8},
        {"nested loops",
         [] { define(for_loop("outer", "20", int_item("k", 1, false, Def_int::decimal, "k"),
                              for_loop("inner", "k % 4", int_item("v", 1)),
                              while_loop("w", "k > 3", set_var("k", "k - 2"), int_item("u", 1)))); },
         bytes_1_to_200, 8},
        {"definition sets registered inside the loop",
         [] {
             auto* branch = new Def_if(sj("k % 2"));
             branch->insert_then_child(std::unique_ptr<Define>(def_set("S", fix_str("other", 2))), nullptr);
             define(for_loop("L", "60", int_item("k", 1, false, Def_int::decimal, "k"), ref("r", "S"),
                             def_set("S", int_item("in_s", 1)), branch));
         },
         bytes_1_to_200, 8},
        {"references at their bounds: a set referring twice to itself",
         [] { define(def_set("A", ref("a1", "A"), ref("a2", "A")),
                     for_loop("L", "100", ref("top", "A"), int_item("v", 1))); },
         bytes_1_to_200, 8},
        {"a For loop of 3000 records, in groups",
         [] { define(for_loop("L", "3000", int_item("v", 1, false, Def_int::decimal, "v"),
                              for_loop("inner", "v % 3 - 1", int_item("u", 1)))); },
         std::string(6000, '\x04'), 8},
        {"a While loop of 3000 records, in groups",
         [] { define(set_var("c", "0"), while_loop("W", "c < 3000", set_var("c", "c + 1"),
                                                   for_loop("inner", "c % 3 + 1", int_item("u", 1)))); },
         std::string(7000, '\x01'), 8},
        {"grouped iterations that start with an assignment: expansions walk another way",
         [] { define(for_loop("L", "2500", set_var("c", "c + 1"), for_loop("inner", "c % 3", int_item("u", 1)),
                              int_item("v", 1))); },
         [] {
             std::string data;
             for (int i = 0; i < 6000; ++i)
                 data += static_cast<char>(i % 251);
             return data;
         }(),
         8},
        {"a data shortage inside the loop",
         [] { define(for_loop("L", "1000", int_item("v", 2), null_str("s"))); },
         [] {
             std::string data;
             for (int i = 0; i < 40; ++i)
                 data += std::string("\x01\x02" "ab\0", 5);
             return data + "tail";
         }(),
         4},
        {"top-level items one after the other, then undefined bytes",
         [] { define(int_item("a", 4), set_var("c", "3"), fix_str("s", 40), for_loop("L", "c", fix_str("t", 20)),
                     int_item("b", 2), null_str("z")); },
         std::string(60, 'a') + std::string(1, '\0') + bytes_1_to_200, 4},
    };
    for (const Layout& row : rows) {
        SCOPED_TRACE(row.label);
        doc().new_definition();
        row.define_items();
        load_bytes(row.data);
        for (const std::uint32_t interval : {2u, 16u}) {
            analyze_with_interval(interval);
            EXPECT_GE(doc().checkpoints().points().size(), row.checkpoints / std::max(1u, interval / 4));
            expect_checkpoints_change_nothing(interval, 4, row.label);
        }
    }
}

// Loops (For and While) of over a million iterations: the table's groups hold groups, whose ends
// an expansion takes from the analysis' marks once its walk is seen to be the
// analysis's, and catches the tables up from a checkpoint before walking on.
TEST_F(Walk_checkpoints_test, GroupsOfGroupsExpandAsTheFullWalk)
{
    struct Row {
        const char* label;
        std::function<void()> define_items;
    };
    const std::vector<Row> rows = {
        {"iterations that read first",
         [] { define(for_loop("L", "1050000", int_item("v", 1, false, Def_int::decimal, "v"),
                              for_loop("inner", "v % 2", int_item("u", 1))),
                     int_item("after", 1)); }},
        {"iterations that start with an assignment: the expansion walks another way",
         [] { define(for_loop("L", "1050000", set_var("c", "c + 1"), int_item("v", 1, false, Def_int::decimal, "v"),
                              for_loop("inner", "(v + c) % 2", int_item("u", 1))),
                     int_item("after", 1)); }},
        {"a While loop that counts its iterations in a variable",
         [] { define(set_var("c", "0"),
                     while_loop("W", "c < 1050000", set_var("c", "c + 1"),
                                int_item("v", 1, false, Def_int::decimal, "v"),
                                for_loop("inner", "(v + c) % 2", int_item("u", 1))),
                     int_item("after", 1)); }},
    };
    std::string data(1600000, '\0');
    std::mt19937 random(7);
    for (char& byte : data)
        byte = static_cast<char>(random());
    // The children of each expansion with their bytes, and the tables it leaves.
    const auto expansions = [] {
        std::string out;
        const auto expand = [&out](Component* component) {
            component->expand();
            out += line(component) + " expanded\n";
            for (int i = 0; i < component->child_count(); ++i) {
                Component* child = component->child(i);
                out += line(child) + " " + std::to_string(doc().position_of(child->start())) + "-" +
                       std::to_string(doc().position_of(child->end())) + "\n";
            }
            out += "v=" + std::to_string(doc().get_variable("v")) + " c=" + std::to_string(doc().get_variable("c")) + "\n";
        };
        Component* table = doc().root_component()->child(0);
        expand(table);
        for (int i = 0; i < table->child_count(); ++i)
            expand(table->child(i));
        Component* last_group = table->child(table->child_count() - 1);
        expand(last_group->child(last_group->child_count() - 1));
        Component* first_group = table->child(0);
        expand(first_group->child(first_group->child_count() - 1));
        return out;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        doc().new_definition();
        row.define_items();
        load_bytes(data);
        analyze_with_interval(0);
        const std::string plain = expansions();
        for (const std::uint32_t interval : {4096u, Walk_checkpoints::default_interval}) {
            analyze_with_interval(interval);
            EXPECT_EQ(doc().checkpoints().marks().size(), 1026u);
            EXPECT_EQ(expansions(), plain) << interval;
        }
    }
}

// ---- every feature folder and shipped example ----

class Walk_checkpoints_on_case : public Walk_checkpoints_test,
                                 public ::testing::WithParamInterface<cli_test::Case_files> {};

TEST_P(Walk_checkpoints_on_case, ReplaysAndExpansionsAreThoseOfTheFullWalk)
{
    const std::string definition = temp_path("definition.kxd");
    const cli_test::Cli_run run = cli_test::run_cli(temp_path(""), {"kxd", GetParam().definition_json, definition});
    ASSERT_EQ(run.status, 0) << run.err;
    doc().load_definition(File_path(definition));
    doc().load_data(File_path(GetParam().data));
    for (const std::uint32_t interval : {1u, 32u})
        expect_checkpoints_change_nothing(interval, 3, GetParam().data);
}

INSTANTIATE_TEST_SUITE_P(Folders, Walk_checkpoints_on_case, ::testing::ValuesIn(cli_test::every_case()),
                         [](const auto& info) {
                             std::string name = std::filesystem::path(info.param.definition_json)
                                                    .parent_path()
                                                    .filename()
                                                    .string();
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// ---- random definitions over random data ----

TEST_F(Walk_checkpoints_test, RandomDefinitionsReplayAndExpandAlike)
{
    const int runs = random_runs(300);
    for (int seed = 0; seed < runs; ++seed) {
        const auto interval = 1 + static_cast<std::uint32_t>(seed % 9);
        const std::string context = load_random_case(seed, interval);
        expect_checkpoints_change_nothing(interval, 4, context);
        if (HasFailure())
            return;
    }
}

// ---- the analysis after data changes ----

// One random change of the data: a value change, an insertion or a deletion,
// somewhere in the data (or at its end).
void change_data_at_random(Data_mgr& document, std::mt19937& random)
{
    const std::uint32_t size = document.size();
    const auto position = static_cast<std::uint32_t>(random() % (size + 1));
    switch (random() % 4) {
    case 0:
        document.insert_bytes(position, 1 + random() % 3);
        break;
    case 1:
        document.delete_bytes(position, 1 + random() % 3);
        break;
    default:
        if (Data_node* node = document.node_at(position))
            document.change_value(node, 1, random() % 256, -1);
        else
            document.insert_bytes(position, 1);
    }
}

TEST_F(Walk_checkpoints_test, AnalysisAfterDataChangesIsAFreshAnalysis)
{
    const auto mark_places = [] {
        std::vector<std::pair<std::uint64_t, const Data_node*>> places;
        for (const Walk_mark& mark : doc().checkpoints().marks())
            places.emplace_back(mark.done, mark.cur);
        return places;
    };
    const int runs = random_runs(150);
    for (int seed = 0; seed < runs; ++seed) {
        const std::string context = load_random_case(seed, 1 + static_cast<std::uint32_t>(seed % 5));
        std::mt19937 random(static_cast<std::uint32_t>(seed));
        for (int step = 0; step < 6; ++step) {
            // Expanded first, as a user would have: the expansions made before a change must not stay.
            (void)expanded_tree(2);
            for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n)
                change_data_at_random(doc(), random);
            if (random() % 3 == 0)
                doc().undo_data();
            else
                doc().analyze_changed_data();
            const std::string resumed = expanded_tree(4);
            std::vector<std::uint32_t> resumed_points;
            for (const Walk_checkpoint& point : doc().checkpoints().points())
                resumed_points.push_back(point.position);
            const auto resumed_marks = mark_places();
            doc().analyze();
            ASSERT_EQ(resumed, expanded_tree(4)) << context << "step " << step;
            std::vector<std::uint32_t> fresh_points;
            for (const Walk_checkpoint& point : doc().checkpoints().points())
                fresh_points.push_back(point.position);
            ASSERT_EQ(resumed_points, fresh_points) << context << "step " << step;
            ASSERT_EQ(resumed_marks, mark_places()) << context << "step " << step;
        }
    }
}

TEST_F(Walk_checkpoints_test, AnalysisAfterAChangeOfSizeReadsTheNewRest)
{
    // "_rest" read at the first byte sets the loop's count, so every checkpoint
    // depends on the data's size, wherever the change: the analysis after it is a
    // fresh one, not one resumed with the old count.
    define(set_var("n", "_rest / 2"), for_loop("L", "n", int_item("v", 2)),
           while_loop("W", "_rest > 0", int_item("w", 1)));
    const std::vector<std::function<void()>> changes = {
        [] { doc().delete_bytes(18, 2); }, [] { doc().insert_bytes(17, 3); }, [] { doc().insert_bytes(0, 1); }};
    for (const auto& change : changes) {
        doc().checkpoints().set_interval(4);
        load_bytes(std::string(20, '\x01'));
        change();
        doc().analyze_changed_data();
        const std::string resumed = expanded_tree(3);
        doc().analyze();
        EXPECT_EQ(resumed, expanded_tree(3)) << &change - changes.data();
    }
}

TEST_F(Walk_checkpoints_test, ChangesOfTheDefinitionOrSettingsDropTheCheckpoints)
{
    define(int_item("h", 2), for_loop("L", "50", int_item("v", 2)));
    doc().checkpoints().set_interval(4);
    std::string data;
    for (int i = 0; i < 51; ++i)
        data += "\x01\x02";
    load_bytes(data);
    ASSERT_FALSE(doc().checkpoints().points().empty());
    doc().set_byte_order(little);
    EXPECT_TRUE(doc().checkpoints().points().empty());
    // Nothing to go on from: the analysis starts at the first byte, little-endian.
    doc().analyze_changed_data();
    EXPECT_EQ(line(doc().root_component()->child(0)), "h\t513");
    Component* table = doc().root_component()->child(1);
    table->expand();
    ASSERT_EQ(table->child_count(), 50);
    EXPECT_EQ(tree(3, table->child(49)), "[49]\t...\n  v\t513\n");
}

} // namespace
