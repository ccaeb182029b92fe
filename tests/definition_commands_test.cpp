// The definition commands, the add and row-count walks, and the edit sequences that
// record the commands: places, selections after undo and redo, and who owns an item
// that is out of the tree.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "edit/definition_edits.h"
#include "edit/proc_def.h"
#include "edit/proc_def_edit.h"
#include "model/def_add_visitor.h"
#include "model/component.h"
#include "model/def_cnt_visitor.h"
#include "model/items.h"
#include "model/limits.h"
#include "support/definition_dump.h"
#include "support/document_fixture.h"
#include "toolkit/exception.h"

namespace {

// A string item that counts its instances, so that a test can tell when an item is
// destroyed, and consumes no bytes, so that a definition of them analyses without
// any data.
class Counted_item : public Def_null_str {
public:
    static inline int live = 0;
    explicit Counted_item(const std::string& name) : Def_null_str(Bcl_str(name)) { ++live; }
    ~Counted_item() override { --live; }
    Data_node* analyze(Data_node* cur, Component*, Data_node*) override { return cur; }
};

Define* counted(const std::string& name) { return new Counted_item(name); }

std::vector<std::string> names(const Item_list& list)
{
    std::vector<std::string> out;
    for (const Define* item : list)
        out.push_back(item->name().bytes());
    return out;
}

using Names = std::vector<std::string>;

std::unique_ptr<Def_bitflag> flag(const char* name, int bits, const char* variable, Named_values values)
{
    auto result = std::make_unique<Def_bitflag>(Bcl_str(name), bits, Bcl_str(variable));
    result->set_named_values(std::move(values));
    return result;
}

} // namespace

// ---- the walks ----

TEST(Def_add_visitor, PutsTheItemIntoTheListOfEachContainerKind)
{
    struct Row {
        const char* what;
        std::function<std::unique_ptr<Define>()> make;
        std::function<const Item_list&(Define&)> list;
        bool branch;
    };
    const std::vector<Row> rows = {
        {"for", [] { return std::make_unique<Def_for>(Bcl_str("f"), Bcl_str("2")); },
         [](Define& d) -> const Item_list& { return static_cast<Def_for&>(d).children(); }, false},
        {"while", [] { return std::make_unique<Def_while>(Bcl_str("w"), Bcl_str("1")); },
         [](Define& d) -> const Item_list& { return static_cast<Def_while&>(d).children(); }, false},
        {"def set", [] { return std::make_unique<Def_def_set>(Bcl_str("s")); },
         [](Define& d) -> const Item_list& { return static_cast<Def_def_set&>(d).children(); }, false},
        {"if then", [] { return std::make_unique<Def_if>(Bcl_str("x")); },
         [](Define& d) -> const Item_list& { return static_cast<Def_if&>(d).then_children(); }, true},
        {"if else", [] { return std::make_unique<Def_if>(Bcl_str("x")); },
         [](Define& d) -> const Item_list& { return static_cast<Def_if&>(d).else_children(); }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<Define> container = row.make();
        std::unique_ptr<Define> b = std::make_unique<Def_null_str>(Bcl_str("b"));
        std::unique_ptr<Define> a = std::make_unique<Def_null_str>(Bcl_str("a"));
        std::unique_ptr<Define> c = std::make_unique<Def_null_str>(Bcl_str("c"));
        Define* const b_item = b.get();
        Def_null_str stranger(Bcl_str("stranger"));
        Def_add_visitor at_end(row.branch, b, nullptr);
        container->accept(at_end);
        Def_add_visitor in_front(row.branch, a, b_item);
        container->accept(in_front);
        Def_add_visitor unknown_before(row.branch, c, &stranger);  // not in the list: appended
        container->accept(unknown_before);
        EXPECT_TRUE(at_end.inserted());
        EXPECT_TRUE(!a && !b && !c);  // each moved into the list
        EXPECT_EQ(names(row.list(*container)), (Names{"a", "b", "c"}));
        for (const Define* item : row.list(*container))
            EXPECT_EQ(item->parent(), container.get());
    }
}

TEST(Def_add_visitor, LeavesTheItemAloneWhenAppliedToAnItemWithoutAList)
{
    Def_int integer(Bcl_str("n"), false, 2, Def_int::decimal, Bcl_str());
    std::unique_ptr<Define> item = std::make_unique<Def_null_str>(Bcl_str("s"));
    Define* const original = item.get();
    Def_add_visitor add(false, item, nullptr);
    integer.accept(add);
    EXPECT_FALSE(add.inserted());
    EXPECT_EQ(item.get(), original);  // still the caller's
    EXPECT_EQ(item->parent(), nullptr);
}

TEST(Def_cnt_visitor, CountsTheRowsTheListShowsForEachKind)
{
    auto null_str = [](const char* name) { return new Def_null_str(Bcl_str(name)); };
    struct Row {
        const char* what;
        std::function<std::unique_ptr<Define>()> make;
        int rows;
    };
    const std::vector<Row> table = {
        {"empty if: branch, else and closing rows", [] { return std::make_unique<Def_if>(Bcl_str("c")); }, 3},
        {"if with two items per branch",
         [&] {
             auto item = std::make_unique<Def_if>(Bcl_str("c"));
             for (const char* n : {"a", "b"}) {
                 item->insert_then_child(std::unique_ptr<Define>(null_str(n)), nullptr);
                 item->insert_else_child(std::unique_ptr<Define>(null_str(n)), nullptr);
             }
             return std::unique_ptr<Define>(std::move(item));
         },
         7},
        {"empty for", [] { return std::make_unique<Def_for>(Bcl_str("f"), Bcl_str("1")); }, 2},
        {"integer with three flags",
         [] {
             auto item = std::make_unique<Def_int>(Bcl_str("n"), false, 4, Def_int::decimal, Bcl_str());
             for (const char* n : {"x", "y", "z"})
                 item->add_bit_flag(flag(n, 1, "", {}));
             return std::unique_ptr<Define>(std::move(item));
         },
         4},
        {"nested: set { while { int+1 flag, ref } , fix }",
         [&] {
             auto set = std::make_unique<Def_def_set>(Bcl_str("s"));
             auto* loop = new Def_while(Bcl_str("w"), Bcl_str("1"));
             auto* integer = new Def_int(Bcl_str("n"), false, 1, Def_int::decimal, Bcl_str());
             integer->add_bit_flag(flag("f", 3, "", {}));
             loop->insert_child(std::unique_ptr<Define>(integer), nullptr);
             loop->insert_child(std::make_unique<Def_def_ref>(Bcl_str("r"), Bcl_str("s")), nullptr);
             set->insert_child(std::unique_ptr<Define>(loop), nullptr);
             set->insert_child(std::make_unique<Def_fix_str>(Bcl_str("x"), 4), nullptr);
             return std::unique_ptr<Define>(std::move(set));
         },
         1 + (1 + 2 + 1 + 1) + 1 + 1},
        {"flex, null, set variable: one row each",
         [] { return std::make_unique<Def_flex_str>(Bcl_str("f"), 2); }, 1},
        {"bit flag alone: no row of its own", [] { return flag("f", 1, "", {}); }, 0},
        {"undefined item: never shown", [] { return std::make_unique<Def_nodef>(); }, 0},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<Define> item = row.make();
        Def_cnt_visitor count;
        item->accept(count);
        EXPECT_EQ(count.count(), row.rows);
    }
}

// ---- the commands ----

class Definition_commands_test : public Document_test {
protected:
    void SetUp() override
    {
        Document_test::SetUp();
        live_at_start_ = Counted_item::live;
    }
    void TearDown() override
    {
        Document_test::TearDown();
        // The document released every item and every command: none survives.
        EXPECT_EQ(Counted_item::live, live_at_start_);
    }
    // Puts a new counted item at the end of the top-level list.
    static Define* top(const std::string& name)
    {
        Define* item = counted(name);
        doc().insert_item(std::unique_ptr<Define>(item), nullptr);
        return item;
    }
    static Def_for* top_for(const std::string& name)
    {
        auto* loop = new Def_for(Bcl_str(name), Bcl_str("1"));
        doc().insert_item(std::unique_ptr<Define>(loop), nullptr);
        return loop;
    }
    static Def_if* top_if(const std::string& condition)
    {
        auto* branch = new Def_if(Bcl_str(condition));
        doc().insert_item(std::unique_ptr<Define>(branch), nullptr);
        return branch;
    }
    static Names top_names() { return names(doc().definition_items()); }

private:
    int live_at_start_ = 0;
};

TEST_F(Definition_commands_test, UndoingTheFirstAdditionToAnEmptyLoopEmptiesItAndSelectsNothing)
{
    Def_for* loop = top_for("loop");
    Define* item = counted("x");
    loop->insert_child(std::unique_ptr<Define>(item), nullptr);
    Proc_def_add add(doc(), loop, false, item, nullptr);

    add.undo();
    EXPECT_TRUE(loop->children().empty());
    EXPECT_TRUE(add.out_of_tree());
    EXPECT_EQ(add.item_to_select(), nullptr);

    add.redo();
    EXPECT_EQ(names(loop->children()), (Names{"x"}));
    EXPECT_EQ(item->parent(), loop);
    EXPECT_FALSE(add.out_of_tree());
    EXPECT_EQ(add.item_to_select(), item);
}

TEST_F(Definition_commands_test, UndoingAnAdditionSelectsTheItemItStoodBefore)
{
    top("a");
    Define* c = top("c");
    Define* b = counted("b");
    doc().insert_item(std::unique_ptr<Define>(b), c);
    Proc_def_add add(doc(), nullptr, false, b, c);

    add.undo();
    EXPECT_EQ(top_names(), (Names{"a", "c"}));
    EXPECT_EQ(add.item_to_select(), c);
    add.redo();
    EXPECT_EQ(top_names(), (Names{"a", "b", "c"}));
    EXPECT_EQ(add.item_to_select(), b);
}

TEST_F(Definition_commands_test, UndoingADeletionPutsTheItemInFrontOfItsFollowerOrAtTheEnd)
{
    for (const std::string deleted : {"a", "b", "c"}) {
        SCOPED_TRACE(deleted);
        doc().new_definition();
        for (const char* name : {"a", "b", "c"})
            top(name);
        Define* item = nullptr;
        for (Define* candidate : doc().mutable_definition_items())
            if (candidate->name() == deleted)
                item = candidate;
        Removed_item removed = doc().remove_item(item);
        ASSERT_EQ(removed.item.get(), item);
        Define* next = removed.next;
        Proc_def_del del(doc(), nullptr, false, std::move(removed.item), next);
        EXPECT_FALSE(del.in_tree());
        EXPECT_EQ(del.item_to_select(), next);

        del.undo();
        EXPECT_EQ(top_names(), (Names{"a", "b", "c"}));
        EXPECT_TRUE(del.in_tree());
        EXPECT_EQ(del.item_to_select(), item);

        del.redo();
        EXPECT_EQ(top_names().size(), 2u);
        EXPECT_EQ(del.item_to_select(), next);
    }
}

TEST_F(Definition_commands_test, UndoingADeletionFromAnElseListRestoresItThere)
{
    Def_if* branch = top_if("x == 1");
    branch->insert_then_child(std::unique_ptr<Define>(counted("t")), nullptr);
    Define* e1 = counted("e1");
    Define* e2 = counted("e2");
    branch->insert_else_child(std::unique_ptr<Define>(e1), nullptr);
    branch->insert_else_child(std::unique_ptr<Define>(e2), nullptr);
    Removed_item removed = branch->remove_child(e1);
    ASSERT_EQ(removed.item.get(), e1);
    Proc_def_del del(doc(), branch, false, std::move(removed.item), removed.next);

    del.undo();
    EXPECT_EQ(names(branch->then_children()), (Names{"t"}));
    EXPECT_EQ(names(branch->else_children()), (Names{"e1", "e2"}));
    EXPECT_EQ(e1->parent(), branch);
}

TEST_F(Definition_commands_test, AMoveOntoALoopsClosingRowIsUndoneToItsOldPlaceAndRedoneToTheEnd)
{
    Define* a = top("a");
    Def_for* loop = top_for("loop");
    loop->insert_child(std::unique_ptr<Define>(counted("x")), nullptr);
    top("b");
    // Dropped on the loop's closing row: appended to the loop.
    ASSERT_TRUE(definition_edits::move_item(doc(), a, nullptr, false, {loop, false, nullptr}));
    EXPECT_EQ(top_names(), (Names{"loop", "b"}));
    EXPECT_EQ(names(loop->children()), (Names{"x", "a"}));
    EXPECT_EQ(a->parent(), loop);

    EXPECT_EQ(doc().undo_definition(), a);
    EXPECT_EQ(top_names(), (Names{"a", "loop", "b"}));
    EXPECT_EQ(names(loop->children()), (Names{"x"}));
    EXPECT_EQ(a->parent(), nullptr);

    EXPECT_EQ(doc().redo_definition(), a);
    EXPECT_EQ(names(loop->children()), (Names{"x", "a"}));
    EXPECT_EQ(a->parent(), loop);
}

TEST_F(Definition_commands_test, AMoveBetweenTheBranchesOfAnIfAndOutOfIt)
{
    Def_if* branch = top_if("c");
    Define* t1 = counted("t1");
    Define* t2 = counted("t2");
    Define* e1 = counted("e1");
    branch->insert_then_child(std::unique_ptr<Define>(t1), nullptr);
    branch->insert_then_child(std::unique_ptr<Define>(t2), nullptr);
    branch->insert_else_child(std::unique_ptr<Define>(e1), nullptr);
    const std::string before = dump_definition(doc().mutable_definition_items());

    Removed_item removed = branch->remove_child(t1);
    branch->insert_else_child(std::move(removed.item), e1);
    Proc_def_move to_else(doc(), t1, {branch, true, removed.next}, {branch, false, e1});
    EXPECT_EQ(names(branch->else_children()), (Names{"t1", "e1"}));
    to_else.undo();
    EXPECT_EQ(dump_definition(doc().mutable_definition_items()), before);
    to_else.redo();
    EXPECT_EQ(names(branch->then_children()), (Names{"t2"}));
    EXPECT_EQ(names(branch->else_children()), (Names{"t1", "e1"}));
    to_else.undo();

    removed = branch->remove_child(e1);
    doc().insert_item(std::move(removed.item), branch);
    Proc_def_move out(doc(), e1, {branch, false, removed.next}, {nullptr, false, branch});
    EXPECT_EQ(top_names(), (Names{"e1", "c"}));
    EXPECT_EQ(e1->parent(), nullptr);
    out.undo();
    EXPECT_EQ(dump_definition(doc().mutable_definition_items()), before);
    EXPECT_EQ(out.item_to_select(), e1);
}

TEST_F(Definition_commands_test, UndoingAnIntegerEditThatRemovedTwoFlagsBringsBothBack)
{
    auto* integer = new Def_int(Bcl_str("n"), false, 2, Def_int::hexadecimal, Bcl_str("v"));
    integer->set_named_values({{1, Bcl_str("one")}, {-1, Bcl_str("minus")}});
    integer->add_bit_flag(flag("low", 3, "lv", {{0, Bcl_str("off")}, {7, Bcl_str("all")}}));
    integer->add_bit_flag(flag("mid", 1, "", {{1, Bcl_str("set")}}));
    integer->add_bit_flag(flag("high", 4, "hv", {}));
    top("first");
    doc().insert_item(std::unique_ptr<Define>(integer), nullptr);
    top("last");
    const std::string before = dump_definition(doc().mutable_definition_items());

    // The dialog removes "low" and "mid", renames the item and makes it signed.
    Def_int values(Bcl_str("m"), true, 4, Def_int::decimal, Bcl_str());
    values.add_bit_flag(flag("high", 4, "hv", {}));
    definition_edits::edit_int(doc(), *integer, values);
    const std::string after = dump_definition(doc().mutable_definition_items());
    ASSERT_EQ(integer->bit_flags().size(), 1u);

    EXPECT_EQ(doc().undo_definition(), integer);
    EXPECT_EQ(dump_definition(doc().mutable_definition_items()), before);
    ASSERT_EQ(integer->bit_flags().size(), 3u);
    EXPECT_EQ(integer->bit_flags()[0]->name(), "low");
    EXPECT_EQ(integer->bit_flags()[0]->named_values().at(7), "all");
    EXPECT_EQ(integer->bit_flags()[1]->name(), "mid");
    // The item keeps its identity and place: the rows that refer to it stay valid.
    EXPECT_EQ(doc().definition_items()[1], integer);

    EXPECT_EQ(doc().redo_definition(), integer);
    EXPECT_EQ(dump_definition(doc().mutable_definition_items()), after);
}

TEST_F(Definition_commands_test, EveryFieldEditIsUndoneAndRedoneOnTheSameItem)
{
    // Each row: an item, an edit through its dialog's sequence; undo must give back
    // the item's dump before, redo the dump after.
    struct Row {
        const char* what;
        std::function<Define*()> make;
        std::function<void(Define&)> edit;
    };
    const std::vector<Row> table = {
        {"fixed string", [] { return new Def_fix_str(Bcl_str("s"), 4); },
         [](Define& d) { definition_edits::edit_item(doc(), static_cast<Def_fix_str&>(d), {Bcl_str("t"), Bcl_str("9")}); }},
        {"length-prefixed string", [] { return new Def_flex_str(Bcl_str("s"), 1); },
         [](Define& d) { definition_edits::edit_item(doc(), static_cast<Def_flex_str&>(d), {Bcl_str("t"), 4}); }},
        {"float", [] { return new Def_float(Bcl_str("s"), 4); },
         [](Define& d) { definition_edits::edit_item(doc(), static_cast<Def_float&>(d), {Bcl_str("t"), 8}); }},
        {"byte block", [] { return new Def_bytes(Bcl_str("s"), Bcl_str("4")); },
         [](Define& d) {
             definition_edits::edit_item(doc(), static_cast<Def_bytes&>(d), {Bcl_str("t"), Bcl_str("n")});
         }},
        {"NUL-terminated string", [] { return new Def_null_str(Bcl_str("s")); },
         [](Define& d) { definition_edits::edit_item(doc(), static_cast<Def_null_str&>(d), {Bcl_str("t")}); }},
        {"if", [] { return new Def_if(Bcl_str("a == 1")); },
         [](Define& d) { definition_edits::edit_item(doc(), static_cast<Def_if&>(d), {Bcl_str("a != 1")}); }},
        {"for", [] { return new Def_for(Bcl_str("f"), Bcl_str("3")); },
         [](Define& d) { definition_edits::edit_item(doc(), static_cast<Def_for&>(d), {Bcl_str("g"), Bcl_str("n * 2")}); }},
        {"while", [] { return new Def_while(Bcl_str("w"), Bcl_str("x < 3")); },
         [](Define& d) { definition_edits::edit_item(doc(), static_cast<Def_while&>(d), {Bcl_str("v"), Bcl_str("x")}); }},
        {"set variable", [] { return new Def_set_variable(Bcl_str("x"), Bcl_str("1")); },
         [](Define& d) { definition_edits::edit_item(doc(), static_cast<Def_set_variable&>(d), {Bcl_str("y"), Bcl_str("x+1")}); }},
        {"definition set", [] { return new Def_def_set(Bcl_str("s")); },
         [](Define& d) { definition_edits::edit_item(doc(), static_cast<Def_def_set&>(d), {Bcl_str("t")}); }},
        {"definition reference: name and target",
         [] { return new Def_def_ref(Bcl_str("r"), Bcl_str("s")); },
         [](Define& d) { definition_edits::edit_item(doc(), static_cast<Def_def_ref&>(d), {Bcl_str("q"), Bcl_str("t")}); }},
    };
    // The items stay out of the tree (the history only holds pointers to them), so
    // the analysis after each step does not depend on them.
    std::vector<std::unique_ptr<Define>> items;
    for (const Row& row : table) {
        SCOPED_TRACE(row.what);
        Define* item = items.emplace_back(row.make()).get();
        const std::string before = dump_item(*item);
        row.edit(*item);
        const std::string after = dump_item(*item);
        ASSERT_NE(after, before);
        ASSERT_EQ(doc().definition_undo_depth(), 1u);

        EXPECT_EQ(doc().undo_definition(), item);
        EXPECT_EQ(dump_item(*item), before);
        EXPECT_EQ(doc().redo_definition(), item);
        EXPECT_EQ(dump_item(*item), after);
        EXPECT_EQ(doc().undo_definition(), item);
        EXPECT_EQ(dump_item(*item), before);
        doc().new_definition();  // drops the command before the item goes
    }
}

TEST_F(Definition_commands_test, SettingsChangeIsUndoneAndRedone)
{
    doc().set_title(Bcl_str("old"));
    doc().set_byte_order(Byte_order::big_endian);
    definition_edits::change_settings(doc(), Bcl_str("new"), Byte_order::little_endian);
    EXPECT_EQ(doc().title(), "new");
    EXPECT_EQ(doc().byte_order(), Byte_order::little_endian);

    EXPECT_EQ(doc().undo_definition(), nullptr);
    EXPECT_EQ(doc().title(), "old");
    EXPECT_EQ(doc().byte_order(), Byte_order::big_endian);
    EXPECT_TRUE(doc().is_definition_modified());
    // The root component is named after the title: the analysis ran after the undo.
    EXPECT_EQ(doc().root_component()->name(), "old");

    EXPECT_EQ(doc().redo_definition(), nullptr);
    EXPECT_EQ(doc().title(), "new");
    EXPECT_EQ(doc().byte_order(), Byte_order::little_endian);
    EXPECT_FALSE(doc().can_redo_definition());
}

// ---- ownership of items out of the tree ----

TEST_F(Definition_commands_test, AnUndoneAdditionDroppedFromTheRedoSideDestroysItsItem)
{
    const int before = Counted_item::live;
    definition_edits::add_item(doc(), {}, std::make_unique<Counted_item>("x"));
    ASSERT_EQ(Counted_item::live, before + 1);
    doc().undo_definition();
    EXPECT_EQ(Counted_item::live, before + 1);  // out of the tree, held by the command
    definition_edits::change_settings(doc(), Bcl_str("t"), Byte_order::big_endian);  // drops the redo side
    EXPECT_FALSE(doc().can_redo_definition());
    EXPECT_EQ(Counted_item::live, before);
}

TEST_F(Definition_commands_test, ADeletionReleasedWithTheHistoryDestroysItsItemAndEverythingInIt)
{
    Def_for* loop = top_for("loop");
    loop->insert_child(std::unique_ptr<Define>(counted("a")), nullptr);
    auto* inner = new Def_if(Bcl_str("c"));
    inner->insert_else_child(std::unique_ptr<Define>(counted("b")), nullptr);
    loop->insert_child(std::unique_ptr<Define>(inner), nullptr);
    const int before = Counted_item::live;
    definition_edits::delete_item(doc(), nullptr, false, loop);
    EXPECT_EQ(Counted_item::live, before);
    doc().new_definition();
    EXPECT_EQ(Counted_item::live, before - 2);
}

TEST_F(Definition_commands_test, AnUndoneDeletionDroppedFromTheRedoSideDestroysNothing)
{
    Define* item = top("x");
    const int before = Counted_item::live;
    definition_edits::delete_item(doc(), nullptr, false, item);
    EXPECT_EQ(doc().undo_definition(), item);
    definition_edits::change_settings(doc(), Bcl_str("t"), Byte_order::big_endian);
    EXPECT_EQ(Counted_item::live, before);
    EXPECT_EQ(doc().definition_items()[0], item);
}

TEST_F(Definition_commands_test, NestedAdditionsAndDeletionsReleaseEachItemOnceInAnyOrder)
{
    // A loop added, an item added into it, another deleted from it, the loop then
    // deleted; undone part of the way and dropped, or released whole. Every item
    // must be destroyed exactly once: the counter ends where it began and ASan
    // reports any second delete.
    for (int undo_steps = 0; undo_steps <= 4; ++undo_steps) {
        SCOPED_TRACE(undo_steps);
        const int before = Counted_item::live;
        auto loop_owner = std::make_unique<Def_while>(Bcl_str("w"), Bcl_str("0"));
        Def_while* loop = loop_owner.get();
        definition_edits::add_item(doc(), {}, std::move(loop_owner));
        definition_edits::add_item(doc(), {loop, false, nullptr}, std::make_unique<Counted_item>("a"));
        definition_edits::add_item(doc(), {loop, false, nullptr}, std::make_unique<Counted_item>("b"));
        definition_edits::delete_item(doc(), loop, false, loop->children()[0]);
        definition_edits::delete_item(doc(), nullptr, false, loop);
        for (int i = 0; i < undo_steps; ++i)
            doc().undo_definition();
        if (undo_steps % 2)
            definition_edits::change_settings(doc(), Bcl_str("t"), Byte_order::big_endian);  // drop the redo side first
        doc().new_definition();
        EXPECT_EQ(Counted_item::live, before);
    }
}

// ---- the edit sequences ----

TEST_F(Definition_commands_test, EachSequenceRecordsOneCommandMarksTheDefinitionAndDropsTheRedoSide)
{
    Def_if* branch = top_if("c");
    Define* a = top("a");
    definition_edits::change_settings(doc(), Bcl_str("t"), Byte_order::big_endian);
    doc().undo_definition();
    const std::vector<std::pair<const char*, std::function<void()>>> sequences = {
        {"add", [&] { definition_edits::add_item(doc(), {branch, true, nullptr}, std::make_unique<Counted_item>("n")); }},
        {"move", [&] { ASSERT_TRUE(definition_edits::move_item(doc(), a, nullptr, false, {branch, false, nullptr})); }},
        {"edit", [&] { definition_edits::edit_item(doc(), *branch, If_fields{Bcl_str("d")}); }},
        {"delete", [&] { definition_edits::delete_item(doc(), branch, false, a); }},
        {"settings unchanged", [&] { definition_edits::change_settings(doc(), doc().title(), doc().byte_order()); }},
    };
    std::size_t depth = 0;
    for (const auto& [what, sequence] : sequences) {
        SCOPED_TRACE(what);
        doc().save_definition(File_path(temp_path("d.kxd")));
        ASSERT_FALSE(doc().is_definition_modified());
        sequence();
        EXPECT_EQ(doc().definition_undo_depth(), ++depth);
        EXPECT_FALSE(doc().can_redo_definition());
        EXPECT_TRUE(doc().is_definition_modified());
    }
}

TEST_F(Definition_commands_test, AMoveIntoItselfOrOntoItsOwnRowChangesNothing)
{
    Def_for* outer = top_for("outer");
    auto* inner = new Def_if(Bcl_str("c"));
    outer->insert_child(std::unique_ptr<Define>(inner), nullptr);
    Define* after = top("after");
    const std::string before = dump_definition(doc().mutable_definition_items());
    EXPECT_FALSE(definition_edits::move_item(doc(), outer, nullptr, false, {outer, false, nullptr}));
    EXPECT_FALSE(definition_edits::move_item(doc(), outer, nullptr, false, {inner, true, nullptr}));
    EXPECT_FALSE(definition_edits::move_item(doc(), after, nullptr, false, {nullptr, false, after}));
    EXPECT_EQ(dump_definition(doc().mutable_definition_items()), before);
    EXPECT_FALSE(doc().can_undo_definition());
    // Moving the inner If out of its loop is fine.
    EXPECT_TRUE(definition_edits::move_item(doc(), inner, outer, false, {nullptr, false, after}));
}

// The editor builds no tree that the definition file cannot hold: a tree it accepts
// saves, and one level more is refused, also when the item brings levels of its own.
TEST_F(Definition_commands_test, NoAdditionOrMovePassesTheFilesNestingLimit)
{
    Define* loose = top("loose");
    Def_for* pair = top_for("pair");  // two levels: the loop and its item
    pair->insert_child(std::unique_ptr<Define>(counted("p")), nullptr);
    std::vector<Def_for*> chain{top_for("l1")};  // chain[i] stands at level i + 1
    while (chain.size() < static_cast<std::size_t>(limits::max_definition_depth)) {
        auto* loop = new Def_for(Bcl_str("l"), Bcl_str("1"));
        chain.back()->insert_child(std::unique_ptr<Define>(loop), nullptr);
        chain.push_back(loop);
    }
    Def_for* deepest = chain.back();
    Def_for* above = chain[chain.size() - 2];
    const int live = Counted_item::live;
    EXPECT_FALSE(definition_edits::nesting_fits({deepest, false, nullptr}, nullptr));
    EXPECT_FALSE(definition_edits::add_item(doc(), {deepest, false, nullptr}, std::make_unique<Counted_item>("x")));
    EXPECT_FALSE(definition_edits::move_item(doc(), loose, nullptr, false, {deepest, false, nullptr}));
    EXPECT_FALSE(definition_edits::move_item(doc(), pair, nullptr, false, {above, false, nullptr}));
    EXPECT_FALSE(doc().can_undo_definition());
    EXPECT_EQ(Counted_item::live, live);  // the refused new item is gone

    EXPECT_TRUE(definition_edits::nesting_fits({above, false, nullptr}, nullptr));
    EXPECT_TRUE(definition_edits::move_item(doc(), loose, nullptr, false, {above, false, nullptr}));
    EXPECT_TRUE(definition_edits::add_item(doc(), {above, false, nullptr}, std::make_unique<Counted_item>("x")));
    EXPECT_NO_THROW(doc().save_definition(File_path(temp_path("deep.kxd"))));
}

TEST_F(Definition_commands_test, APlaceWhoseParentHoldsNoListIsRefusedAndTheItemStaysWithTheCaller)
{
    Define* a = top("a");
    const int before = Counted_item::live;
    EXPECT_THROW(definition_edits::add_item(doc(), {a, false, nullptr}, std::make_unique<Counted_item>("x")),
                 Fault_exception);
    EXPECT_EQ(Counted_item::live, before);
    EXPECT_THROW(definition_edits::move_item(doc(), a, nullptr, false, {a, false, nullptr}), Fault_exception);
    EXPECT_EQ(top_names(), (Names{"a"}));
    EXPECT_FALSE(doc().can_undo_definition());
}

TEST_F(Definition_commands_test, AnItemNotInTheNamedListIsNeitherDeletedNorMoved)
{
    // Recording it would leave the item in the tree while a command owned it too.
    Def_if* branch = top_if("c");
    Define* e = counted("e");
    branch->insert_else_child(std::unique_ptr<Define>(e), nullptr);
    const std::string before = dump_definition(doc().mutable_definition_items());
    EXPECT_THROW(definition_edits::delete_item(doc(), branch, true, e), Fault_exception);
    EXPECT_THROW(definition_edits::delete_item(doc(), nullptr, false, e), Fault_exception);
    EXPECT_THROW(definition_edits::move_item(doc(), e, branch, true, {nullptr, false, nullptr}), Fault_exception);
    EXPECT_EQ(dump_definition(doc().mutable_definition_items()), before);
    EXPECT_FALSE(doc().can_undo_definition());
    EXPECT_EQ(definition_edits::delete_item(doc(), branch, false, e), nullptr);
}
