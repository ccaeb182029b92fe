#include "model/component.h"

#include <algorithm>
#include <iterator>

#include "model/cmp_visitor.h"
#include "model/data_node.h"
#include "model/walk_context.h"
#include "toolkit/progress.h"
#include "toolkit/text/texts.h"

Component::~Component() { clear_children(); }

void Component::accept(Cmp_visitor& visitor) { visitor.visit_component(*this); }

const Bcl_str& Component::name() const { return name_; }

const Bcl_str& Component::value_text() const { return value_text_; }

void Component::clear_children()
{
    // Children are destroyed from a moved-out list, so a child's destructor never
    // sees its parent half-emptied; deep trees unwind one level per child.
    std::vector<std::unique_ptr<Component>> doomed;
    doomed.swap(children_);
}

void Component::remove_children_from(int first)
{
    const auto kept = static_cast<std::size_t>(std::max(first, 0));
    if (kept >= children_.size())
        return;
    std::vector<std::unique_ptr<Component>> doomed(std::make_move_iterator(children_.begin() + static_cast<std::ptrdiff_t>(kept)),
                                                   std::make_move_iterator(children_.end()));
    children_.resize(kept);
}

std::uint32_t Component::size() const
{
    // From the positions: a table of the undefined bytes may cover gigabytes.
    if (!start_)
        return 0;
    const std::uint32_t from = start_->position();
    const std::uint32_t to = walk_context().position_of(end_);
    return to > from ? to - from : 0;
}

void Component::begin_expansion(std::uint64_t progress_total, const Walk_bounds::State& bounds)
{
    Progress_reporter& progress = reporter();
    progress.set_text(texts::analysing());
    progress.begin_progress(progress_total);
    try {
        Walk_context& walk = walk_context();
        walk.replay_to(start_, replay_target());
        // The replay has only restored the variables and sets; the children are
        // built as the walk that made this component would have built them.
        walk.tables().bounds.resume(bounds, walk.position_of(start_));
    } catch (...) {
        end_expansion();
        throw;
    }
}

void Component::end_expansion()
{
    walk_context().tables().bounds.resume({}, 0);
    Progress_reporter& progress = reporter();
    progress.end_progress();
    progress.set_text(Bcl_str());
}
