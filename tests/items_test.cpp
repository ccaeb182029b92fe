// Definition items: child lists, parents and the deep copy of integer items.
#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "model/items.h"

namespace {

Define* str(const char* name) { return new Def_null_str(Bcl_str(name)); }

// An item that counts its destructions, to see that containers destroy what they own.
class Counted_item : public Def_set_variable {
public:
    explicit Counted_item(int& destroyed) : Def_set_variable(Bcl_str("x"), Bcl_str("1")), destroyed_(destroyed) {}
    Counted_item(const Counted_item&) = delete;
    Counted_item& operator=(const Counted_item&) = delete;
    ~Counted_item() override { ++destroyed_; }

private:
    int& destroyed_;
};

std::vector<std::string> names(const Item_list& list)
{
    std::vector<std::string> out;
    for (const Define* item : list)
        out.push_back(item->name().bytes());
    return out;
}

// Views and writers see the definition through const lists: those hand out const
// items, and the mutable view hands out the items but not the list.
static_assert(std::is_same_v<decltype(std::declval<const Item_list&>()[0]), const Define*>);
static_assert(std::is_same_v<decltype(*std::declval<const Item_list&>().begin()), const Define* const&>);
static_assert(std::is_same_v<decltype(*std::declval<Item_list&>().begin()), Define* const&>);

} // namespace

TEST(Item_list, InsertsBeforeAnItemOrAtTheEnd)
{
    Def_for loop(Bcl_str("loop"), Bcl_str("3"));
    Define* b = str("b");
    loop.insert_child(std::unique_ptr<Define>(b), nullptr);
    loop.insert_child(std::unique_ptr<Define>(str("a")), b);
    loop.insert_child(std::unique_ptr<Define>(str("c")), nullptr);
    Def_null_str stranger(Bcl_str("x"));
    loop.insert_child(std::unique_ptr<Define>(str("d")), &stranger);  // not in the list: goes last
    EXPECT_EQ(names(loop.children()), (std::vector<std::string>{"a", "b", "c", "d"}));
    for (const Define* item : loop.children())
        EXPECT_EQ(item->parent(), &loop);
}

TEST(Item_list, RemovingReturnsTheNextItemAndKeepsTheItemAlive)
{
    Def_def_set set(Bcl_str("set"));
    Define* a = str("a");
    Define* b = str("b");
    Define* c = str("c");
    for (Define* item : {a, b, c})
        set.insert_child(std::unique_ptr<Define>(item), nullptr);
    const Removed_item removed_a = set.remove_child(a);
    EXPECT_EQ(removed_a.item.get(), a);
    EXPECT_EQ(removed_a.next, b);
    const Removed_item removed_c = set.remove_child(c);
    EXPECT_EQ(removed_c.item.get(), c);
    EXPECT_EQ(removed_c.next, nullptr);
    EXPECT_EQ(a->parent(), &set);  // removal leaves the parent link alone
    EXPECT_EQ(names(set.children()), (std::vector<std::string>{"b"}));
    const Removed_item again = set.remove_child(a);  // no longer there: nothing happens
    EXPECT_EQ(again.item, nullptr);
    EXPECT_EQ(again.next, nullptr);
}

TEST(Def_if, EachBranchHasItsOwnListAndRemovalSearchesBoth)
{
    Def_if branch(Bcl_str("x == 1"));
    Define* t1 = str("t1");
    Define* t2 = str("t2");
    Define* e1 = str("e1");
    branch.insert_then_child(std::unique_ptr<Define>(t1), nullptr);
    branch.insert_then_child(std::unique_ptr<Define>(t2), nullptr);
    branch.insert_else_child(std::unique_ptr<Define>(e1), nullptr);
    EXPECT_EQ(names(branch.then_children()), (std::vector<std::string>{"t1", "t2"}));
    EXPECT_EQ(names(branch.else_children()), (std::vector<std::string>{"e1"}));
    const Removed_item removed_e1 = branch.remove_child(e1);
    EXPECT_EQ(removed_e1.item.get(), e1);
    EXPECT_EQ(removed_e1.next, nullptr);
    const Removed_item removed_t1 = branch.remove_child(t1);
    EXPECT_EQ(removed_t1.item.get(), t1);
    EXPECT_EQ(removed_t1.next, t2);
    EXPECT_TRUE(branch.else_children().empty());
}

TEST(Def_int, CopyingDeepCopiesTheBitFlags)
{
    Def_int source(Bcl_str("flags"), true, 2, Def_int::hexadecimal, Bcl_str("v"));
    source.set_named_values({{-1, Bcl_str("minus")}, {5, Bcl_str("five")}});
    source.add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("low"), 1, Bcl_str("l")));
    source.add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("high"), 3, Bcl_str()));

    Def_int copy(Bcl_str("other"), false, 1, Def_int::decimal, Bcl_str());
    copy.add_bit_flag(std::make_unique<Def_bitflag>(Bcl_str("old"), 7, Bcl_str()));
    copy.assign(source);

    EXPECT_EQ(copy.name(), source.name());
    EXPECT_TRUE(copy.is_signed());
    EXPECT_EQ(copy.size(), 2);
    EXPECT_EQ(copy.display(), Def_int::hexadecimal);
    EXPECT_EQ(copy.variable().bytes(), "v");
    EXPECT_EQ(copy.named_values(), source.named_values());
    ASSERT_EQ(copy.bit_flags().size(), 2u);
    EXPECT_NE(copy.bit_flags()[0].get(), source.bit_flags()[0].get());
    EXPECT_EQ(copy.bit_flags()[1]->name().bytes(), "high");
    EXPECT_EQ(copy.flag_bits(), 4);

    copy.bit_flags()[0]->set_name(Bcl_str("changed"));
    copy.set_bit_flags({});
    EXPECT_EQ(source.bit_flags()[0]->name().bytes(), "low");
    EXPECT_EQ(source.bit_flags().size(), 2u);

    const auto clone = source.clone();
    EXPECT_EQ(clone->parent(), nullptr);
    EXPECT_EQ(clone->bit_flags().size(), 2u);
}

TEST(Define, NestedContainersOwnTheirChildren)
{
    // One counted leaf in each kind of child list: destroying the outer item must
    // destroy every one of them, exactly once.
    int destroyed = 0;
    auto outer = std::make_unique<Def_def_set>(Bcl_str("outer"));
    auto* branch = new Def_if(Bcl_str("1"));
    auto* loop = new Def_while(Bcl_str("w"), Bcl_str("0"));
    loop->insert_child(std::make_unique<Counted_item>(destroyed), nullptr);
    branch->insert_else_child(std::unique_ptr<Define>(loop), nullptr);
    branch->insert_then_child(std::make_unique<Counted_item>(destroyed), nullptr);
    branch->insert_else_child(std::make_unique<Counted_item>(destroyed), nullptr);
    outer->insert_child(std::unique_ptr<Define>(branch), nullptr);
    outer->insert_child(std::make_unique<Counted_item>(destroyed), nullptr);
    EXPECT_EQ(loop->parent(), branch);
    EXPECT_EQ(branch->parent(), outer.get());
    EXPECT_EQ(loop->last_count(), 0);

    outer.reset();
    EXPECT_EQ(destroyed, 4);
}
