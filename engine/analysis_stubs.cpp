// Placeholders until the item walks are written: they fail loudly rather than
// pretend to analyse.
#include <stdexcept>

#include "model/def_container.h"
#include "model/def_def_ref.h"
#include "model/def_if.h"
#include "model/def_int.h"
#include "model/def_nodef.h"
#include "model/def_set_variable.h"
#include "model/def_str.h"

namespace {
[[noreturn]] void not_built(const char* what) { throw std::logic_error(std::string(what) + ": not built yet"); }
} // namespace

Data_node* Def_int::analyze(Data_node*, Component*, Data_node*) { not_built("Def_int::analyze"); }
Data_node* Def_int::analyze_range(Data_node*, Component*, Data_node*, unsigned, unsigned, unsigned) { not_built("Def_int::analyze_range"); }
Data_node* Def_fix_str::analyze(Data_node*, Component*, Data_node*) { not_built("Def_fix_str::analyze"); }
Data_node* Def_flex_str::analyze(Data_node*, Component*, Data_node*) { not_built("Def_flex_str::analyze"); }
Data_node* Def_null_str::analyze(Data_node*, Component*, Data_node*) { not_built("Def_null_str::analyze"); }
Data_node* Def_if::analyze(Data_node*, Component*, Data_node*) { not_built("Def_if::analyze"); }
Data_node* Def_for::analyze(Data_node*, Component*, Data_node*) { not_built("Def_for::analyze"); }
Data_node* Def_for::analyze_range(Data_node*, Component*, Data_node*, unsigned, unsigned, unsigned) { not_built("Def_for::analyze_range"); }
Data_node* Def_for::analyze_once(Data_node*, Component*, Data_node*) { not_built("Def_for::analyze_once"); }
Data_node* Def_while::analyze(Data_node*, Component*, Data_node*) { not_built("Def_while::analyze"); }
Data_node* Def_while::analyze_range(Data_node*, Component*, Data_node*, unsigned, unsigned, unsigned) { not_built("Def_while::analyze_range"); }
Data_node* Def_while::analyze_once(Data_node*, Component*, Data_node*) { not_built("Def_while::analyze_once"); }
Data_node* Def_def_set::analyze(Data_node*, Component*, Data_node*) { not_built("Def_def_set::analyze"); }
Data_node* Def_set_variable::analyze(Data_node*, Component*, Data_node*) { not_built("Def_set_variable::analyze"); }
Data_node* Def_def_ref::analyze(Data_node*, Component*, Data_node*) { not_built("Def_def_ref::analyze"); }
Data_node* Def_def_ref::analyze_range(Data_node*, Component*, Data_node*, unsigned, unsigned, unsigned) { not_built("Def_def_ref::analyze_range"); }
Data_node* Def_nodef::analyze(Data_node*, Component*, Data_node*) { not_built("Def_nodef::analyze"); }
Data_node* Def_nodef::analyze_range(Data_node*, Component*, Data_node*, unsigned, unsigned, unsigned) { not_built("Def_nodef::analyze_range"); }
