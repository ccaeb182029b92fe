#pragma once

#include <string_view>

class QDialog;

// The program's resources as the toolkit loads them by name: the dialog templates
// (res/dialogs/idd_*.ui, compiled by uic) and the images and version values compiled
// into the program (res/kestrix.qrc).

// Builds the controls of the template `name` ("IDD_ENV") into `dialog`; false when
// the program has no such template.
bool build_dialog_template(std::string_view name, QDialog& dialog);

// Makes the compiled-in resources reachable; called once at start-up.
void load_program_resources();
