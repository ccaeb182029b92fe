#pragma once

#include <string>

class Data_mgr;

// Walks the whole data list and compares it with the document's bookkeeping: every
// node's position and back link, the size, and the skip index entry (node and
// Shift-JIS phase) at every block boundary. Returns an empty string when all agree,
// otherwise a description of the first disagreement. For tests and fuzzing: it
// reads every byte.
[[nodiscard]] std::string find_data_inconsistency(const Data_mgr& doc);
