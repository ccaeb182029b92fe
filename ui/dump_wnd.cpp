#include "ui/dump_wnd.h"

#include "doc/data_mgr.h"

void Dump_wnd::create(Bcl_wnd& parent) { Bcl_view::create(parent, "DumpWnd"); }

void Dump_wnd::refresh_range() { data_length_ = document_.size(); }
