// Randomized edits of both sides, then everything undone and redone: the data must
// come back byte for byte, the definition must save to the same file, and no node
// or item may be lost or released twice on the way.
//
// The seeds are fixed; every failure names its seed and step. KESTRIX_RANDOM_STEPS
// raises the number of steps for a longer run.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "edit/definition_edits.h"
#include "model/cmp_float.h"
#include "model/cmp_int.h"
#include "model/cmp_str.h"
#include "model/items.h"
#include "support/definition_dump.h"
#include "support/document_fixture.h"
#include "support/temp_files.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t block = Data_mgr::skip_block;

int steps_or(int fallback)
{
    const char* text = std::getenv("KESTRIX_RANDOM_STEPS");
    return text ? std::max(1, std::atoi(text)) : fallback;
}

// A byte that is a Shift-JIS lead byte about one time in four, never 0 unless asked.
std::uint8_t random_byte(std::mt19937& rng, bool allow_zero)
{
    const std::uint8_t leads[] = {0x81, 0x9F, 0xE0, 0xFC, 0x82};
    if (rng() % 4 == 0)
        return leads[rng() % std::size(leads)];
    const std::uint8_t byte = static_cast<std::uint8_t>(rng());
    return byte == 0 && !allow_zero ? 'z' : byte;
}

Bcl_str random_text(std::mt19937& rng, std::size_t max_length)
{
    std::string text(rng() % (max_length + 1), '\0');
    for (char& c : text)
        c = static_cast<char>(random_byte(rng, false));
    return Bcl_str(text);
}

// Collects the value components of the first level, and the flags of integers.
// Components cut short by the end of the data (no end byte) are left out.
void collect_editable(Component& root, std::vector<Component*>& out)
{
    for (int i = 0; i < root.child_count(); ++i) {
        Component* c = root.child(i);
        if (!c->start() || !c->end())
            continue;
        if (auto* integer = dynamic_cast<Cmp_integer*>(c)) {
            out.push_back(integer);
            if (integer->has_flags()) {
                if (integer->child_count() == 0)
                    integer->expand();
                for (int f = 0; f < integer->child_count(); ++f)
                    out.push_back(integer->child(f));
            }
        } else if (dynamic_cast<Cmp_fix_str*>(c) || dynamic_cast<Cmp_flex_str*>(c) || dynamic_cast<Cmp_null_str*>(c) ||
                   dynamic_cast<Cmp_float*>(c)) {
            out.push_back(c);
        }
    }
}

bool has_top_level_component_at(const Data_node* node)
{
    const Component* root = Data_mgr::instance().root_component();
    for (int i = 0; i < root->child_count(); ++i)
        if (root->child(i)->start() == node)
            return true;
    return false;
}

} // namespace

// ---- data ----

class Random_data_test : public Document_test {
protected:
    // One recorded data command as the test expects it: how many nodes it owns in
    // each state, and the first node its change created (null for a deletion).
    struct Step {
        std::size_t owned_done = 0;
        std::size_t owned_undone = 0;
        Data_node* created = nullptr;
        bool component = false;  // made through a component: a component starts there
        Bytes snapshot;          // the data after the step, kept for some steps
    };

    std::vector<Step> undo_model_;
    std::vector<Step> redo_model_;

    [[nodiscard]] std::size_t owned() const
    {
        std::size_t total = 0;
        for (const Step& step : undo_model_)
            total += step.owned_done;
        for (const Step& step : redo_model_)
            total += step.owned_undone;
        return total;
    }

    // Cheap checks for every step: each skip entry names the node at its position
    // and is linked to its predecessor, and the pool holds exactly the document's
    // nodes, the head and what the commands own.
    void check_step() const
    {
        const Data_mgr& d = doc();
        for (std::uint32_t k = 0; std::uint64_t(k) * block < d.size(); ++k) {
            const Skip_entry entry = d.skip_entry(k * block);
            ASSERT_NE(entry.node, nullptr) << "block " << k;
            ASSERT_EQ(entry.node->position(), k * block) << "block " << k;
            if (k > 0) {
                ASSERT_EQ(entry.node->prev()->position(), k * block - 1) << "block " << k;
            }
        }
        ASSERT_EQ(Byte_store::live_count(), d.size() + 1 + owned());
    }
};

// One run: the items start after `pad` bytes and are followed by `tail` undefined
// bytes; most changes fall around the items' start.
struct Data_run {
    const char* name;
    unsigned seed;
    std::uint32_t pad;
    std::uint32_t tail;
    int steps;
};

class Random_data_runs : public Random_data_test, public ::testing::WithParamInterface<Data_run> {};

// Each undo and redo analyses the whole data again, so the run over more than a
// block of data takes fewer steps than the one over a few kilobytes.
INSTANTIATE_TEST_SUITE_P(Runs, Random_data_runs,
                         ::testing::Values(Data_run{"ThousandsOfStepsOnSmallData", 20240611, 40, 2000, 3000},
                                           Data_run{"AcrossTheFirstBlockBoundary", 77003, block + 8, 3000, 300}),
                         [](const ::testing::TestParamInfo<Data_run>& info) { return std::string(info.param.name); });

TEST_P(Random_data_runs, RandomChangesAreUndoneAndRedoneByteForByte)
{
    const Data_run run = GetParam();
    SCOPED_TRACE("seed " + std::to_string(run.seed));
    std::mt19937 rng(run.seed);

    // A fixed string pads the data up to the other items, which are of every kind.
    const std::uint32_t pad = run.pad;
    doc().insert_item(std::make_unique<Def_fix_str>(Bcl_str("pad"), static_cast<int>(pad)), nullptr);
    auto* a = new Def_int(Bcl_str("a"), false, 1, Def_int::decimal, Bcl_str());
    a->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("a0"), 3, Bcl_str()));
    a->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("a1"), 2, Bcl_str()));
    doc().insert_item(std::unique_ptr<Define>(a), nullptr);
    doc().insert_item(std::make_unique<Def_int>(Bcl_str("b"), true, 2, Def_int::decimal, Bcl_str()), nullptr);
    doc().insert_item(std::make_unique<Def_flex_str>(Bcl_str("f1"), 1), nullptr);
    doc().insert_item(std::make_unique<Def_null_str>(Bcl_str("n1")), nullptr);
    auto* c = new Def_int(Bcl_str("c"), false, 4, Def_int::hexadecimal, Bcl_str());
    c->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("c0"), 1, Bcl_str()));
    c->add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("c1"), 7, Bcl_str()));
    doc().insert_item(std::unique_ptr<Define>(c), nullptr);
    doc().insert_item(std::make_unique<Def_fix_str>(Bcl_str("x"), 6), nullptr);
    doc().insert_item(std::make_unique<Def_flex_str>(Bcl_str("f2"), 2), nullptr);
    doc().insert_item(std::make_unique<Def_null_str>(Bcl_str("n2")), nullptr);
    doc().insert_item(std::make_unique<Def_int>(Bcl_str("d"), false, 2, Def_int::decimal, Bcl_str()), nullptr);
    doc().insert_item(std::make_unique<Def_float>(Bcl_str("e"), 4), nullptr);

    std::string bytes;
    for (std::uint32_t i = 0; i < pad; ++i)
        bytes += static_cast<char>(random_byte(rng, true));
    // a, b, f1 = "ab", n1 = "xyz", c, x, f2 = "q", n2 = "", d, e = 1
    const std::string items("\x11" "\x80\x01" "\x02" "ab" "xyz\0" "\x01\x02\x03\x04" "abcdef" "\x00\x01" "q" "\0" "\x12\x34"
                            "\x3F\x80\x00\x00",
                            1 + 2 + 3 + 4 + 4 + 6 + 3 + 1 + 2 + 4);
    bytes += items;
    for (std::uint32_t i = 0; i < run.tail; ++i)
        bytes += static_cast<char>(random_byte(rng, true));
    load_bytes(bytes);
    const Bytes original = data_bytes();
    check_step();

    const int steps = steps_or(run.steps);
    constexpr int full_check_every = 100;
    bool analysed = true;  // the component tree matches the data
    for (int i = 0; i < steps; ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        // Now and then go back a few steps first, so that the next change drops a
        // redo side with nodes in it.
        if (rng() % 20 == 0) {
            for (int back = 1 + int(rng() % 5); back > 0 && doc().can_undo_data(); --back) {
                doc().undo_data();
                redo_model_.push_back(std::move(undo_model_.back()));
                undo_model_.pop_back();
                ASSERT_NO_FATAL_FAILURE(check_step());
            }
            analysed = true;
            if (rng() % 2 == 0)
                continue;  // leave the redo side for the next step to drop
        }
        const std::size_t live_before = Byte_store::live_count();
        const std::size_t size_before = doc().size();
        std::size_t dropped = 0;
        for (const Step& step : redo_model_)
            dropped += step.owned_undone;

        Step step;
        const unsigned choice = rng() % 100;
        std::vector<Component*> editable;
        if (choice >= 45) {
            if (!analysed)
                doc().analyze();
            analysed = true;
            collect_editable(*doc().root_component(), editable);
            std::erase_if(editable, [&](Component* c) { return c->start() == doc().first_node(); });  // not the pad
        }
        if (!editable.empty()) {
            Component* target = editable[rng() % editable.size()];
            if (auto* integer = dynamic_cast<Cmp_integer*>(target))
                integer->set_value(static_cast<int>(rng()));
            else if (auto* flag = dynamic_cast<Cmp_bitflag*>(target))
                flag->set_value(static_cast<int>(rng()));
            else if (auto* fix = dynamic_cast<Cmp_fix_str*>(target))
                fix->set_text(random_text(rng, 8));
            else if (auto* flex = dynamic_cast<Cmp_flex_str*>(target))
                flex->set_text(random_text(rng, 8));
            else if (auto* null = dynamic_cast<Cmp_null_str*>(target))
                null->set_text(random_text(rng, 8));
            else if (auto* real = dynamic_cast<Cmp_float*>(target))
                real->set_value(static_cast<double>(static_cast<std::int32_t>(rng())) / 7);
            step.created = target->start();
            step.component = true;
            // Allocated: the new run. Released: the dropped redo side.
            const std::size_t new_count = Byte_store::live_count() + dropped - live_before;
            step.owned_undone = new_count;
            step.owned_done = new_count + size_before - doc().size();
            // The other components may still hold the replaced nodes: analyse
            // again before the next change through a component.
            analysed = false;
        } else {
            // Mostly among and after the items; often right around their start
            // (the block boundary in the large run); rarely anywhere.
            const unsigned where = rng() % 100;
            std::uint32_t position;
            const std::uint32_t size = doc().size();
            const std::uint32_t near = pad > 200 ? pad - 200 : 0;
            if (where < 5)
                position = rng() % (size + 1);
            else if (where < 35)
                position = std::min<std::uint32_t>(size, static_cast<std::uint32_t>(pad > 64 ? pad - 64 + rng() % 128 : rng() % 128));
            else
                position = near + rng() % (std::max(size, near) - near + 1);
            const std::uint32_t count = 1 + rng() % 8;
            // String edits can swallow many bytes (a NUL-terminated string whose
            // terminator was deleted): insert more while the data is short.
            if (rng() % 2 || position >= size || size < original.size() * 3 / 4) {
                step.created = doc().insert_bytes(position, count);
                step.owned_undone = count;
            } else {
                doc().delete_bytes(position, count);
                step.owned_done = size_before - doc().size();
            }
            analysed = false;
        }
        if (i % full_check_every == 0)
            step.snapshot = data_bytes();
        redo_model_.clear();
        undo_model_.push_back(std::move(step));
        ASSERT_NO_FATAL_FAILURE(check_step());
        if (i % full_check_every == 0) {
            ASSERT_NO_FATAL_FAILURE(expect_consistent());
        }
    }
    ASSERT_NO_FATAL_FAILURE(expect_consistent());
    // Finish the redo side the forward pass may have left.
    while (doc().can_redo_data()) {
        doc().redo_data();
        undo_model_.push_back(std::move(redo_model_.back()));
        redo_model_.pop_back();
    }
    const Bytes final_bytes = data_bytes();

    // Undo everything, checking the snapshots on the way.
    for (std::size_t i = undo_model_.size(); i-- > 0;) {
        SCOPED_TRACE("undo of step " + std::to_string(i));
        if (!undo_model_.back().snapshot.empty()) {
            ASSERT_TRUE(data_bytes() == undo_model_.back().snapshot);
        }
        doc().undo_data();
        redo_model_.push_back(std::move(undo_model_.back()));
        undo_model_.pop_back();
        ASSERT_NO_FATAL_FAILURE(check_step());
        if (i % full_check_every == 0) {
            ASSERT_NO_FATAL_FAILURE(expect_consistent());
        }
    }
    EXPECT_FALSE(doc().can_undo_data());
    ASSERT_NO_FATAL_FAILURE(expect_consistent());
    ASSERT_TRUE(data_bytes() == original);

    // Redo everything: each step shows, and the new analysis uses, the very nodes
    // its change created.
    for (std::size_t i = 0; !redo_model_.empty(); ++i) {
        SCOPED_TRACE("redo of step " + std::to_string(i));
        const Data_place place = doc().redo_data();
        Step& step = redo_model_.back();
        if (step.created) {
            ASSERT_EQ(place.node, step.created);
            if (step.component) {
                ASSERT_TRUE(has_top_level_component_at(step.created));
            }
        }
        undo_model_.push_back(std::move(step));
        redo_model_.pop_back();
        ASSERT_NO_FATAL_FAILURE(check_step());
        if (!undo_model_.back().snapshot.empty()) {
            ASSERT_TRUE(data_bytes() == undo_model_.back().snapshot);
        }
    }
    ASSERT_NO_FATAL_FAILURE(expect_consistent());
    ASSERT_TRUE(data_bytes() == final_bytes);
}

// ---- definition ----

namespace {

struct Place_choice {
    Define* parent;
    bool branch;
    Item_span list;
};

// Every list of the definition: the top level, then each container's lists.
void collect_lists(Item_span list, Define* parent, bool branch, std::vector<Place_choice>& lists,
                   std::vector<std::pair<Define*, bool>>& items)
{
    lists.push_back({parent, branch, list});
    for (Define* item : list) {
        items.push_back({item, branch});
        if (auto* choice = dynamic_cast<Def_if*>(item)) {
            collect_lists(choice->then_children(), item, true, lists, items);
            collect_lists(choice->else_children(), item, false, lists, items);
        } else if (auto* container = dynamic_cast<Def_container*>(item)) {
            collect_lists(container->children(), item, false, lists, items);
        }
    }
}

Named_values random_table(std::mt19937& rng)
{
    Named_values table;
    for (int n = int(rng() % 3); n > 0; --n)
        table[static_cast<std::int32_t>(rng() % 5) - 2] = random_text(rng, 4);
    return table;
}

std::unique_ptr<Def_int> random_int(std::mt19937& rng)
{
    const int sizes[] = {1, 2, 4, 8};
    auto item = std::make_unique<Def_int>(random_text(rng, 5), rng() % 2 == 0, sizes[rng() % 4], int(rng() % 2),
                                          random_text(rng, 3));
    item->set_named_values(random_table(rng));
    for (int n = int(rng() % 4); n > 0; --n) {
        auto flag = std::make_unique<Def_bitflag>(random_text(rng, 4), 1 + int(rng() % 4), random_text(rng, 2));
        flag->set_named_values(random_table(rng));
        item->add_bit_flag(std::move(flag));
    }
    return item;
}

std::unique_ptr<Define> random_item(std::mt19937& rng)
{
    const int sizes[] = {1, 2, 4};
    switch (rng() % 12) {
    case 0: return random_int(rng);
    case 1: return std::make_unique<Def_fix_str>(random_text(rng, 5), int(rng() % 20));
    case 2: return std::make_unique<Def_flex_str>(random_text(rng, 5), sizes[rng() % 3]);
    case 3: return std::make_unique<Def_null_str>(random_text(rng, 5));
    case 4: return std::make_unique<Def_if>(random_text(rng, 5));
    case 5: return std::make_unique<Def_for>(random_text(rng, 5), Bcl_str(std::to_string(rng() % 3)));
    case 6: return std::make_unique<Def_while>(random_text(rng, 5), Bcl_str("0"));
    case 7: return std::make_unique<Def_set_variable>(random_text(rng, 3), random_text(rng, 5));
    case 8: return std::make_unique<Def_def_set>(random_text(rng, 5));
    case 9: return std::make_unique<Def_float>(random_text(rng, 5), rng() % 2 ? 8 : 4);
    case 10: return std::make_unique<Def_bytes>(random_text(rng, 5), random_text(rng, 3));
    default: return std::make_unique<Def_def_ref>(random_text(rng, 5), random_text(rng, 5));
    }
}

// Edits an item through its dialog's sequence with random new values.
void random_edit(Data_mgr& document, std::mt19937& rng, Define* item)
{
    using namespace definition_edits;
    const int sizes[] = {1, 2, 4};
    const auto encoding = [&rng] { return static_cast<Text_encoding>(rng() % text_encoding_count); };
    const char* lengths[] = {"3", "n % 7", "300"};
    if (auto* i = dynamic_cast<Def_int*>(item))
        edit_int(document, *i, *random_int(rng));
    else if (auto* fix = dynamic_cast<Def_fix_str*>(item))
        edit_item(document, *fix, Fix_str_fields{random_text(rng, 5), Bcl_str(lengths[rng() % 3]), encoding()});
    else if (auto* flex = dynamic_cast<Def_flex_str*>(item))
        edit_item(document, *flex, Flex_str_fields{random_text(rng, 5), sizes[rng() % 3], encoding()});
    else if (auto* null = dynamic_cast<Def_null_str*>(item))
        edit_item(document, *null, Null_str_fields{random_text(rng, 5), encoding()});
    else if (auto* real = dynamic_cast<Def_float*>(item))
        edit_item(document, *real, Float_fields{random_text(rng, 5), rng() % 2 ? 8 : 4});
    else if (auto* block = dynamic_cast<Def_bytes*>(item))
        edit_item(document, *block, Bytes_fields{random_text(rng, 5), random_text(rng, 3)});
    else if (auto* choice = dynamic_cast<Def_if*>(item))
        edit_item(document, *choice, If_fields{random_text(rng, 5)});
    else if (auto* loop = dynamic_cast<Def_for*>(item))
        edit_item(document, *loop, For_fields{random_text(rng, 5), Bcl_str(std::to_string(rng() % 3))});
    else if (auto* loop = dynamic_cast<Def_while*>(item))
        edit_item(document, *loop, While_fields{random_text(rng, 5), Bcl_str(rng() % 2 ? "0" : "x < 0")});
    else if (auto* set_var = dynamic_cast<Def_set_variable*>(item))
        edit_item(document, *set_var, Set_var_fields{random_text(rng, 3), random_text(rng, 5)});
    else if (auto* set = dynamic_cast<Def_def_set*>(item))
        edit_item(document, *set, Def_set_fields{random_text(rng, 5)});
    else if (auto* ref = dynamic_cast<Def_def_ref*>(item))
        edit_item(document, *ref, Def_ref_fields{random_text(rng, 5), random_text(rng, 5)});
}

} // namespace

class Random_definition_test : public Document_test {
protected:
    // The definition as its file holds it.
    std::string saved()
    {
        const std::string path = temp_path("definition.kxd");
        doc().save_definition(File_path(path));
        return file_contents(path);
    }
};

TEST_F(Random_definition_test, RandomEditsAreUndoneAndRedoneToTheSameFile)
{
    for (const unsigned seed : {7u, 1234u, 99991u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        doc().new_definition();
        // A starting definition with nested containers, made without the history.
        auto* outer = new Def_for(Bcl_str("outer"), Bcl_str("2"));
        auto* choice = new Def_if(Bcl_str("v == 1"));
        choice->insert_then_child(random_item(rng), nullptr);
        choice->insert_else_child(random_int(rng), nullptr);
        outer->insert_child(std::unique_ptr<Define>(choice), nullptr);
        outer->insert_child(std::make_unique<Def_while>(Bcl_str("w"), Bcl_str("0")), nullptr);
        doc().insert_item(random_item(rng), nullptr);
        doc().insert_item(std::unique_ptr<Define>(outer), nullptr);
        doc().insert_item(std::make_unique<Def_def_set>(Bcl_str("set")), nullptr);
        const std::string original = saved();
        const std::string original_dump = dump_definition(doc().mutable_definition_items());

        const int steps = steps_or(2000) / 4;
        std::vector<std::string> dumps;  // after each recorded step
        for (int i = 0; i < steps; ++i) {
            SCOPED_TRACE("step " + std::to_string(i));
            if (rng() % 25 == 0) {
                for (int back = 1 + int(rng() % 4); back > 0 && doc().can_undo_definition(); --back) {
                    doc().undo_definition();
                    dumps.pop_back();
                }
            }
            std::vector<Place_choice> lists;
            std::vector<std::pair<Define*, bool>> items;
            collect_lists(doc().mutable_definition_items(), nullptr, false, lists, items);
            const unsigned choice_of = rng() % 100;
            if (choice_of < 35 || items.empty()) {
                const Place_choice& list = lists[rng() % lists.size()];
                Define* before = list.list.empty() || rng() % 3 == 0 ? nullptr : list.list[rng() % list.list.size()];
                definition_edits::add_item(doc(), {list.parent, list.branch, before}, random_item(rng));
            } else if (choice_of < 50) {
                const auto [item, branch] = items[rng() % items.size()];
                definition_edits::delete_item(doc(), item->parent(), branch, item);
            } else if (choice_of < 75) {
                const auto [item, branch] = items[rng() % items.size()];
                const Place_choice& list = lists[rng() % lists.size()];
                Define* before = list.list.empty() || rng() % 3 == 0 ? nullptr : list.list[rng() % list.list.size()];
                const Def_place to{list.parent, list.branch, before};
                const bool refused = to.before == item || definition_edits::place_is_inside(to, item);
                EXPECT_EQ(definition_edits::move_item(doc(), item, item->parent(), branch, to), !refused);
                if (refused)
                    continue;
            } else if (choice_of < 95) {
                random_edit(doc(), rng, items[rng() % items.size()].first);
            } else {
                definition_edits::change_settings(doc(), random_text(rng, 6), rng() % 2 ? Byte_order::little_endian : Byte_order::big_endian);
            }
            dumps.push_back(dump_definition(doc().mutable_definition_items()));
            ASSERT_EQ(dumps.back().find("(bad parent)"), std::string::npos) << dumps.back();
            ASSERT_EQ(doc().definition_undo_depth(), dumps.size());
        }
        const std::string final_file = saved();
        const std::string final_title = doc().title().bytes();

        for (std::size_t i = dumps.size(); i-- > 0;) {
            ASSERT_EQ(dump_definition(doc().mutable_definition_items()), dumps[i]) << "before undo of step " << i;
            doc().undo_definition();
        }
        EXPECT_EQ(dump_definition(doc().mutable_definition_items()), original_dump);
        EXPECT_TRUE(saved() == original);
        for (std::size_t i = 0; i < dumps.size(); ++i) {
            doc().redo_definition();
            ASSERT_EQ(dump_definition(doc().mutable_definition_items()), dumps[i]) << "after redo of step " << i;
        }
        EXPECT_TRUE(saved() == final_file);
        EXPECT_EQ(doc().title().bytes(), final_title);
    }
}
