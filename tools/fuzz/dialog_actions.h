#pragma once
// Random user actions on the headless main dialog, each followed by checks of what
// the dialog then holds and did. Shared by the seeded test (tests/dialog), the
// libFuzzer target (actions decoded from its input) and the benchmark that counts
// actions per second.

#include <functional>
#include <string>

#include "platform.h"

// A number from 0 to bound - 1 (bound > 0): from a seeded generator or from fuzzer input.
using ActionPicker = std::function<unsigned(unsigned bound)>;

// However long a text: a user action runs its handler, a write's own change
// notification, and the check that this notification starts (a trackbar that
// rewrites a path, a click that cuts comment 1), no deeper.
constexpr int kMaxHandlerDepth = 3;

struct ActionRun {
    Dialog* dialog = nullptr;
    int tracker = -1; // the far end of the pseudo-terminal behind port slot 0
    int device = -1;
    unsigned long actions = 0;
    unsigned long messages = 0;
    unsigned long presses = 0;
    unsigned long recordsSent = 0;
    unsigned long ssidRefusals = 0;
    unsigned long starvedChoosers = 0;
    int deepestHandlerDepth = 0;
};

// A new headless dialog with a pseudo-terminal as its only port (COM1). False
// when no pseudo-terminal can be had.
bool startActionRun(ActionRun& run);
void endActionRun(ActionRun& run);

// One action chosen through pick, then every check: "" or what broke, with the
// action that broke it.
std::string runOneAction(ActionRun& run, const ActionPicker& pick);
