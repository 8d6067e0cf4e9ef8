#pragma once
// The main dialog's logic, written once over the platform layer: a view of the
// dialog's TrackerSetup. A handler reads the control the user changed, runs the
// setup's transition, writes back only what changed and shows the transition's
// messages. Hosts turn their toolkit's events into the three entry points.

#include "platform.h"
#include "settings_file.h"
#include "tracker_setup.h"

// WM_INITDIALOG: the whole initial state. The port list offers the ports that
// dialogState(dialog).findPorts finds (the system's when it is empty).
void initMainDialog(Dialog* dialog);
// WM_COMMAND with the control id and its notification code.
void handleCommand(Dialog* dialog, int id, int notification);
// WM_HSCROLL from any trackbar.
void handleHScroll(Dialog* dialog);

// A settings file opened on the dialog, as a user would set the fields.
void applySettingsFile(Dialog* dialog, const SettingsFile& file);
