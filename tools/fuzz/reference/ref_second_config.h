// Frozen copy of dialog/second_config.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// Switching configuration 1 on and off, by hand (button 1080) and by itself when
// configuration 0's comment leaves it no room.

#include "ref_platform.h"

namespace reference {

// Greys out (or restores) configuration 1 and names button 1080 after it.
void setSecondConfigControlsEnabled(Dialog* dialog, bool enabled);

void switchSecondConfigAutomatically(Dialog* dialog);
void switchSecondConfigByHand(Dialog* dialog);

} // namespace reference
