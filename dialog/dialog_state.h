#pragma once
// What the main dialog keeps beyond its controls, one per dialog: a new dialog
// starts from these values.

#include <vector>

#include "port_list.h"
#include "tracker_setup.h"

// The chooser's pick, shared by both Symbol fields for the dialog's life.
struct SymbolPick {
    bool armed = false;              // the next counted press picks
    char chosen[3] = {'\0', '\0', '\0'}; // the last pick, empty before the first
    int highlighted = -1;            // the cell the arrow keys are on; -1: none shown
    bool cancelled = false;          // the chooser was left with Escape: nothing to write
};

struct DialogState {
    // What the settings fields show; the controls are a view of it.
    TrackerSetup setup;
    // A message box of a run leaves the dialog usable; a press meanwhile starts nothing.
    bool runOpen = false;
    SymbolPick pick;
    // The port list's rows, in order; found again whenever the list opens.
    std::vector<PortEntry> ports;
    // Finds them: the system's ports unless a test gives its own.
    PortFinder findPorts;
    // Handlers of this dialog running now, one inside another (a write's change
    // notification, a user action while a message box is open), and the most seen.
    int handlerDepth = 0;
    int deepestHandlerDepth = 0;
    // The dialog was closed while a handler waited on a message box or the chooser:
    // the host destroys it once the outermost handler has returned, and until then
    // every handler returns without showing or touching anything.
    bool closed = false;
    // The setup is being written into the controls: the notifications that raises
    // are the view's own and answer nothing.
    bool writingSetup = false;
    // Fit messages shown in the present user action, one bit per kind: an action
    // taken while one is open shows no second of the same kind.
    unsigned fitMessagesShown = 0;
    // Set by the host while Shift+Tab gives a control the focus, so that a chooser
    // opened by it hands the focus on backward.
    bool focusCameBackward = false;
};
