#pragma once

// Every definition item kind, for code that handles them all.
#include "model/def_bytes.h"
#include "model/def_container.h"
#include "model/def_def_ref.h"
#include "model/def_float.h"
#include "model/def_if.h"
#include "model/def_int.h"
#include "model/def_nodef.h"
#include "model/def_set_variable.h"
#include "model/def_str.h"
#include "model/def_visitor.h"
