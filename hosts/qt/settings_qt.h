#pragma once
// Settings files on the Qt dialog: Ctrl+O and Ctrl+S, the same two entries in the
// dialog's context menu, Qt's file dialogs, and files dropped on the window.

#include "dialog_qt.h"

#include <string>

void enableSettingsFiles(Dialog* dialog);
// A file named on the command line; the file dialogs then start beside it.
void openSettingsAtStart(Dialog* dialog, const std::string& path);
