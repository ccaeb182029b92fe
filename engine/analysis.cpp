// The analysis driver and the replay: the whole-definition walks over the data,
// with the checkpoints that let a later walk go on from the middle.
#include "engine/analysis.h"

#include "engine/builtin_names.h"
#include "engine/walk.h"
#include "model/cmp_table.h"
#include "model/component.h"
#include "model/def_container.h"
#include "model/def_nodef.h"
#include "model/item_list.h"
#include "model/walk_checkpoints.h"
#include "toolkit/exception.h"
#include "toolkit/progress.h"
#include "toolkit/text/texts.h"

namespace {

// The walk over the top-level items: the analysis (components under `root`, a
// checkpoint taken at the first point between two items or two iterations of a
// top-level loop past each mark) or the replay (neither).
class Top_level_walk final : public walk::Loop_watcher {
public:
    Top_level_walk(Item_span items, Component* root, Data_node* stop)
        : items_(items), root_(root), stop_(stop), checkpoints_(root ? &walk_context().checkpoints() : nullptr)
    {
    }

    // Walks the items from the one at `first` on, starting at `cur`, or inside the
    // loop at `first` from `resume`.
    Data_node* run(std::size_t first, Data_node* cur, const walk::Loop_point* resume)
    {
        for (std::size_t i = first; i < items_.size(); ++i) {
            item_ = i;
            cur = walk_item(*items_[i], cur, i == first ? resume : nullptr);
            walk::step_progress(cur);
            if (checkpoints_ && cur && checkpoints_->due(cur->position()))
                take(cur, i + 1, nullptr);
            // Between two top-level items the tree is whole: the analysis may stop.
            if (root_)
                reporter().stop_point();
        }
        return cur;
    }

    void between_iterations(const walk::Loop_point& point) override
    {
        if (!point.cur)
            return;
        if (checkpoints_->due(point.cur->position()))
            take(point.cur, item_, &point);
        // After the checkpoint, which counts the marks before it: a walk resumed
        // there takes this mark again.
        if (checkpoints_->mark_due(point.done))
            checkpoints_->add_mark({items_[item_], point.done, point.cur});
        // A stop here leaves the loop's table as the data running out would.
        reporter().stop_point();
    }

private:
    Data_node* walk_item(Define& item, Data_node* cur, const walk::Loop_point* resume)
    {
        walk::Loop_watcher* watcher = checkpoints_ ? this : nullptr;
        if (auto* loop = dynamic_cast<Def_for*>(&item))
            return walk::for_loop(*loop, cur, root_, stop_, resume, watcher);
        if (auto* loop = dynamic_cast<Def_while*>(&item))
            return walk::while_loop(*loop, cur, root_, stop_, resume, watcher);
        return item.analyze(cur, root_, stop_);
    }

    void take(Data_node* cur, std::size_t item, const walk::Loop_point* loop)
    {
        Walk_checkpoint point;
        point.cur = cur;
        point.position = cur->position();
        point.item = item;
        if (loop) {
            point.in_loop = true;
            point.loop = items_[item];
            point.done = loop->done;
            point.count = loop->count;
            point.loop_start = loop->loop_start;
            point.loop_bounds = loop->loop_bounds;
        }
        point.components = static_cast<std::size_t>(root_->child_count());
        point.tables = walk_context().tables();
        checkpoints_->add(std::move(point));
    }

    Item_span items_;
    Component* root_;
    Data_node* stop_;
    Walk_checkpoints* checkpoints_;
    std::size_t item_ = 0;
};

walk::Loop_point loop_point_of(const Walk_checkpoint& point)
{
    walk::Loop_point loop;
    loop.cur = point.cur;
    loop.done = point.done;
    loop.count = point.count;
    loop.loop_start = point.loop_start;
    loop.loop_bounds = point.loop_bounds;
    return loop;
}

// The analysis from the item at `first` (inside its loop from `resume`) to the end.
void analyze_from(Item_span items, Def_nodef& undefined_item, std::size_t first, Data_node* cur,
                  const walk::Loop_point* resume, Component& root)
{
    try {
        cur = Top_level_walk(items, &root, nullptr).run(first, cur, resume);
        if (cur)
            undefined_item.analyze(cur, &root, nullptr);
    } catch (const Data_shortage&) {
        root.add_child(std::make_unique<Component>(texts::data_shortage(), Bcl_str(), nullptr));
    } catch (const Operation_stopped&) {
        // The components made so far stay, and the checkpoints taken on the way: the
        // next analysis goes on from the last of them and drops the marker.
        root.add_child(std::make_unique<Component>(texts::stopped_marker(), Bcl_str(), nullptr));
    }
}

} // namespace

void analyze_items(Item_span items, Def_nodef& undefined_item, Data_node* first, Component& root)
{
    Walk_context& walk = walk_context();
    walk.tables().start();
    walk.set_builtins(builtin_names_of(items));
    walk.checkpoints().clear();
    analyze_from(items, undefined_item, 0, first, nullptr, root);
}

void resume_analysis(Item_span items, Def_nodef& undefined_item, const Walk_checkpoint& from,
                     Component& root)
{
    Walk_context& walk = walk_context();
    // Copied first: the checkpoints after `from` are dropped, and the walk takes
    // them again.
    const Walk_checkpoint point = from;
    walk.checkpoints().keep_up_to(from);
    walk.tables() = point.tables;
    walk.set_builtins(builtin_names_of(items));
    root.remove_children_from(static_cast<int>(point.components));
    // Expansions made before the change are dropped and made again on demand from
    // the changed data: kept, they gave trees that differ from a fresh analysis's.
    for (int i = 0; i < root.child_count(); ++i)
        root.child(i)->clear_children();
    walk::Loop_point resume = loop_point_of(point);
    if (point.in_loop && dynamic_cast<Def_for*>(items[point.item])) {
        // A For loop's table is made before its iterations: the last component kept.
        auto* table = static_cast<Cmp_tbl*>(root.child(root.child_count() - 1));
        table->clear_children();
        table->set_end(nullptr);
        resume.table = table;
    }
    analyze_from(items, undefined_item, point.item, point.cur, point.in_loop ? &resume : nullptr, root);
}

void watch_items(Item_span items, Def_nodef& undefined_item, Data_node* first, Walk_watcher& watcher)
{
    Walk_context& walk = walk_context();
    struct Watching {
        Walk_context& walk;
        ~Watching() { walk.set_watcher(nullptr); }
    } watching{walk};
    walk.set_watcher(&watcher);
    walk.tables().start();
    walk.set_builtins(builtin_names_of(items));
    try {
        Data_node* cur = Top_level_walk(items, nullptr, nullptr).run(0, first, nullptr);
        if (cur)
            undefined_item.analyze(cur, nullptr, nullptr);
    } catch (const Data_shortage&) {
        Component marker(texts::data_shortage(), Bcl_str(), nullptr);
        watcher.ran_out(marker);
    }
}

Replay_end replay_items(Item_span items, Data_node* first, Data_node* stop, const Walk_checkpoint* from)
{
    Data_node* const until = stop ? stop : &walk::end_of_data_stop;
    Walk_tables& tables = walk_context().tables();
    walk_context().set_builtins(builtin_names_of(items));
    try {
        if (!from) {
            tables.start();
            return {false, Top_level_walk(items, nullptr, until).run(0, first, nullptr)};
        }
        tables = from->tables;
        const walk::Loop_point resume = loop_point_of(*from);
        return {false, Top_level_walk(items, nullptr, until).run(from->item, from->cur, from->in_loop ? &resume : nullptr)};
    } catch (const Data_shortage&) {
        // Reaching the stop byte is the replay's normal end.
        return {true, nullptr};
    }
}
