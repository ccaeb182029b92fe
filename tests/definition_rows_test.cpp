// The rows of the definition list: texts of the five columns and the row entries.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "analysis_helpers.h"
#include "model/def_cnt_visitor.h"
#include "model/def_disp_visitor.h"
#include "model/item_list.h"

namespace {

using namespace analysis_test;

std::string label(const Define* item) { return item ? item->name().to_utf8() : "-"; }

// One row as "size|sign|content|variable|remarks @item parent branch depth flags",
// texts in UTF-8, flags as i(nsertable) e(ditable) d(eletable) or '.'.
std::string render(const Def_row& row)
{
    std::string out;
    for (std::size_t c = 0; c < def_column_count; ++c) {
        if (c)
            out += '|';
        out += row.columns[c].to_utf8();
    }
    const Def_row_entry& e = row.entry;
    out += " @";
    out += label(e.item);
    out += ' ';
    out += label(e.parent);
    out += e.branch ? " T " : " F ";
    out += std::to_string(e.depth);
    out += ' ';
    out += e.insertable ? 'i' : '.';
    out += e.editable ? 'e' : '.';
    out += e.deletable ? 'd' : '.';
    return out;
}

std::vector<std::string> render(const std::vector<Def_row>& rows)
{
    std::vector<std::string> out;
    for (const Def_row& row : rows)
        out.push_back(render(row));
    return out;
}

Def_int* with_values(Def_int* item, Named_values values)
{
    item->set_named_values(std::move(values));
    return item;
}

Def_if* if_item(const char* condition, std::vector<Define*> then_items, std::vector<Define*> else_items)
{
    auto* item = new Def_if(sj(condition));
    for (Define* child : then_items)
        item->insert_then_child(std::unique_ptr<Define>(child), nullptr);
    for (Define* child : else_items)
        item->insert_else_child(std::unique_ptr<Define>(child), nullptr);
    return item;
}

struct Rows_case {
    const char* name;
    std::function<void(Item_list&)> build;
    std::vector<std::string> expected;
};

void PrintTo(const Rows_case& c, std::ostream* os) { *os << c.name; }

class Definition_rows_test : public testing::TestWithParam<Rows_case> {};

TEST_P(Definition_rows_test, RowsAndEntriesAreExact)
{
    Item_list items;
    GetParam().build(items);
    const std::vector<Def_row> rows = definition_rows(items);
    EXPECT_EQ(render(rows), GetParam().expected);

    // The row-count walk agrees with what the display walk wrote (plus the closing row).
    std::size_t counted = 1;
    for (Define* item : items) {
        Def_cnt_visitor count;
        item->accept(count);
        counted += static_cast<std::size_t>(count.count());
    }
    EXPECT_EQ(rows.size(), counted);
}

const Named_values minus_one_and_one{{-1, sj("a")}, {1, sj("b")}};

INSTANTIATE_TEST_SUITE_P(
    Rows, Definition_rows_test,
    testing::Values(
        Rows_case{"Empty", [](Item_list&) {}, {"|||| @- - F 0 i.."}},
        Rows_case{"LeafKinds",
                  [](Item_list& items) {
                      items.insert(std::unique_ptr<Define>(with_values(int_item("s", 2, true, Def_int::decimal, "v"), minus_one_and_one)),
                                   nullptr);
                      items.insert(std::unique_ptr<Define>(with_values(int_item("u", 4, false, Def_int::hexadecimal), minus_one_and_one)),
                                   nullptr);
                      items.insert(std::unique_ptr<Define>(fix_str("fix", 8)), nullptr);
                      items.insert(std::unique_ptr<Define>(flex_str("flex", 2)), nullptr);
                      items.insert(std::unique_ptr<Define>(null_str("名前")), nullptr);
                      items.insert(std::unique_ptr<Define>(set_var("left", "n - 1")), nullptr);
                      items.insert(std::unique_ptr<Define>(ref("entry", "chunk")), nullptr);
                      items.insert(std::unique_ptr<Define>(float_item("x", 8)), nullptr);
                      items.insert(std::unique_ptr<Define>(bytes_item("data", "n * 4")), nullptr);
                  },
                  {
                      "2|○|s|v|-1:a  1:b   @s - F 0 ied",
                      "4||u||1:b  4294967295:a   @u - F 0 ied",
                      "8||fix|| @fix - F 0 ied",
                      "2 + 文字列||flex|| @flex - F 0 ied",
                      "文字列||名前|| @名前 - F 0 ied",
                      "||set (n - 1)|left| @left - F 0 ied",
                      "chunk||entry|| @entry - F 0 ied",
                      "8||x||浮動小数点数 @x - F 0 ied",
                      "n * 4||data||バイト列 @data - F 0 ied",
                      "|||| @- - F 0 i..",
                  }},
        // A length expression in the size column, an encoding other than Shift-JIS in the remarks.
        Rows_case{"StringAdditions",
                  [](Item_list& items) {
                      auto* fixed = fix_str("f", 0);
                      fixed->set_length_text(sj("n * 2"));
                      fixed->set_encoding(Text_encoding::utf8);
                      auto* flex = flex_str("g", 1);
                      flex->set_encoding(Text_encoding::utf16le);
                      auto* null = null_str("h");
                      null->set_encoding(Text_encoding::latin1);
                      for (Define* item : std::initializer_list<Define*>{fixed, flex, null})
                          items.insert(std::unique_ptr<Define>(item), nullptr);
                  },
                  {
                      "n * 2||f||UTF-8 @f - F 0 ied",
                      "1 + 文字列||g||UTF-16LE @g - F 0 ied",
                      "文字列||h||ISO-8859-1 @h - F 0 ied",
                      "|||| @- - F 0 i..",
                  }},
        Rows_case{"UnsignedOrderPutsHighValuesLast",
                  [](Item_list& items) {
                      items.insert(std::unique_ptr<Define>(with_values(int_item("u", 4),
                                               {{std::int32_t(-2147483647 - 1), sj("min")},
                                                {-2, sj("m2")},
                                                {0, sj("zero")},
                                                {2147483647, sj("max")}})),
                                   nullptr);
                  },
                  {
                      "4||u||0:zero  2147483647:max  2147483648:min  4294967294:m2   @u - F 0 ied",
                      "|||| @- - F 0 i..",
                  }},
        Rows_case{"BitFlagsCountOnAndAcceptNothing",
                  [](Item_list& items) {
                      Def_int* item = int_item("flags", 1, true);
                      with_flag(item, "low", 1, "l");
                      with_flag(item, "mode", 3);
                      item->add_bit_flag(std::make_unique<Def_bitflag>(sj("top"), 2, sj("")));
                      item->bit_flags().back()->set_named_values(minus_one_and_one);
                      items.insert(std::unique_ptr<Define>(item), nullptr);
                  },
                  {
                      "1|○|flags|| @flags - F 0 ied",
                      "bit 0||  low|l| @low - F 1 ...",
                      "bit 1 - 3||  mode|| @mode - F 1 ...",
                      "bit 4 - 5||  top||1:b  4294967295:a   @top - F 1 ...",
                      "|||| @- - F 0 i..",
                  }},
        Rows_case{"EmptyIfAndEmptyFor",
                  [](Item_list& items) {
                      items.insert(std::unique_ptr<Define>(if_item("x == 1", {}, {})), nullptr);
                      items.insert(std::unique_ptr<Define>(for_loop("loop", "3")), nullptr);
                  },
                  {
                      "||if (x == 1) {|| @x == 1 - F 0 ied",
                      "||} else {|| @- x == 1 T 1 i..",
                      "||}|| @- x == 1 F 1 i..",
                      "||loop for (3) {|| @loop - F 0 ied",
                      "||}|| @- loop F 1 i..",
                      "|||| @- - F 0 i..",
                  }},
        Rows_case{"NestedContainers",
                  [](Item_list& items) {
                      items.insert(std::unique_ptr<Define>(def_set("chunk", null_str("text"),
                                           while_loop("rest", "n > 0", with_flag(int_item("b", 1), "f", 2)))),
                                   nullptr);
                      items.insert(std::unique_ptr<Define>(if_item("kind == 2", {for_loop("pairs", "n", fix_str("k", 4)), ref("c", "chunk")},
                                           {set_var("n", "0")})),
                                   nullptr);
                  },
                  {
                      "||定義 (chunk) {|| @chunk - F 0 ied",
                      "文字列||  text|| @text chunk F 1 ied",
                      "||  rest while (n > 0) {|| @rest chunk F 1 ied",
                      "1||    b|| @b rest F 2 ied",
                      "bit 0 - 1||      f|| @f - F 3 ...",
                      "||  }|| @- rest F 2 i..",
                      "||}|| @- chunk F 1 i..",
                      "||if (kind == 2) {|| @kind == 2 - F 0 ied",
                      "||  pairs for (n) {|| @pairs kind == 2 T 1 ied",
                      "4||    k|| @k pairs F 2 ied",
                      "||  }|| @- pairs F 2 i..",
                      "chunk||  c|| @c kind == 2 T 1 ied",
                      "||} else {|| @- kind == 2 T 1 i..",
                      "||  set (0)|n| @n kind == 2 F 1 ied",
                      "||}|| @- kind == 2 F 1 i..",
                      "|||| @- - F 0 i..",
                  }}),
    [](const testing::TestParamInfo<Rows_case>& info) { return std::string(info.param.name); });

TEST(Definition_rows, IfWithTwoItemsInEachBranchCountsSevenRows)
{
    std::unique_ptr<Def_if> item(
        if_item("c", {null_str("a"), null_str("b")}, {null_str("c"), null_str("d")}));
    Def_cnt_visitor count;
    item->accept(count);
    EXPECT_EQ(count.count(), 7);
    EXPECT_EQ(item_rows(*item, {}).size(), 7u);
}

TEST(Definition_rows, NewItemRowsTakeTheirPlace)
{
    Def_for loop(sj("loop"), sj("2"));
    std::unique_ptr<Def_if> item(if_item("c", {}, {}));
    const Def_row_entry place{nullptr, &loop, false, 1};
    EXPECT_EQ(render(item_rows(*item, place)), (std::vector<std::string>{
                                                    "||  if (c) {|| @c loop F 1 ied",
                                                    "||  } else {|| @- c T 2 i..",
                                                    "||  }|| @- c F 2 i..",
                                                }));
}

class Rewrite_rows_test : public testing::Test {
protected:
    void SetUp() override
    {
        item_ = with_flag(with_flag(with_flag(int_item("flags", 2), "a", 1), "b", 1), "c", 1);
        loop_ = for_loop("loop", "3", null_str("s"));
        items_.insert(std::unique_ptr<Define>(item_), nullptr);
        items_.insert(std::unique_ptr<Define>(loop_), nullptr);
        rows_ = definition_rows(items_);
    }

    Item_list items_;
    Def_int* item_ = nullptr;
    Def_for* loop_ = nullptr;
    std::vector<Def_row> rows_;
};

TEST_F(Rewrite_rows_test, AnIntegerThatLostFlagsKeepsExactlyItsNewFlagRows)
{
    ASSERT_EQ(rows_.size(), 8u);
    Bit_flags flags;
    flags.push_back(std::make_unique<Def_bitflag>(sj("only"), 4, sj("o")));
    item_->set_bit_flags(std::move(flags));
    item_->set_signed(true);
    EXPECT_EQ(rewrite_item_rows(rows_, 0, 3), 1u);
    EXPECT_EQ(render(rows_), (std::vector<std::string>{
                                 "2|○|flags|| @flags - F 0 ied",
                                 "bit 0 - 3||  only|o| @only - F 1 ...",
                                 "||loop for (3) {|| @loop - F 0 ied",
                                 "文字列||  s|| @s loop F 1 ied",
                                 "||}|| @- loop F 1 i..",
                                 "|||| @- - F 0 i..",
                             }));
    EXPECT_EQ(render(rows_), render(definition_rows(items_)));
}

TEST_F(Rewrite_rows_test, AContainerRewritesOnlyItsHeadRow)
{
    loop_->set_name(sj("again"));
    loop_->set_count(sj("n"));
    EXPECT_EQ(rewrite_item_rows(rows_, 4, 0), 0u);
    EXPECT_EQ(render(rows_), render(definition_rows(items_)));
    EXPECT_EQ(render(rows_[4]), "||again for (n) {|| @again - F 0 ied");
}

TEST_F(Rewrite_rows_test, RowsWithoutAnEditableItemAreLeftAlone)
{
    const std::vector<std::string> before = render(rows_);
    EXPECT_EQ(rewrite_item_rows(rows_, 1, 0), 0u);  // a bit-flag row
    EXPECT_EQ(rewrite_item_rows(rows_, 6, 0), 0u);  // the For's closing row
    EXPECT_EQ(rewrite_item_rows(rows_, 7, 0), 0u);  // the list's closing row
    EXPECT_EQ(render(rows_), before);
}

} // namespace
