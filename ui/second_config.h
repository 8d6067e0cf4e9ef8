#pragma once
// Path types, the EEPROM budget on the dialog, text limits and the switching of
// configuration 1.

#include "config/eeprom_budget.h"
#include "platform.h"

// Both configurations as the controls hold them; shows the two space-left values.
EepromBudget computeEepromBudget(Dialog* dialog);

// Limits an edit to its present length plus spaceLeft; with writeBack also cuts
// its text to that length and writes it back (a change of the edit).
void limitTextToSpace(Dialog* dialog, int editId, int spaceLeft, bool writeBack);

// Greys out (or restores) configuration 1 and names button 1080 after it.
void setSecondConfigControlsEnabled(Dialog* dialog, bool enabled);

void onPathTypeChosen(Dialog* dialog, int comboId);
void onCommentFocus(Dialog* dialog, int commentId);
void checkPathFits(Dialog* dialog, int pathId);
void checkComment1Fits(Dialog* dialog);
void switchSecondConfigAutomatically(Dialog* dialog);
void switchSecondConfigByHand(Dialog* dialog);
