#pragma once
// The port list: the ports found, found again whenever the user opens the list; and
// what the user is told when the chosen port does not open.

#include "platform.h"
#include "port_list.h"

// Fills the list with the ports there are now. The chosen port stays chosen; one
// that went away stays too, marked "(not connected)", until the user picks another.
// Before any choice the first port that opens is chosen (the first row when none
// opens).
void fillPortList(Dialog* dialog);

// The port of the chosen row; one without a device path when no row is chosen.
PortEntry chosenPort(Dialog* dialog);

// What the dialog and the command line say when the chosen port did not open.
struct PortRefusal {
    // "cannot set COMstate (%i)" when the device refused the line, told first; else "".
    std::string lineSetup;
    // "cannot open selected COM-Port!" and, after a line feed, why and what the user
    // can do about it, when there is something to say.
    std::string text;
};
PortRefusal portRefusal(const PortEntry& port, const PortError& error);
