#include "model/define.h"

Data_node* Define::analyze_range(Data_node* cur, Component*, Data_node*, unsigned, unsigned, unsigned) { return cur; }
Data_node* Define::analyze_once(Data_node* cur, Component*, Data_node*) { return cur; }
Removed_item Define::remove_child(Define*) { return {}; }
