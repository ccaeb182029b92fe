#pragma once

#include <functional>

class Message_box;

// Runs a document operation. A failure of the Exception family resets the status bar
// and its progress, is shown in a message box as its path followed by its message,
// and makes the answer false; nothing that failed is reported as done. A stop the
// user asked for (Operation_stopped) makes it false too, without a box.
bool run_reporting(Message_box& messages, const std::function<void()>& operation);
