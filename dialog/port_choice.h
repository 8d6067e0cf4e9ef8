#pragma once
// The port list: the ports found, found again whenever the user opens the list.

#include "platform.h"
#include "port_list.h"

// Fills the list with the ports there are now. The chosen port stays chosen; one
// that went away stays too, marked "(not connected)", until the user picks another.
// Before any choice the first port that opens is chosen (the first row when none
// opens).
void fillPortList(Dialog* dialog);

// The port of the chosen row; one without a device path when no row is chosen.
PortEntry chosenPort(Dialog* dialog);
