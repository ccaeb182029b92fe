#pragma once

class Component;
class Data_node;
class Def_nodef;
class Walk_watcher;
#include "model/item_list.h"
struct Walk_checkpoint;

// The walks of a whole definition over the data, from the first byte `first` or
// from a checkpoint of the last analysis (see Walk_checkpoints). Each sets the walk
// context's tables as it begins; the caller arms the progress (the document does
// in its analyze() and replay_to()).

// The analysis: every item of `items` in order, then `undefined_item` over the
// bytes left, each adding its components to `root`. A data shortage ends the walk
// with the "データ不足" marker as the root's last child, and the bytes left then get
// no undefined block. The walk context's checkpoints are taken afresh on the way.
void analyze_items(Item_span items, Def_nodef& undefined_item, Data_node* first, Component& root);

// The analysis again from `from`, one of the walk context's checkpoints, over data
// changed after it only: the components `root` got before that point stay, the
// rest are made again, and so are the checkpoints after it. Gives what
// analyze_items gives.
void resume_analysis(Item_span items, Def_nodef& undefined_item, const Walk_checkpoint& from,
                     Component& root);

// The walk of the analysis for `watcher`, making no components: every component
// of the fully expanded tree (the root left out) is told to it in tree order, the
// data-shortage marker last when the data runs out. The tables are left as the walk
// leaves them; a failure the watcher throws ends the walk and passes on.
void watch_items(Item_span items, Def_nodef& undefined_item, Data_node* first, Walk_watcher& watcher);

// How a replay ended: at its stop byte or where the data ran out (the data-shortage
// signal), or after the last item at byte `end`.
struct Replay_end {
    bool signalled = false;
    Data_node* end = nullptr;

    friend bool operator==(const Replay_end&, const Replay_end&) = default;
};

// The replay: the items in order without components, up to `stop` (null: the end of
// the data, where the components made at the end start), from the first byte or
// from `from` (a checkpoint before `stop`). The first reading item entered at
// `stop` ends it; the tables then hold what the walk had set by then, the same from
// a checkpoint as from the first byte.
Replay_end replay_items(Item_span items, Data_node* first, Data_node* stop, const Walk_checkpoint* from);
