// Frozen copy of dialog/main_dialog.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// The main dialog's logic, written once over the platform layer. Hosts turn their
// toolkit's events into these three entry points.

#include "config_settings.h"
#include "ref_platform.h"

namespace reference {

// WM_INITDIALOG: the whole initial state. The port list offers the ports that
// dialogState(dialog).findPorts finds (the system's when it is empty).
void initMainDialog(Dialog* dialog);
// WM_COMMAND with the control id and its notification code.
void handleCommand(Dialog* dialog, int id, int notification);
// WM_HSCROLL from any trackbar.
void handleHScroll(Dialog* dialog);

// The controls of one configuration, by setting.
struct ConfigControls {
    int callsign, ssid, symbol, hops, pathType, path, txDelay, driveInterval, driveSpeed, idleFactor;
    int comment, frames;
};
extern const ConfigControls configControls[2];

// One configuration (0 or 1) as the dialog's controls hold it.
ConfigSettings readConfig(Dialog* dialog, int configNumber);

} // namespace reference
