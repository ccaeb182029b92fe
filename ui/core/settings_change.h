#pragma once

#include "model/byte_order.h"
#include "toolkit/text/bcl_str.h"

class Data_mgr;

// The settings dialog confirmed: the document takes the title and the byte order
// and the definition history records the change with the previous values, so that undo restores them. Re-analysing is the
// caller's.
void change_settings(Data_mgr& document, Bcl_str title, Byte_order byte_order);
