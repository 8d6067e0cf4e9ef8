// Frozen copy of dialog/symbol_chooser.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// Opening the symbol chooser from a Symbol edit of the main dialog.

#include "ref_platform.h"

namespace reference {

// The host's modal chooser: returns after a pick or Escape, or at once when it
// cannot be created. Presses go through symbolChooserPress and keys through
// symbolChooserKey, with the dialog's pick. Returns 0 when the main dialog was
// closed meanwhile, so nothing may touch it any more; else 1.
int runSymbolChooser(Dialog* mainDialog);

// EN_SETFOCUS of Symbol edit 1108 or 1122: run the chooser, write the pick into
// that edit, and hand the focus on to the next control.
void openSymbolChooser(Dialog* dialog, int editId);

} // namespace reference
