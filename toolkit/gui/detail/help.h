#pragma once

class QWidget;

// The help window opened from a modal dialog is that dialog's child (a window outside
// it would be blocked while the dialog is open); when the dialog closes, the help
// window stays open on its own.
void help_leave_window(QWidget* closing);
