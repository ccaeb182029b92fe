#pragma once

#include <string>

class QWidget;

// Shows `note` (UTF-8) for a while in the status bar of the main window that owns
// `from` (a dialog's owner is the main window), where the progress bar is drawn
// while an operation runs.
void show_status_note(QWidget& from, const std::string& note);
