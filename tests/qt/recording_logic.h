#pragma once
// A stand-in for the dialog logic in the host's own tests: it notes every call the
// host makes into the logic, with what the control showed at that moment.

#include <functional>
#include <string>
#include <vector>

#include "ui/platform.h"

struct LogicCall {
    enum Kind { Init, Command, Scroll } kind;
    int id;           // Command only
    int notification; // Command only
    std::string text; // the control's text when a Command arrived
};

std::vector<LogicCall>& logicCalls();

// Runs inside handleCommand after the call is noted (nested calls included).
void setCommandHook(std::function<void(Dialog*, int id, int notification)> hook);
// Runs inside handleHScroll after the call is noted.
void setScrollHook(std::function<void(Dialog*)> hook);

int countCalls(LogicCall::Kind kind, int id = 0, int notification = -1);
