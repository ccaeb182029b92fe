#include "document/data_mgr.h"

#include "document/process.h"
#include "engine/analysis.h"
#include "model/component.h"
#include "model/define.h"
#include "toolkit/progress.h"
#include "toolkit/text/texts.h"

Data_mgr& Data_mgr::instance()
{
    static Data_mgr document;
    return document;
}

Data_mgr::Data_mgr() : title_(texts::undefined())
{
    // The store is made before the document, so it outlives it at exit.
    (void)Byte_store::head();
    // The items walk over this document's data, and the components edit it, from now on.
    set_walk_context(this);
    set_data_editor(this);
    analyze();
}

Data_mgr::~Data_mgr()
{
    // Commands first: they hand their nodes back to the store and may own items.
    for (History* stack : {&definition_undo_, &definition_redo_, &data_undo_, &data_redo_})
        while (!stack->empty())
            stack->pop_back();
    root_.reset();
    set_walk_context(nullptr);
    set_data_editor(nullptr);
}

void Data_mgr::insert_item(std::unique_ptr<Define> item, Define* before)
{
    item->set_parent(nullptr);
    items_.insert(std::move(item), before);
    definition_changed();
}

Removed_item Data_mgr::remove_item(Define* item)
{
    Removed_item removed = items_.remove(item);
    definition_changed();
    return removed;
}

void Data_mgr::set_title(Bcl_str title)
{
    title_ = std::move(title);
    definition_changed();
}

void Data_mgr::set_byte_order(Byte_order byte_order)
{
    byte_order_ = byte_order;
    definition_changed();
}

void Data_mgr::definition_changed()
{
    definition_modified_ = true;
    checkpoints().clear();
}

void Data_mgr::new_definition()
{
    Progress_reporter& progress = reporter();
    progress.set_text(texts::releasing());
    progress.begin_progress(items_.size() + definition_undo_.size() + definition_redo_.size());
    definition_path_ = File_path();
    definition_modified_ = false;
    // The old tree refers to the items: drop it before them.
    root_.reset();
    std::uint64_t done = 0;
    for (std::unique_ptr<Define>& item : items_.release_all()) {
        item.reset();
        progress.step(++done);
    }
    title_ = texts::undefined();
    byte_order_ = Byte_order::big_endian;
    empty_history(definition_undo_, done);
    empty_history(definition_redo_, done);
    progress.end_progress();
    progress.set_text(Bcl_str());
    analyze();
}

// ---- analysis ----

void Data_mgr::analyze()
{
    Progress_scope scope(texts::analysing(), size());
    root_.reset();
    root_ = std::make_unique<Component>(title_, Bcl_str(), nullptr);
    analyze_items(items_, undefined_item_, first_node(), *root_);
}

void Data_mgr::analyze_changed_data()
{
    // A byte change drops the checkpoints from its position on (see exchange), so
    // the last one left is the last before every change since the analysis.
    if (!root_ || checkpoints().points().empty()) {
        analyze();
        return;
    }
    Progress_scope scope(texts::analysing(), size());
    resume_analysis(items_, undefined_item_, checkpoints().points().back(), *root_);
}

void Data_mgr::replay(Data_node* stop)
{
    // A stop byte that is not in the data is never met: any checkpoint will do.
    const std::uint64_t stop_position = stop ? stop->position() : std::uint64_t{size()} + 1;
    replay_items(items_, first_node(), stop, checkpoints().last_before(stop_position));
}

// ---- histories ----

void Data_mgr::empty_history(History& stack, std::uint64_t& done)
{
    // One command at a time from the top: no recursion however deep the history.
    while (!stack.empty()) {
        stack.pop_back();
        reporter().step(++done);
    }
}

void Data_mgr::push_definition_command(std::unique_ptr<Process> command)
{
    checkpoints().clear();
    definition_undo_.push_back(std::move(command));
    while (!definition_redo_.empty())
        definition_redo_.pop_back();
}

void Data_mgr::record_data_command(std::unique_ptr<Process> command)
{
    data_undo_.push_back(std::move(command));
    while (!data_redo_.empty())
        data_redo_.pop_back();
}

namespace {

// Takes the top command off `from`, runs `step` on it and pushes it on `to`. Should
// the step throw, the command goes back where it was rather than being destroyed
// with whatever it owns while the document may still refer to it.
template <typename Step>
Process& move_top(std::deque<std::unique_ptr<Process>>& from, std::deque<std::unique_ptr<Process>>& to, Step step)
{
    std::unique_ptr<Process> command = std::move(from.back());
    from.pop_back();
    try {
        step(*command);
    } catch (...) {
        from.push_back(std::move(command));
        throw;
    }
    to.push_back(std::move(command));
    return *to.back();
}

} // namespace

Define* Data_mgr::undo_definition()
{
    if (definition_undo_.empty())
        return nullptr;
    Process& command = move_top(definition_undo_, definition_redo_, [](Process& p) { p.undo(); });
    definition_changed();
    analyze();
    return command.item_to_select();
}

Define* Data_mgr::redo_definition()
{
    if (definition_redo_.empty())
        return nullptr;
    Process& command = move_top(definition_redo_, definition_undo_, [](Process& p) { p.redo(); });
    definition_changed();
    analyze();
    return command.item_to_select();
}

Data_place Data_mgr::undo_data()
{
    if (data_undo_.empty())
        return {};
    Process& command = move_top(data_undo_, data_redo_, [](Process& p) { p.undo(); });
    data_modified_ = true;
    analyze_changed_data();
    return {command.place_to_show(), command.bit_to_show()};
}

Data_place Data_mgr::redo_data()
{
    if (data_redo_.empty())
        return {};
    Process& command = move_top(data_redo_, data_undo_, [](Process& p) { p.redo(); });
    data_modified_ = true;
    analyze_changed_data();
    return {command.place_to_show(), command.bit_to_show()};
}
