#include "ui/find_bar.h"

#include "document/data_mgr.h"
#include "model/component.h"
#include "ui/core/find_run.h"
#include "ui/data_page.h"

namespace {

constexpr int find_bar_id = 2122;

// Clears a flag however the scope is left.
class Running {
public:
    explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
    ~Running() { flag_ = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& flag_;
};

} // namespace

void Find_bar::create(Bcl_wnd& parent, std::function<bool(const Bcl_key_event&)> focus_key)
{
    bar_.create(parent, find_bar_id,
                {.label = "検索する文字列(&S):",
                 .kinds = {"名前(&N)", "値(&A)", "バイト列(&B)", "テキスト(&T)"},
                 .next = "次を検索",
                 .previous = "前を検索",
                 .next_tip = "次を検索 (F3)",
                 .previous_tip = "前を検索 (Shift+F3)",
                 .close_tip = "閉じる (Esc)"},
                {.next = [this] { find(Find_direction::next); },
                 .previous = [this] { find(Find_direction::previous); },
                 .close = [this] { close(); },
                 .focus_key = std::move(focus_key)});
}

void Find_bar::open()
{
    bar_.show();
    bar_.focus_query();
}

void Find_bar::close()
{
    if (searching_)
        return;
    bar_.show(false);
    page_.list().set_focus();
}

// A hit is shown as go to shows a place: the components by their way down, the bytes
// by their first byte, selected with the rest of the pattern. Nothing found, nothing
// moves.
void Find_bar::find(Find_direction direction)
{
    if (!bar_.is_visible())
        open();
    // Showing a hit moves the focus to the page; a search from the bar keeps it.
    const bool from_bar = bar_.has_focus();
    const Find_query query = make_find_query(static_cast<Find_kind>(bar_.kind()), bar_.query());
    if (!query.error.empty()) {
        bar_.set_note(query.error);
        return;
    }
    bar_.set_note("");
    const Running running(searching_);
    Find_result result;
    if (query.components) {
        const Component_find found = run_component_find(document_, *query.components, page_.selected_indices(), direction);
        result = found.result;
        if (result.end == Find_result::End::found)
            page_.show_path(open_hit(document_, found.indices));
    } else {
        const Byte_find found = run_byte_find(document_, query.bytes, byte_search_from(page_.dump().caret(), direction),
                                              direction);
        result = found.result;
        if (result.end == Find_result::End::found)
            page_.go_to(static_cast<std::uint32_t>(found.offset), static_cast<std::uint32_t>(query.bytes.size()));
    }
    bar_.set_note(find_result_text(result));
    if (from_bar)
        bar_.focus_query();
}
