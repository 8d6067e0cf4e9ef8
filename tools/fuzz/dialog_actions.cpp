#include "dialog_actions.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <map>
#include <vector>

#include "chooser_headless.h"
#include "config_record.h"
#include "control_ids.h"
#include "dialog_headless.h"
#include "eeprom_budget.h"
#include "main_dialog.h"
#include "port_list.h"
#include "prompts_recorder.h"
#include "record_check.h"

namespace {

const int kEdits[] = {IdCallsign0, IdSsid0, IdSymbol0, IdPath0, IdComment0,
                      IdCallsign1, IdSsid1, IdSymbol1, IdPath1, IdComment1};
const int kTrackbars[] = {IdHops0, IdTxDelay0, IdDriveInterval0, IdDriveSpeed0, IdIdleFactor0, IdFrames0,
                          IdHops1, IdTxDelay1, IdDriveInterval1, IdDriveSpeed1, IdIdleFactor1, IdFrames1};
// Keys a user may press, control keys and Windows-1252 letters among them.
const char kKeys[] = "WIDE1-2,3 RELAYTRACECOMPRESSEDwide0123456789x\x80\xe9\xff\t\n\r\x7f\x01";

std::string repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

const std::vector<std::string>& pastePool()
{
    static const std::vector<std::string> pool = {
        repeated("WIDE1-1,", 40) + "COMPRESSED", repeated("WIDE1-1,", 125), repeated("RELAY,", 50),
        "WIDE1-1,WIDE2-2,WIDE3-3", "WIDE1-1,COMPRESSED", "WIDE2-22", "WIDE2--5", "A,B C,D", "RELAY",
        "line one\r\nline two", "tab\there", "\x7f\x01\x07" "bell", "\x80uro \xff", std::string(300, 'x'),
        "-1", "4294967295", "99999999999", "16", "15", "007", " 5", "", std::string(1, '\0') + "hidden"};
    return pool;
}

std::string randomText(const ActionPicker& pick)
{
    std::string text(pick(300), ' ');
    for (char& c : text)
        c = static_cast<char>(pick(256));
    return text;
}

std::string text(Dialog* dialog, int id) { return getItemText(dialog, id, 1023); }

bool pathFits(const EepromBudget& budget, int pathId)
{
    return budget.eepromSpaceLeft >= 0 && (pathId == IdPath1 || budget.config0SpaceLeft >= 0);
}

EepromBudget budgetOfControls(Dialog* dialog)
{
    return computeEepromBudget(getCheck(dialog, IdTiny13) ? Tiny13 : Tiny2313, readConfig(dialog, 0),
                               readConfig(dialog, 1), dialogState(dialog).secondConfigEnabled);
}

std::string drain(int fd)
{
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(n));
    return bytes;
}

// The press sends exactly the records of what the controls hold, or refuses an
// SSID with its message and sends nothing.
std::string pressProgram(ActionRun& run)
{
    Dialog* dialog = run.dialog;
    const bool second = dialogState(dialog).secondConfigEnabled;
    ConfigSettings configs[2] = {readConfig(dialog, 0), readConfig(dialog, 1)};
    int refused = -1;
    for (int n = 0; n < (second ? 2 : 1) && refused < 0; ++n) {
        if (!ssidFromText(text(dialog, n == 0 ? IdSsid0 : IdSsid1), configs[n].ssid))
            refused = n;
    }
    const std::string record0 = buildConfigRecord(configs[0], 0, second);
    const std::string record1 = second ? buildConfigRecord(configs[1], 1, second) : std::string();
    handleCommand(dialog, IdProgram, NotifyClicked);
    ++run.presses;
    const std::string received = drain(run.tracker);
    const std::vector<RecordedMessage>& shown = recordedMessages();
    if (refused >= 0) {
        ++run.ssidRefusals;
        const std::string refusal = "SSID of Config " + std::to_string(refused) + " must be a number from 0 to 15.";
        if (shown.size() != 1 || shown[0].text != refusal || !received.empty())
            return "an SSID that is no number 0 to 15 was not refused";
        return {};
    }
    if (received != record0 + record1)
        return "the tracker received \"" + received + "\", not \"" + record0 + record1 + "\"";
    std::vector<int> values;
    if (!readRecord(record0, values) || (second && !readRecord(record1, values)))
        return "a record holds a value that is no byte";
    ++run.recordsSent;
    return {};
}

} // namespace

bool startActionRun(ActionRun& run)
{
    char name[128] = {};
    if (openpty(&run.tracker, &run.device, name, nullptr, nullptr) != 0)
        return false;
    fcntl(run.tracker, F_SETFL, fcntl(run.tracker, F_GETFL) | O_NONBLOCK);
    const PortEntry port{"ttyUSB0", name, "", "", true, {}};
    clearRecordedPrompts();
    resetHeadlessChooser();
    run.dialog = createHeadlessDialog([port] { return std::vector<PortEntry>{port}; });
    return true;
}

void endActionRun(ActionRun& run)
{
    destroyHeadlessDialog(run.dialog);
    close(run.tracker);
    close(run.device);
    run.dialog = nullptr;
}

std::string runOneAction(ActionRun& run, const ActionPicker& pick)
{
    Dialog* dialog = run.dialog;
    DialogState& state = dialogState(dialog);
    clearRecordedPrompts();
    state.deepestHandlerDepth = 0;
    ++run.actions;

    // What to check after the action: a path or comment 1 whose fit check ran.
    std::vector<int> checked;
    std::string action;
    std::string problem;
    const unsigned kind = pick(64);
    const int edit = kEdits[pick(10)];
    const std::string before = text(dialog, edit);
    if (kind < 14) {
        // One keystroke: each is a user action of its own. SSIDs mostly get digits.
        const bool ssid = edit == IdSsid0 || edit == IdSsid1;
        const char key = ssid && pick(8) ? "0123456789-"[pick(11)] : kKeys[pick(sizeof kKeys - 1)];
        action = "a keystroke into " + std::to_string(edit);
        headlessType(dialog, edit, std::string(1, key));
        checked.push_back(edit);
    } else if (kind < 22) {
        const unsigned entry = pick(static_cast<unsigned>(pastePool().size()) + 1);
        const std::string pasted = entry < pastePool().size() ? pastePool()[entry] : randomText(pick);
        action = "a paste of " + std::to_string(pasted.size()) + " characters into " + std::to_string(edit);
        headlessPaste(dialog, edit, pasted);
        checked.push_back(edit);
    } else if (kind < 28) {
        action = "Backspace in " + std::to_string(edit);
        headlessBackspace(dialog, edit, 1);
        checked.push_back(edit);
    } else if (kind < 30) {
        // Select all, Delete: one change to an empty text.
        action = "clearing " + std::to_string(edit);
        if (isItemEnabled(dialog, edit)) {
            setItemText(dialog, edit, "");
            checked.push_back(edit);
        }
    } else if (kind < 40) {
        const int trackbar = kTrackbars[pick(12)];
        action = "a drag of trackbar " + std::to_string(trackbar);
        if (isItemEnabled(dialog, trackbar)) {
            setTrackbarPos(dialog, trackbar, static_cast<int>(pick(320)) - 10);
            handleHScroll(dialog);
            checked = {IdPath0, IdPath1};
        }
    } else if (kind < 46) {
        const int combo = pick(2) ? IdPathType1 : IdPathType0;
        action = "a path type chosen in " + std::to_string(combo);
        if (isItemEnabled(dialog, combo)) {
            setComboSelection(dialog, combo, static_cast<int>(pick(kPathTypeCount)));
            handleCommand(dialog, combo, NotifySelChange);
            checked.push_back(combo == IdPathType0 ? IdPath0 : IdPath1);
        }
    } else if (kind < 54) {
        action = "focus on " + std::to_string(edit);
        std::vector<std::pair<int, int>> presses(3);
        for (auto& press : presses)
            press = {static_cast<int>(pick(360)) - 10, static_cast<int>(pick(150)) - 10};
        queueHeadlessChooserPresses(presses);
        if (pick(4) == 0)
            headlessFocusDialog(dialog);
        headlessSetFocus(dialog, edit);
        run.starvedChoosers += static_cast<unsigned long>(headlessChooserStarvedRuns());
        resetHeadlessChooser();
    } else if (kind < 62) {
        action = "a click on the second configuration's button";
        if (isItemEnabled(dialog, IdSecondConfig)) {
            handleCommand(dialog, IdSecondConfig, NotifyClicked);
            checked.push_back(IdComment1);
        }
    } else {
        action = "a press of the programming button";
        problem = pressProgram(run);
    }

    run.messages += recordedMessages().size();
    if (state.deepestHandlerDepth > run.deepestHandlerDepth)
        run.deepestHandlerDepth = state.deepestHandlerDepth;
    std::map<std::string, int> kinds;
    for (const RecordedMessage& message : recordedMessages()) {
        if (++kinds[message.text] > 1)
            problem = "\"" + message.text + "\" shown more than once";
    }
    if (state.handlerDepth != 0)
        problem = "a handler did not return";
    if (state.deepestHandlerDepth > kMaxHandlerDepth)
        problem = "handlers nested " + std::to_string(state.deepestHandlerDepth) + " deep";

    const EepromBudget budget = budgetOfControls(dialog);
    if (text(dialog, IdConfig0SpaceLeft) != std::to_string(budget.config0SpaceLeft) ||
        text(dialog, IdEepromSpaceLeft) != std::to_string(budget.eepromSpaceLeft))
        problem = "the space displays do not show the budget of the controls";

    for (int id : checked) {
        // A refused keystroke changes nothing and runs no check.
        if (id == edit && text(dialog, id) == before && recordedMessages().empty())
            continue;
        if (id == IdComment1 && budget.eepromSpaceLeft < 0 && !text(dialog, id).empty())
            problem = "comment 1 left over the budget";
        if ((id == IdPath0 || id == IdPath1) && !pathFits(budget, id) &&
            !isCompressedPath(text(dialog, id).substr(0, kPathChars)))
            problem = "path " + std::to_string(id) + " left over the budget: " + text(dialog, id);
    }
    for (int id : kEdits) {
        for (char c : text(dialog, id)) {
            if (static_cast<unsigned char>(c) < 32 || c == 127)
                problem = "a control character in edit " + std::to_string(id);
        }
    }
    return problem.empty() ? problem : "after " + action + " (action " + std::to_string(run.actions) + "): " + problem;
}
