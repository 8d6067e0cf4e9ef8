#pragma once
// Settings files on the Qt dialog: Ctrl+O and Ctrl+S, the same two entries in the
// dialog's context menu, Qt's file dialogs, and files dropped on the window.

#include "dialog_qt.h"

void enableSettingsFiles(Dialog* dialog);
