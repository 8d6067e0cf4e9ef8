#include "programming_run.h"

#include <cstdio>
#include <string>

#include "config_record.h"
#include "control_ids.h"
#include "main_dialog.h"
#include "port_choice.h"
#include "programming_sequence.h"
#include "prompts.h"

namespace {

constexpr const char* kCaption = "KorvelConfig";
constexpr const char* kWarning =
    "please make sure that gps-receiver is disconnected from Tracker,\n"
    "otherwise to much power is consumed and/or serial interface will be disturbed.";

long selectedItemData(Dialog* dialog, int comboId)
{
    const int row = getComboSelection(dialog, comboId);
    return row < 0 ? -1 : getComboRowData(dialog, comboId, row);
}

// The station SSID is one AX.25 SSID: 0 to 15. Refuse rather than send something else.
bool ssidsAreValid(Dialog* dialog)
{
    const int ids[2] = {IdSsid0, IdSsid1};
    const int configs = dialogState(dialog).secondConfigEnabled ? 2 : 1;
    for (int n = 0; n < configs; ++n) {
        if (getItemUnsigned(dialog, ids[n]) > kMaxSsid) {
            char text[128];
            std::snprintf(text, sizeof text, "SSID of Config %d must be a number from 0 to 15.", n);
            showMessage(text, kCaption);
            return false;
        }
    }
    return true;
}

void showEvent(Dialog* dialog, const ProgrammingRequest& request, const PortEntry& port, ProgrammingEvent event,
               const PortError& error)
{
    switch (event) {
    case ProgrammingOpenFailed: {
        if (error.kind == PortLineRefused) {
            char text[128];
            std::snprintf(text, sizeof text, "cannot set COMstate (%i)", error.systemCode);
            showMessage(text, "KorvelConfig: Error");
        }
        const std::string advice = openFailureAdvice(port, error);
        const std::string text = "cannot open selected COM-Port!" + (advice.empty() ? "" : "\n" + advice);
        showMessage(text.c_str(), kCaption);
        break;
    }
    case ProgrammingWritingRecord0:
        setItemText(dialog, IdStatus, "writing cfgString0 ...");
        setItemText(dialog, IdLog, request.record0);
        break;
    case ProgrammingRecord0Failed:
        showMessage("sending data (config0) to tracker failed.", kCaption);
        break;
    case ProgrammingWritingRecord1:
        setItemText(dialog, IdStatus, "writing cfgString1 ...");
        break;
    case ProgrammingSendingRecord1:
        setItemText(dialog, IdLog, request.record0 + "\n" + request.record1);
        break;
    case ProgrammingRecord1Failed:
        showMessage("sending data (config1) to tracker failed.", kCaption);
        break;
    case ProgrammingBurning:
        setItemText(dialog, IdStatus, "wait for tracker to burn EEprom ...");
        break;
    case ProgrammingDone:
        setItemText(dialog, IdStatus, "done.");
        break;
    }
}

void runProgramming(Dialog* dialog)
{
    showMessage(kWarning, kCaption);

    // Read after the warning: a selection changed meanwhile counts.
    ProgrammingRequest request;
    const PortEntry port = chosenPort(dialog);
    request.devicePath = port.devicePath;
    const long baudRow = selectedItemData(dialog, IdBaud);
    // A baud list without a valid row is a port that cannot be opened.
    request.baud = baudRow >= 0 && baudRow < kBaudRowCount ? static_cast<int>(baudTable[baudRow].rate) : 0;
    const bool second = dialogState(dialog).secondConfigEnabled;
    request.record0 = buildConfigRecord(readConfig(dialog, 0), 0, second);
    request.record1 = buildConfigRecord(readConfig(dialog, 1), 1, second);
    request.sendRecord1 = second;

    ProgrammingHooks hooks;
    hooks.report = [dialog, &request, &port](ProgrammingEvent event, const PortError& error) {
        showEvent(dialog, request, port, event, error);
    };
    hooks.pause = pauseMilliseconds;
    runProgrammingSequence(request, hooks);
}

} // namespace

void programTracker(Dialog* dialog)
{
    DialogState& state = dialogState(dialog);
    if (state.runOpen)
        return;
    state.runOpen = true;
    if (ssidsAreValid(dialog))
        runProgramming(dialog);
    state.runOpen = false;
}
