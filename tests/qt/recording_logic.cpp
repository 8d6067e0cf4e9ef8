#include "recording_logic.h"

#include "ui/main_dialog.h"

bool secondConfigEnabled = true;
bool secondConfigOffByUser = false;

namespace {
std::vector<LogicCall> calls;
std::function<void(Dialog*, int, int)> commandHook;
std::function<void(Dialog*)> scrollHook;
}

std::vector<LogicCall>& logicCalls() { return calls; }
void setCommandHook(std::function<void(Dialog*, int, int)> hook) { commandHook = std::move(hook); }
void setScrollHook(std::function<void(Dialog*)> hook) { scrollHook = std::move(hook); }

int countCalls(LogicCall::Kind kind, int id, int notification)
{
    int n = 0;
    for (const LogicCall& call : calls)
        if (call.kind == kind && (kind != LogicCall::Command || (call.id == id && (notification < 0 || call.notification == notification))))
            ++n;
    return n;
}

void initMainDialog(Dialog*) { calls.push_back({LogicCall::Init, 0, 0, {}}); }

void handleCommand(Dialog* dialog, int id, int notification)
{
    calls.push_back({LogicCall::Command, id, notification, getItemText(dialog, id, 1023)});
    if (commandHook)
        commandHook(dialog, id, notification);
}

void handleHScroll(Dialog* dialog)
{
    calls.push_back({LogicCall::Scroll, 0, 0, {}});
    if (scrollHook)
        scrollHook(dialog);
}
