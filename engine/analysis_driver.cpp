// The analysis driver and the replay: the whole-document walks over the data.
#include "doc/data_mgr.h"
#include "model/component.h"
#include "model/define.h"
#include "toolkit/exception.h"
#include "toolkit/progress.h"
#include "toolkit/texts.h"

void Data_mgr::analyze()
{
    Progress_scope scope(texts::analysing(), size_);
    root_.reset();
    clear_tables();
    root_ = std::make_unique<Component>(title_, Bcl_str(), nullptr);
    Data_node* cur = first_node();
    try {
        for (Define* item : items_) {
            cur = item->analyze(cur, root_.get(), nullptr);
            if (cur)
                reporter().step(cur->position);
        }
        if (cur)
            undefined_item_.analyze(cur, root_.get(), nullptr);
    } catch (const Data_shortage&) {
        root_->add_child(new Component(texts::data_shortage(), Bcl_str(), nullptr));
    }
}

void Data_mgr::replay_to(Data_node* stop)
{
    clear_tables();
    Data_node* cur = first_node();
    try {
        for (Define* item : items_)
            cur = item->analyze(cur, nullptr, stop);
    } catch (const Data_shortage&) {
        // Reaching the stop byte is the replay's normal end.
    }
}
