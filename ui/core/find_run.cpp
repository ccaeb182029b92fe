#include "ui/core/find_run.h"

#include <chrono>

#include "toolkit/progress.h"

namespace {

// The status bar redraws at each new text: the count of hits is told no more often
// than this, however many hits come.
constexpr std::chrono::milliseconds count_interval{100};

// Offers each hit of `search` to a choice made from `from` and says how it ended.
template <typename Key, typename Search>
Find_result choose_hit(Hit_choice<Key>& choice, Find_direction direction, const Search& search)
{
    // The walk keeps the analysis and the bytes as they are: the views may scroll,
    // from the first repaint (the status text's) on.
    const Operation_kind_scope finding(Operation_kind::finding);
    const Progress_scope scope(Bcl_str::from_utf8(find_progress_text(0)), 0);
    // Told again now and then also without a new hit, from the search's checks.
    auto told = std::chrono::steady_clock::now();
    const auto tell = [&](bool now_anyway) {
        const auto now = std::chrono::steady_clock::now();
        if (now_anyway || now - told >= count_interval) {
            told = now;
            reporter().set_text(Bcl_str::from_utf8(find_progress_text(choice.seen())));
        }
    };
    const auto offer = [&](const Key& key) {
        const bool more = choice.offer(key);
        tell(choice.seen() == 1);
        return more;
    };
    const Find_end end = search(offer, [&] {
        tell(false);
        // A percent of a large file takes longer than the window may go without a
        // repaint: the reporter redraws on its own clock as well.
        reporter().tick();
        return find_stop_requested();
    });
    Find_result result;
    result.direction = direction;
    if (end == Find_end::cancelled) {
        result.end = Find_result::End::cancelled;
        return result;
    }
    choice.finish();
    if (choice.chosen()) {
        result.end = Find_result::End::found;
        result.ordinal = choice.ordinal();
        result.wrapped = choice.wrapped();
    }
    return result;
}

} // namespace

// The user's stop request: the stop button or Escape while the search runs.
bool find_stop_requested() { return reporter().stop_requested(); }

Component_find run_component_find(Data_mgr& document, const Component_query& query,
                                  std::optional<std::vector<int>> from, Find_direction direction)
{
    Hit_choice<std::vector<int>> choice(std::move(from), direction);
    Component_find found;
    found.result = choose_hit(choice, direction, [&](const auto& offer, const Cancel_check& cancelled) {
        return find_components(
            document, query, [&](const Component_hit& hit) { return offer(hit.indices); }, cancelled);
    });
    if (found.result.end == Find_result::End::found)
        found.indices = *choice.chosen();
    return found;
}

Byte_find run_byte_find(const Data_mgr& document, std::string_view pattern, std::optional<std::uint64_t> from,
                        Find_direction direction)
{
    Hit_choice<std::uint64_t> choice(from, direction);
    Byte_find found;
    found.result = choose_hit(choice, direction, [&](const auto& offer, const Cancel_check& cancelled) {
        return find_bytes(document, pattern, [&](std::uint64_t offset) { return offer(offset); }, cancelled);
    });
    if (found.result.end == Find_result::End::found)
        found.offset = *choice.chosen();
    return found;
}
