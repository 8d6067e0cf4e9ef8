#include "programming_run.h"

#include <cstdio>
#include <string>

#include "control_ids.h"
#include "messages.h"
#include "port_choice.h"
#include "programming_sequence.h"
#include "prompts.h"
#include "user_action.h"

namespace {

long selectedItemData(Dialog* dialog, int comboId)
{
    const int row = getComboSelection(dialog, comboId);
    return row < 0 ? -1 : getComboRowData(dialog, comboId, row);
}

// The records of what the fields show; false, after the message, when they are
// refused.
bool recordsForRun(Dialog* dialog, ProgrammingRecords& records)
{
    records = programmingRecords(dialogState(dialog).setup);
    if (records.refusal.empty())
        return true;
    tellUser(dialog, records.refusal.c_str(), kCaption);
    return false;
}

void showEvent(Dialog* dialog, const ProgrammingRequest& request, const PortEntry& port, ProgrammingEvent event,
               const PortError& error)
{
    // Closed in a box of the run: the run ends without showing or writing more.
    if (dialogClosed(dialog))
        return;
    switch (event) {
    case ProgrammingOpenFailed: {
        const PortRefusal refusal = portRefusal(port, error);
        if (!refusal.lineSetup.empty() && !tellUser(dialog, refusal.lineSetup.c_str(), kErrorCaption))
            break;
        tellUser(dialog, refusal.text.c_str(), kCaption);
        break;
    }
    case ProgrammingWritingRecord0:
        setItemText(dialog, IdStatus, kWritingRecord0);
        setItemText(dialog, IdLog, request.record0);
        break;
    case ProgrammingRecord0Failed:
        tellUser(dialog, kRecord0Failed, kCaption);
        break;
    case ProgrammingWritingRecord1:
        setItemText(dialog, IdStatus, kWritingRecord1);
        break;
    case ProgrammingSendingRecord1:
        setItemText(dialog, IdLog, request.record0 + "\n" + request.record1);
        break;
    case ProgrammingRecord1Failed:
        tellUser(dialog, kRecord1Failed, kCaption);
        break;
    case ProgrammingBurning:
        setItemText(dialog, IdStatus, kBurning);
        break;
    case ProgrammingDone:
        setItemText(dialog, IdStatus, kDone);
        break;
    }
}

void runProgramming(Dialog* dialog)
{
    if (!tellUser(dialog, kGpsWarning, kCaption))
        return;

    // Read after the warning: a selection or text changed meanwhile counts.
    ProgrammingRecords records;
    if (!recordsForRun(dialog, records))
        return;
    ProgrammingRequest request;
    const PortEntry port = chosenPort(dialog);
    request.devicePath = portOpenPath(port);
    const long baudRow = selectedItemData(dialog, IdBaud);
    // A baud list without a valid row is a port that cannot be opened.
    request.baud = baudRow >= 0 && baudRow < kBaudRowCount ? static_cast<int>(baudTable[baudRow].rate) : 0;
    request.record0 = records.record0;
    request.record1 = records.record1;
    request.sendRecord1 = records.sendRecord1;

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
    ProgrammingRecords records;
    if (recordsForRun(dialog, records))
        runProgramming(dialog);
    state.runOpen = false;
}
