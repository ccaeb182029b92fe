#include "document/proc_data.h"

#include "document/data_mgr.h"

Data_node* Node_run::last() const
{
    Data_node* node = first;
    for (std::uint32_t i = 1; i < count; ++i)
        node = node->next();
    return node;
}

void Node_run::unlink() const
{
    if (count == 0)
        return;
    link_between(first->prev(), nullptr, nullptr, last()->next());
}

void Node_run::link() const
{
    if (count == 0)
        return;
    Data_node* tail = last();
    link_between(first->prev(), first, tail, tail->next());
}

Data_node* Node_run::follower_of_predecessor() const { return first ? first->prev()->next() : nullptr; }

void Node_run::release() const { Node_pool::release_run(first, count); }

Proc_data_add::~Proc_data_add()
{
    if (removed_)
        run_.release();
}

void Proc_data_add::undo()
{
    removed_ = true;
    run_.unlink();
    document_.renumber(run_.first, run_.count, run_.follower_of_predecessor(), 0);
}

void Proc_data_add::redo()
{
    removed_ = false;
    run_.link();
    document_.renumber(nullptr, 0, run_.first, run_.count);
}

Data_node* Proc_data_add::place_to_show() const
{
    return removed_ ? run_.follower_of_predecessor() : run_.first;
}

Proc_data_del::~Proc_data_del()
{
    if (!restored_)
        run_.release();
}

void Proc_data_del::undo()
{
    restored_ = true;
    run_.link();
    document_.renumber(nullptr, 0, run_.first, run_.count);
}

void Proc_data_del::redo()
{
    restored_ = false;
    run_.unlink();
    document_.renumber(run_.first, run_.count, run_.follower_of_predecessor(), 0);
}

Data_node* Proc_data_del::place_to_show() const
{
    return restored_ ? run_.first : run_.follower_of_predecessor();
}

Proc_data_edit::~Proc_data_edit() { (undone_ ? new_run_ : old_run_).release(); }

void Proc_data_edit::swap_runs(const Node_run& out, const Node_run& in)
{
    // The run going out remembers the neighbours; the run coming in takes them.
    Data_node* before = out.first ? out.first->prev() : in.first->prev();
    Data_node* after = out.count ? out.last()->next() : in.last()->next();
    if (in.count)
        link_between(before, in.first, in.last(), after);
    else
        link_between(before, nullptr, nullptr, after);
}

void Proc_data_edit::undo()
{
    undone_ = true;
    swap_runs(new_run_, old_run_);
    // An empty old run (the new bytes were put in without replacing any) leaves
    // nothing in their place: the renumbering starts at the node that followed them.
    document_.renumber(new_run_.first, new_run_.count, old_run_.count ? old_run_.first : new_run_.last()->next(),
                   old_run_.count);
}

void Proc_data_edit::redo()
{
    undone_ = false;
    swap_runs(old_run_, new_run_);
    document_.renumber(old_run_.first, old_run_.count, new_run_.first, new_run_.count);
}

Data_node* Proc_data_edit::place_to_show() const { return undone_ ? old_run_.first : new_run_.first; }
