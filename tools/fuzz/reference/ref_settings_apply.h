// Frozen copy of dialog/settings_apply.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// Settings files on the dialog: a file is applied as a user would set the
// controls, so every handler runs as when typing; saving reads what they hold.

#include <string>

#include "ref_platform.h"
#include "ref_settings_file.h"

namespace reference {

// From the defaults: sliders, path types (each writes its path text), the paths
// given, the other texts. Configuration 1 is switched as the file says before
// any text is written, so that while it is off nothing of it is counted.
void applySettingsFile(Dialog* dialog, const SettingsFile& file);

// The file text of what the controls hold now.
std::string settingsTextOf(Dialog* dialog);

} // namespace reference
