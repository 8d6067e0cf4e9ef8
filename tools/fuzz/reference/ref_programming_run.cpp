// Frozen copy of dialog/programming_run.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_programming_run.h"

#include <cstdio>
#include <string>

#include "config_record.h"
#include "control_ids.h"
#include "ref_main_dialog.h"
#include "ref_port_choice.h"
#include "programming_sequence.h"
#include "prompts.h"
#include "ref_user_action.h"

namespace reference {

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

// Both configurations as they will be sent, the SSIDs as checked. False, after
// the message, when an SSID that would be sent is not 0 to 15.
bool readConfigsForRun(Dialog* dialog, ConfigSettings configs[2])
{
    const int ids[2] = {IdSsid0, IdSsid1};
    const int sent = dialogState(dialog).secondConfigEnabled ? 2 : 1;
    for (int n = 0; n < 2; ++n) {
        configs[n] = readConfig(dialog, n);
        if (!ssidFromText(getItemText(dialog, ids[n], 1023), configs[n].ssid) && n < sent) {
            char text[128];
            std::snprintf(text, sizeof text, "SSID of Config %d must be a number from 0 to 15.", n);
            tellUser(dialog, text, kCaption);
            return false;
        }
    }
    return true;
}

void showEvent(Dialog* dialog, const ProgrammingRequest& request, const PortEntry& port, ProgrammingEvent event,
               const PortError& error)
{
    // Closed in a box of the run: the run ends without showing or writing more.
    if (dialogClosed(dialog))
        return;
    switch (event) {
    case ProgrammingOpenFailed: {
        if (error.kind == PortLineRefused) {
            char text[128];
            std::snprintf(text, sizeof text, "cannot set COMstate (%i)", error.systemCode);
            if (!tellUser(dialog, text, "KorvelConfig: Error"))
                break;
        }
        const std::string advice = openFailureAdvice(port, error);
        const std::string text = "cannot open selected COM-Port!" + (advice.empty() ? "" : "\n" + advice);
        tellUser(dialog, text.c_str(), kCaption);
        break;
    }
    case ProgrammingWritingRecord0:
        setItemText(dialog, IdStatus, "writing cfgString0 ...");
        setItemText(dialog, IdLog, request.record0);
        break;
    case ProgrammingRecord0Failed:
        tellUser(dialog, "sending data (config0) to tracker failed.", kCaption);
        break;
    case ProgrammingWritingRecord1:
        setItemText(dialog, IdStatus, "writing cfgString1 ...");
        break;
    case ProgrammingSendingRecord1:
        setItemText(dialog, IdLog, request.record0 + "\n" + request.record1);
        break;
    case ProgrammingRecord1Failed:
        tellUser(dialog, "sending data (config1) to tracker failed.", kCaption);
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
    if (!tellUser(dialog, kWarning, kCaption))
        return;

    // Read after the warning: a selection or text changed meanwhile counts.
    ConfigSettings configs[2];
    if (!readConfigsForRun(dialog, configs))
        return;
    ProgrammingRequest request;
    const PortEntry port = chosenPort(dialog);
    request.devicePath = port.devicePath;
    const long baudRow = selectedItemData(dialog, IdBaud);
    // A baud list without a valid row is a port that cannot be opened.
    request.baud = baudRow >= 0 && baudRow < kBaudRowCount ? static_cast<int>(baudTable[baudRow].rate) : 0;
    const bool second = dialogState(dialog).secondConfigEnabled;
    request.record0 = buildConfigRecord(configs[0], 0, second);
    request.record1 = buildConfigRecord(configs[1], 1, second);
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
    ConfigSettings configs[2];
    if (readConfigsForRun(dialog, configs))
        runProgramming(dialog);
    state.runOpen = false;
}

} // namespace reference
