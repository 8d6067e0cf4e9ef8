#pragma once
// Opening the symbol chooser from a Symbol edit of the main dialog.

#include "platform.h"

// The host's modal chooser: returns after a pick, or at once when it cannot be
// created. Presses go through symbolChooserPress with the dialog's pick.
void runSymbolChooser(Dialog* mainDialog);

// EN_SETFOCUS of Symbol edit 1108 or 1122: run the chooser, then write the pick
// into that edit.
void openSymbolChooser(Dialog* dialog, int editId);
