// Where a row of the definition list may be dropped.
#include <gtest/gtest.h>

#include "analysis_helpers.h"
#include "model/item_list.h"
#include "ui/core/definition_drop.h"

using namespace analysis_test;

namespace {

TEST(Definition_drop, AllowsOnlyDropsThatMoveTheItemSomewhereElse)
{
    Item_list items;
    // Rows 0, 1: the integer and its flag; 2-6: the loops; 7: the last string; 8 closes the list.
    items.insert(std::unique_ptr<Define>(with_flag(int_item("n", 1), "f", 2)), nullptr);
    items.insert(std::unique_ptr<Define>(for_loop("outer", "2", for_loop("inner", "1", null_str("s")))), nullptr);
    items.insert(std::unique_ptr<Define>(null_str("last")), nullptr);
    const std::vector<Def_row> rows = definition_rows(items);
    ASSERT_EQ(rows.size(), 9u);

    struct Row {
        std::size_t source, target;
        bool allowed;
    };
    const Row cases[] = {
        {0, 0, false},  // onto itself
        {0, 1, false},  // a bit-flag row accepts nothing
        {0, 2, false},  // just below its own block (the integer and its flag)
        {0, 3, true},   // into the outer loop
        {0, 8, true},   // to the end
        {1, 3, false},  // a bit-flag row cannot be dragged
        {2, 3, false},  // into itself
        {2, 4, false},  // into its own inner loop
        {2, 6, false},  // onto its own closing row
        {2, 7, false},  // just below its own block
        {2, 0, true},
        {2, 8, true},
        {3, 5, false},  // onto its own closing row
        {3, 6, false},  // just below its own block: the end of the outer loop's list
        {3, 2, true},   // out of the outer loop
        {4, 3, true},   // the string before the inner loop
        {7, 2, true},
        {7, 8, false},  // already last
        {8, 0, false},  // the closing row has no item
        {0, 9, false},  // no such row
    };
    for (const Row& row : cases)
        EXPECT_EQ(drop_allowed(rows, row.source, row.target), row.allowed) << row.source << " -> " << row.target;
}

} // namespace
