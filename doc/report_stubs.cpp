// Placeholders until the text report is written: they fail loudly rather than
// pretend to write it.
#include <stdexcept>

#include "doc/data_mgr.h"
#include "model/def_container.h"
#include "model/def_def_ref.h"
#include "model/def_if.h"
#include "model/def_int.h"
#include "model/def_nodef.h"
#include "model/def_set_variable.h"
#include "model/def_str.h"

namespace {
[[noreturn]] void not_built() { throw std::logic_error("text report: not built yet"); }
} // namespace

void Data_mgr::analyze_to_text(const Bcl_str&, const Bcl_str&) { not_built(); }
void Def_int::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_bitflag::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_fix_str::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_flex_str::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_null_str::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_if::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_for::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_while::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_def_set::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_set_variable::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_def_ref::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
void Def_nodef::write_analysis(Bcl_binaryfile&, Bcl_textfile&, int) { not_built(); }
