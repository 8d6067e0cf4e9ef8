#pragma once
// What the main dialog keeps beyond its controls, one per dialog: a new dialog
// starts from these values.

#include "port_table.h"

// The chooser's pick, shared by both Symbol fields for the dialog's life.
struct SymbolPick {
    bool armed = false;              // the next counted press picks
    char chosen[3] = {'\0', '\0', '\0'}; // the last pick, empty before the first
    int highlighted = -1;            // the cell the arrow keys are on; -1: none shown
    bool cancelled = false;          // the chooser was left with Escape: nothing to write
};

struct DialogState {
    // Configuration 1 is programmed and counted while this is set.
    bool secondConfigEnabled = true;
    // Set while configuration 1 was switched off by hand: it never comes back by itself.
    bool secondConfigOffByUser = false;
    // A message box of a run leaves the dialog usable; a press meanwhile starts nothing.
    bool runOpen = false;
    SymbolPick pick;
    // Set by the host while Shift+Tab gives a control the focus, so that a chooser
    // opened by it hands the focus on backward.
    bool focusCameBackward = false;
    // Which ports the start-up found; the port list offers the Available ones.
    PortProbeResult portProbeResults[kPortSlotCount] = {};
};
