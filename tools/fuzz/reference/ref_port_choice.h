// Frozen copy of dialog/port_choice.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// The port list: the ports found, found again whenever the user opens the list.

#include "ref_platform.h"
#include "port_list.h"

namespace reference {

// Fills the list with the ports there are now. The chosen port stays chosen while
// it is there; otherwise the first port that opens is chosen (the first row when
// none opens).
void fillPortList(Dialog* dialog);

// The port of the chosen row; one without a device path when no row is chosen.
PortEntry chosenPort(Dialog* dialog);

} // namespace reference
