#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stack>
#include <utility>
#include <vector>

#include "model/def_visitor.h"
#include "model/define.h"
#include "toolkit/text/bcl_str.h"

#include "model/item_list.h"

class Def_string;

// The columns of the definition list.
enum Def_column : std::size_t { col_size = 0, col_sign, col_content, col_variable, col_remarks, def_column_count };

// What one row of the definition list stands for, and what the user may do there.
struct Def_row_entry {
    Define* item = nullptr;    // none for the "} else {" and closing rows
    Define* parent = nullptr;  // the container whose list holds the row; none at top level
    bool branch = false;       // the row belongs to the then-list of the If in `parent`
    std::int32_t depth = 0;    // nesting level; the content text is indented two blanks per level
    bool insertable = true;    // a new item may be inserted before this row's item
    bool editable = true;
    bool deletable = true;     // also: may be dragged

    friend bool operator==(const Def_row_entry&, const Def_row_entry&) = default;
};

// One row of the definition list: its five column texts (Shift-JIS) and its entry.
struct Def_row {
    std::array<Bcl_str, def_column_count> columns;
    Def_row_entry entry;
};

// The definition display walk: appends the rows of every item it is applied to, in
// list order, to `rows`. The walk starts at `depth` inside `parent` (in its
// then-list when `branch`), so that it can also render an item that is being
// inserted into, or rewritten inside, an existing list.
class Def_disp_visitor : public Def_visitor {
public:
    // With `heads_only`, containers give only their own first row (no children, no
    // "} else {" or closing row): what an edit of the item rewrites. An integer's
    // bit-flag rows belong to its head.
    explicit Def_disp_visitor(std::vector<Def_row>& rows, std::int32_t depth = 0, Define* parent = nullptr,
                              bool branch = false, bool heads_only = false);

    void visit_int(Def_int& item) override;
    void visit_bitflag(Def_bitflag& item) override;
    void visit_fix_str(Def_fix_str& item) override;
    void visit_flex_str(Def_flex_str& item) override;
    void visit_null_str(Def_null_str& item) override;
    void visit_if(Def_if& item) override;
    void visit_for(Def_for& item) override;
    void visit_while(Def_while& item) override;
    void visit_set_variable(Def_set_variable& item) override;
    void visit_def_set(Def_def_set& item) override;
    void visit_def_ref(Def_def_ref& item) override;
    void visit_nodef(Def_nodef& item) override;
    void visit_float(Def_float& item) override;
    void visit_bytes(Def_bytes& item) override;

private:
    // Appends a row for `item` at the current depth and container; the caller fills
    // in the texts.
    Def_row& add_row(Define* item);
    void add_string_row(Def_string& item, Bcl_str size);
    // The container's head row, then (unless heads_only) its children and its
    // closing row.
    void visit_block(Define& item, Bcl_str head, Item_span children);
    void visit_children(Item_span children);
    // A row without an item that closes a list of `container`: insertable only.
    void add_closing_row(Define& container, bool branch, Bcl_str text);
    [[nodiscard]] Bcl_str indented(const Bcl_str& text) const;
    [[nodiscard]] Bcl_str outer_indented(const Bcl_str& text) const;

    std::vector<Def_row>& rows_;
    std::int32_t depth_;
    std::int64_t bit_ = 0;  // 64-bit: flag widths from a hostile file cannot overflow the sum
    bool wide_ = false;     // the flags' integer is 8 bytes
    std::stack<std::pair<Define*, bool>> containers_;
    bool heads_only_;
};

// The value-table text of the "備考" column: "value:meaning" and two blanks per
// entry. Signed order lists the values ascending as signed numbers; the unsigned
// order (unsigned integers and every bit flag) lists the values from 0 upward first,
// then the negative ones printed as unsigned numbers (2147483648 ... 4294967295).
// `wide`: the 64-bit values of an 8-byte integer or its flags.
[[nodiscard]] Bcl_str value_table_text(const Named_values& values, bool signed_order, bool wide = false);

// Every row of the definition list for the top-level items, in order, followed by
// the row that closes the list (no item, insertable only), so that an item can
// always be added at the end.
[[nodiscard]] std::vector<Def_row> definition_rows(Item_span items);

// The rows of one item placed as `place` says (its depth, parent and branch): the
// rows a newly inserted item adds to the list.
[[nodiscard]] std::vector<Def_row> item_rows(Define& item, const Def_row_entry& place);

// After `rows[row].entry.item` was changed by its dialog: rewrites that row's texts
// and replaces the `old_flag_rows` bit-flag rows under it (the integer's flag count
// before the change) by one row per current flag. Returns the number of flag rows
// now under it. The rows of a container's children and its closing rows stay. A row
// that is not editable (closing, "} else {" and bit-flag rows) is left alone.
std::size_t rewrite_item_rows(std::vector<Def_row>& rows, std::size_t row, std::size_t old_flag_rows);
