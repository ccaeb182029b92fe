#pragma once

#include "toolkit/files/file_path.h"

class Data_mgr;
class Message_box;

// The text export: writes the analysis of `data` by the document's definition to
// `output` and tells the user "<output>に出力しました。", or, when it failed, the
// failure with its path (the output then keeps what it held). True when written.
bool run_text_export(Data_mgr& document, Message_box& messages, const File_path& data, const File_path& output);
