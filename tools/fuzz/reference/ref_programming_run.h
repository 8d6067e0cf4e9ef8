// Frozen copy of dialog/programming_run.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// "Generate Config and Programm" on the dialog: the warning, the records of what
// the controls hold, and the run's status texts, log and messages.

#include "ref_platform.h"

namespace reference {

void programTracker(Dialog* dialog);

} // namespace reference
