// Frozen copy of dialog/fit_checks.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// The EEPROM budget on the dialog, path types, text limits and the checks that
// refuse or trim a path or comment that does not fit.

#include "eeprom_budget.h"
#include "ref_platform.h"

namespace reference {

// Both configurations as the controls hold them; shows the two space-left values.
EepromBudget computeEepromBudget(Dialog* dialog);

// Limits an edit to its present length plus spaceLeft; with writeBack also cuts
// its text to that length and writes it back (a change of the edit).
void limitTextToSpace(Dialog* dialog, int editId, int spaceLeft, bool writeBack);

void onPathTypeChosen(Dialog* dialog, int comboId);
void onCommentFocus(Dialog* dialog, int commentId);
void checkPathFits(Dialog* dialog, int pathId);
void checkComment1Fits(Dialog* dialog);

} // namespace reference
