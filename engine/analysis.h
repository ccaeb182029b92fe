#pragma once

class Component;
class Data_node;
class Def_nodef;
class Item_list;

// The walks of a whole definition over the data, from the first byte `first`. The
// caller starts the walk context's tables (see Walk_context) and arms the progress;
// the document does both in its analyze() and replay_to().

// The analysis: every item of `items` in order, then `undefined_item` over the
// bytes left, each adding its components to `root`. A data shortage ends the walk
// with the "データ不足" marker as the root's last child, and the bytes left then get
// no undefined block.
void analyze_items(const Item_list& items, Def_nodef& undefined_item, Data_node* first, Component& root);

// The replay: the items in order without components, up to `stop` (null: the end of
// the data, where the components made at the end start). The first reading item
// entered at `stop` ends it; the tables then hold what the walk had set by then.
void replay_items(const Item_list& items, Data_node* first, Data_node* stop);
