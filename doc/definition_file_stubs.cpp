// Placeholders until the definition file format is written: they fail loudly rather
// than write a file that cannot be read back.
#include <stdexcept>

#include "doc/data_mgr.h"
#include "model/def_container.h"
#include "model/def_def_ref.h"
#include "model/def_if.h"
#include "model/def_int.h"
#include "model/def_set_variable.h"
#include "model/def_str.h"

namespace {
[[noreturn]] void not_built() { throw std::logic_error("definition files: not built yet"); }
} // namespace

void Data_mgr::load_definition(const Bcl_str&) { not_built(); }
void Data_mgr::save_definition(const Bcl_str&) { not_built(); }
void Def_int::save(Bcl_binaryfile&) const { not_built(); }
void Def_bitflag::save(Bcl_binaryfile&) const { not_built(); }
void Def_fix_str::save(Bcl_binaryfile&) const { not_built(); }
void Def_flex_str::save(Bcl_binaryfile&) const { not_built(); }
void Def_null_str::save(Bcl_binaryfile&) const { not_built(); }
void Def_if::save(Bcl_binaryfile&) const { not_built(); }
void Def_for::save(Bcl_binaryfile&) const { not_built(); }
void Def_while::save(Bcl_binaryfile&) const { not_built(); }
void Def_def_set::save(Bcl_binaryfile&) const { not_built(); }
void Def_set_variable::save(Bcl_binaryfile&) const { not_built(); }
void Def_def_ref::save(Bcl_binaryfile&) const { not_built(); }
