#pragma once
// "Generate Config and Programm" on the dialog: the warning, the records of what
// the controls hold, and the run's status texts, log and messages.

#include "platform.h"

void programTracker(Dialog* dialog);
