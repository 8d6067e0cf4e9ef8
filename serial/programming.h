#pragma once
// "Generate Config and Programm": warn, open the chosen port, write the one or two
// records with their pauses, close.

#include "ui/platform.h"

void programTracker(Dialog* dialog);
