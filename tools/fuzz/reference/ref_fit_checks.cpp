// Frozen copy of dialog/fit_checks.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_fit_checks.h"

#include "config_settings.h"
#include "control_ids.h"
#include "ref_main_dialog.h"
#include "ref_setting_displays.h"
#include "ref_user_action.h"

namespace reference {

namespace {

constexpr const char* kCaption = "KorvelConfig";
constexpr const char* kPathDoesNotFit = "path doesn't fit in EEprom";
constexpr const char* kCommentDoesNotFit = "comment text doesn't fit in EEprom.";

// What EM_LIMITTEXT makes of 0 or a negative limit: no practical limit.
constexpr unsigned kEditDefaultLimit = 0x7FFFFFFE;

// The path check reads through a 1024-byte buffer.
constexpr std::size_t kPathCheckChars = 1023;

TargetChip selectedTarget(Dialog* dialog)
{
    // Only Tiny13 can be checked; any other state counts as a target without room.
    return getCheck(dialog, IdTiny13) ? Tiny13 : Tiny2313;
}

EepromBudget budgetOf(Dialog* dialog, const ConfigSettings& config0, const ConfigSettings& config1)
{
    return computeEepromBudget(selectedTarget(dialog), config0, config1, dialogState(dialog).secondConfigEnabled);
}

bool pathFits(int pathId, const EepromBudget& budget)
{
    if (pathId == IdPath0)
        return budget.config0SpaceLeft >= 0 && budget.eepromSpaceLeft >= 0;
    return budget.eepromSpaceLeft >= 0;
}

enum FitMessage { PathMessage = 1, CommentMessage = 2 };

// One message of each kind per user action, however many checks it runs. False
// when the dialog was closed while the box was open.
bool tellOnce(Dialog* dialog, FitMessage kind, const char* text)
{
    DialogState& state = dialogState(dialog);
    if (state.fitMessagesShown & kind)
        return !state.closed;
    state.fitMessagesShown |= kind;
    return tellUser(dialog, text, kCaption);
}

// The repaired text goes back once. That write is a change like any other, but
// checking it again would only repeat what the check has just decided.
void writeBackRepair(Dialog* dialog, int editId, const std::string& text)
{
    DialogState& state = dialogState(dialog);
    state.fitCheckWriting = true;
    setItemText(dialog, editId, text);
    state.fitCheckWriting = false;
    computeEepromBudget(dialog);
}

} // namespace

EepromBudget computeEepromBudget(Dialog* dialog)
{
    const EepromBudget budget = budgetOf(dialog, readConfig(dialog, 0), readConfig(dialog, 1));
    setItemSigned(dialog, IdConfig0SpaceLeft, budget.config0SpaceLeft);
    setItemSigned(dialog, IdEepromSpaceLeft, budget.eepromSpaceLeft);
    return budget;
}

void limitTextToSpace(Dialog* dialog, int editId, int spaceLeft, bool writeBack)
{
    std::string text = getItemText(dialog, editId, 255);
    const int allowed = allowedTextLength(static_cast<int>(text.size()), spaceLeft);
    setTextLimit(dialog, editId, static_cast<unsigned>(allowed));
    if (static_cast<std::size_t>(allowed) < text.size())
        text.resize(static_cast<std::size_t>(allowed));
    if (writeBack)
        setItemText(dialog, editId, text);
}

void onPathTypeChosen(Dialog* dialog, int comboId)
{
    const int configNumber = comboId == IdPathType0 ? 0 : 1;
    const int row = getComboSelection(dialog, comboId);
    if (row < 0)
        return;
    const long code = getComboRowData(dialog, comboId, row);
    if (code < Compressed || code > Relay)
        return;
    const PathType type = static_cast<PathType>(code);
    const int hops = getTrackbarPos(dialog, configNumber == 0 ? IdHops0 : IdHops1);
    const int pathId = configNumber == 0 ? IdPath0 : IdPath1;
    setItemText(dialog, pathId, pathTextFor(type, hops));
    if (dialogClosed(dialog))
        return;
    // Also when the fit check fell back to "COMPRESSED": the choice was made.
    applyMinimumDriveInterval(dialog, configNumber, minimumDriveInterval(type, hops));
}

void onCommentFocus(Dialog* dialog, int commentId)
{
    const EepromBudget budget = computeEepromBudget(dialog);
    if (commentId == IdComment0) {
        limitTextToSpace(dialog, IdComment0, budget.config0SpaceLeft, false);
        return;
    }
    // Comment 1's limit counts the whole text; with no room left it gets none at all
    // and its fit check refuses what overflows.
    const int limit = budget.eepromSpaceLeft;
    setTextLimit(dialog, IdComment1, limit > 0 ? static_cast<unsigned>(limit) : kEditDefaultLimit);
}

void checkPathFits(Dialog* dialog, int pathId)
{
    if (dialogState(dialog).fitCheckWriting || pathFits(pathId, computeEepromBudget(dialog)))
        return;
    if (!tellOnce(dialog, PathMessage, kPathDoesNotFit))
        return;

    // Trimmed in memory step by step, each step what one write-back and its check
    // would leave, until it fits: two characters while a comma or space is left,
    // else "COMPRESSED". The budget counts the first kPathChars characters only, so
    // that is where a compressed path is looked for. A compressed path takes the
    // least room: when even that does not fit, the other texts are too long and
    // the path is left as it is.
    const int configNumber = pathId == IdPath0 ? 0 : 1;
    ConfigSettings configs[2] = {readConfig(dialog, 0), readConfig(dialog, 1)};
    std::string text = getItemText(dialog, pathId, kPathCheckChars);
    bool changed = false;
    bool compressed = false;
    while (!isCompressedPath(text.substr(0, kPathChars))) {
        if (text.find_first_of(", ") != std::string::npos) {
            text.resize(text.size() >= 2 ? text.size() - 2 : 0);
        } else {
            text = pathTextFor(Compressed, 0);
            compressed = true;
        }
        changed = true;
        configs[configNumber].path = text.substr(0, kPathChars);
        if (pathFits(pathId, budgetOf(dialog, configs[0], configs[1])))
            break;
    }
    if (!changed)
        return;
    if (compressed)
        setComboSelection(dialog, pathId + (IdPathType0 - IdPath0), Compressed);
    writeBackRepair(dialog, pathId, text);
}

void checkComment1Fits(Dialog* dialog)
{
    if (dialogState(dialog).fitCheckWriting || computeEepromBudget(dialog).eepromSpaceLeft >= 0)
        return;
    if (!tellOnce(dialog, CommentMessage, kCommentDoesNotFit))
        return;
    // An empty comment that still does not fit stays as it is.
    if (!getItemText(dialog, IdComment1, 1).empty())
        writeBackRepair(dialog, IdComment1, "");
}

} // namespace reference
