#pragma once
// Random user actions on the headless main dialog, each followed by checks of what
// the dialog then shows and did. Shared by the seeded test (tests/dialog), the
// libFuzzer target (actions decoded from its input) and the benchmark that counts
// actions per second.

#include <functional>
#include <string>

#include "platform.h"

// A number from 0 to bound - 1 (bound > 0): from a seeded generator or from fuzzer input.
using ActionPicker = std::function<unsigned(unsigned bound)>;

// However long a text: a user action runs its handler and the change notifications
// of its own writes; an action taken while a message box is open, or the
// chooser's pick, adds one level.
constexpr int kMaxHandlerDepth = 3;

struct ActionRun {
    Dialog* dialog = nullptr;
    int tracker = -1; // the far end of the pseudo-terminal behind the dialog's one port
    int device = -1;
    std::string portName;
    std::string folder; // where the actions' settings files are written
    unsigned long actions = 0;
    unsigned long messages = 0;
    unsigned long presses = 0;
    unsigned long recordsSent = 0;
    unsigned long ssidRefusals = 0;
    unsigned long budgetRefusals = 0;
    unsigned long filesOpened = 0;
    unsigned long actionsInMessageBoxes = 0;
    unsigned long closes = 0;
    unsigned long starvedChoosers = 0;
    int deepestHandlerDepth = 0;
};

// A new headless dialog with a pseudo-terminal as its only port. False when no
// pseudo-terminal can be had.
bool startActionRun(ActionRun& run);
// A new dialog in place of the run's present one (same port and folder).
void renewActionDialog(ActionRun& run);
void endActionRun(ActionRun& run);

// One action chosen through pick (sometimes with another taken while a message box
// of it is open), then every check: "" or what broke, with the action that broke
// it. A dialog closed by the action is replaced by a new one.
std::string runOneAction(ActionRun& run, const ActionPicker& pick);
