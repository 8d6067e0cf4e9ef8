#include "main_dialog.h"

#include "control_ids.h"
#include "messages.h"
#include "port_choice.h"
#include "port_table.h"
#include "programming_run.h"
#include "setting_controls.h"
#include "symbol_chooser.h"
#include "user_action.h"

namespace {

// Configuration 1's fields and their captions, greyed out while it is off.
const int secondConfigControls[] = {
    IdConfig1Group, IdCallsign1, IdCallsignLabel1, IdSsid1, IdSsidLabel1, IdSymbol1, IdSymbolLabel1,
    IdHops1, IdHopCount1, IdPathType1, IdPath1, IdPathLabel1, IdTxDelay1, IdTxDelayValue1,
    IdTxDelayLabel1, IdDriveInterval1, IdDriveIntervalValue1, IdDriveIntervalLabel1, IdDriveSpeed1,
    IdDriveSpeedValue1, IdDriveSpeedLabel1, IdIdleFactor1, IdIdleIntervalValue1, IdIdleFactorLabel1,
    IdComment1, IdCommentLabel1, IdFrames1, IdFramesValue1, IdFramesLabel1,
    // The caption "Digi-Hops" greys out with the rest of its group.
    IdHopsLabel1,
};

// Reading a field whole: no edit of the dialog takes more.
constexpr std::size_t kFieldChars = 32767;

const std::string& fieldText(const ConfigEntry& entry, SettingId id)
{
    return id == SettingSsid ? entry.ssidText : *settingText(entry.settings, id);
}

int sliderPosition(const ConfigEntry& entry, SettingId id)
{
    return *settingNumber(entry.settings, id);
}

// The controls of one configuration that differ between what they show and the
// new entry (all of them without shown); the labels follow what they showed before.
void writeEntryControls(Dialog* dialog, int n, const ConfigEntry* before, const ConfigEntry* shown,
                        const ConfigEntry& after)
{
    for (int k = 0; k < kSettingCount; ++k) {
        const SettingId id = static_cast<SettingId>(k);
        const SettingDescription& description = settingDescriptions[id];
        const int control = settingControls[k].control[n];
        switch (description.kind) {
        case SettingText:
        case SettingUpperText:
        case SettingSsidText:
            if (!shown || fieldText(*shown, id) != fieldText(after, id))
                setItemText(dialog, control, fieldText(after, id));
            break;
        case SettingChoice:
            if (!shown || shown->settings.pathType != after.settings.pathType)
                setComboSelection(dialog, control, after.settings.pathType);
            break;
        case SettingSlider: {
            // The lower end first: a position below the old one would be clamped.
            if (!shown) {
                setTrackbarRangeMin(dialog, control, description.minimum);
                setTrackbarRangeMax(dialog, control, description.maximum);
            }
            if (id == SettingDriveInterval && (!shown || shown->driveIntervalMinimum != after.driveIntervalMinimum))
                setTrackbarRangeMin(dialog, control, after.driveIntervalMinimum);
            if (!shown || sliderPosition(*shown, id) != sliderPosition(after, id))
                setTrackbarPos(dialog, control, sliderPosition(after, id));
            const SettingLabelText label = settingControls[k].labelText;
            if (label && (!before || label(before->settings) != label(after.settings)))
                setItemText(dialog, settingControls[k].label[n], label(after.settings));
            break;
        }
        }
    }
    const unsigned limit = after.commentLimit;
    if (limit != kNoTextLimit && (!shown || shown->commentLimit != limit))
        setTextLimit(dialog, settingControls[SettingComment].control[n], limit);
}

// Writes a setup into the controls: everything when shown is null, else what
// differs from what the controls show (the user's own change included); the
// labels and space displays follow from what they showed, before. The change
// notifications these writes raise are the view's own.
void writeSetupControls(Dialog* dialog, const TrackerSetup* before, const TrackerSetup* shown,
                        const TrackerSetup& after)
{
    DialogState& state = dialogState(dialog);
    state.writingSetup = true;
    for (int n = 0; n < 2; ++n)
        writeEntryControls(dialog, n, before ? &before->configs[n] : nullptr, shown ? &shown->configs[n] : nullptr,
                           after.configs[n]);
    if (!shown || shown->secondConfigEnabled != after.secondConfigEnabled) {
        for (int id : secondConfigControls)
            enableItem(dialog, id, after.secondConfigEnabled);
        setItemText(dialog, IdSecondConfig, after.secondConfigEnabled ? "Disable 2nd Config" : "Enable 2nd Config");
    }
    if (!shown || shown->secondConfigButtonEnabled != after.secondConfigButtonEnabled)
        enableItem(dialog, IdSecondConfig, after.secondConfigButtonEnabled);
    const EepromBudget budget = setupBudget(after);
    const EepromBudget old = before ? setupBudget(*before) : EepromBudget{};
    if (!before || old.config0SpaceLeft != budget.config0SpaceLeft)
        setItemSigned(dialog, IdConfig0SpaceLeft, budget.config0SpaceLeft);
    if (!before || old.eepromSpaceLeft != budget.eepromSpaceLeft)
        setItemSigned(dialog, IdEepromSpaceLeft, budget.eepromSpaceLeft);
    state.writingSetup = false;
}

// A transition's result becomes the dialog's setup and shows; then its messages.
// One box of a kind per user action: an action taken while a box is open shows
// none of a kind already shown, nor does the action that box belongs to afterwards.
void showStep(Dialog* dialog, const TrackerSetup shown, const SetupStep& step)
{
    DialogState& state = dialogState(dialog);
    const TrackerSetup before = state.setup;
    state.setup = step.setup;
    writeSetupControls(dialog, &before, &shown, step.setup);
    unsigned own = 0;
    for (const SetupNotice& notice : step.notices) {
        const unsigned kind = notice.setting == SettingPath ? 1u : 2u;
        if (!notice.shown || ((state.fitMessagesShown & kind) && !(own & kind)))
            continue;
        own |= kind;
        state.fitMessagesShown |= kind;
        if (!tellUser(dialog, noticeMessage(notice), kCaption))
            return;
    }
}

void showStep(Dialog* dialog, const SetupStep& step) { showStep(dialog, dialogState(dialog).setup, step); }

// The configuration and setting of a control; false for a control that holds none.
bool settingOf(int control, int& configNumber, SettingId& id)
{
    for (int k = 0; k < kSettingCount; ++k) {
        for (int n = 0; n < 2; ++n) {
            if (settingControls[k].control[n] == control) {
                configNumber = n;
                id = static_cast<SettingId>(k);
                return true;
            }
        }
    }
    return false;
}

void onTextChanged(Dialog* dialog, int control)
{
    int n = 0;
    SettingId id = kSettingCount;
    if (!settingOf(control, n, id) || settingDescriptions[id].kind == SettingSlider ||
        settingDescriptions[id].kind == SettingChoice)
        return;
    const TrackerSetup& setup = dialogState(dialog).setup;
    const std::string text = getItemText(dialog, control, kFieldChars);
    showStep(dialog, withText(setup, n, id, text), editText(setup, n, id, text));
}

void onPathTypeChosen(Dialog* dialog, int combo)
{
    const int n = combo == IdPathType0 ? 0 : 1;
    const int row = getComboSelection(dialog, combo);
    const long code = row < 0 ? -1 : getComboRowData(dialog, combo, row);
    if (code < Compressed || code > Relay)
        return;
    const PathType type = static_cast<PathType>(code);
    TrackerSetup shown = dialogState(dialog).setup;
    shown.configs[n].settings.pathType = type;
    showStep(dialog, shown, choosePathType(dialogState(dialog).setup, n, type));
}

void fillPathTypes(Dialog* dialog, int combo)
{
    for (const PathTypeRow& row : pathTypeTable) {
        const int index = addComboRow(dialog, combo, row.name);
        setComboRowData(dialog, combo, index, row.code);
    }
}

void answerCommand(Dialog* dialog, int id, int notification)
{
    switch (notification) {
    case NotifyClicked:
        if (id == IdProgram)
            programTracker(dialog);
        else if (id == IdSecondConfig)
            showStep(dialog, pressSecondConfig(dialogState(dialog).setup));
        break;
    case NotifySelChange:
        if (id == IdPathType0 || id == IdPathType1)
            onPathTypeChosen(dialog, id);
        break;
    case NotifyDropDown:
        if (id == IdPort)
            fillPortList(dialog);
        break;
    case NotifySetFocus:
        if (id == IdSymbol0 || id == IdSymbol1)
            openSymbolChooser(dialog, id);
        else if (id == IdComment0 || id == IdComment1)
            showStep(dialog, focusComment(dialogState(dialog).setup, id == IdComment0 ? 0 : 1));
        break;
    case NotifyChange:
        onTextChanged(dialog, id);
        break;
    default:
        break;
    }
}

} // namespace

void initMainDialog(Dialog* dialog)
{
    DialogState& state = dialogState(dialog);
    state.setup = TrackerSetup();

    setCheck(dialog, IdTiny13, true);
    fillPathTypes(dialog, IdPathType0);
    fillPathTypes(dialog, IdPathType1);
    for (int n = 0; n < 2; ++n)
        setTextLimit(dialog, settingControls[SettingCallsign].control[n], kCallsignChars);
    writeSetupControls(dialog, nullptr, nullptr, state.setup);

    fillPortList(dialog);
    for (int row = 0; row < kBaudRowCount; ++row) {
        const int index = addComboRow(dialog, IdBaud, baudTable[row].name);
        setComboRowData(dialog, IdBaud, index, row);
    }
    setComboSelection(dialog, IdBaud, 2);

    enableItem(dialog, IdTiny2313, false);
    enableItem(dialog, IdMega8, false);
}

void handleCommand(Dialog* dialog, int id, int notification)
{
    if (!enterHandler(dialog))
        return;
    if (!dialogState(dialog).writingSetup)
        answerCommand(dialog, id, notification);
    leaveHandler(dialog);
}

void handleHScroll(Dialog* dialog)
{
    if (!enterHandler(dialog))
        return;
    if (!dialogState(dialog).writingSetup) {
        TrackerSetup shown = dialogState(dialog).setup;
        for (int k = 0; k < kSettingCount; ++k) {
            if (settingDescriptions[k].kind != SettingSlider)
                continue;
            for (int n = 0; n < 2; ++n)
                shown = withSliderPosition(shown, n, static_cast<SettingId>(k),
                                           getTrackbarPos(dialog, settingControls[k].control[n]));
        }
        showStep(dialog, shown, moveSliders(shown));
    }
    leaveHandler(dialog);
}

void applySettingsFile(Dialog* dialog, const SettingsFile& file)
{
    if (!enterHandler(dialog))
        return;
    showStep(dialog, openSettings(dialogState(dialog).setup, file));
    leaveHandler(dialog);
}
