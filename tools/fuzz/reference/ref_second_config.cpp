// Frozen copy of dialog/second_config.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_second_config.h"

#include "control_ids.h"
#include "ref_fit_checks.h"

namespace reference {

namespace {

// Configuration 1 may come back by itself only with this much room to spare.
constexpr int kRoomForSecondConfig = 22;

const int secondConfigControls[] = {
    IdConfig1Group, IdCallsign1, IdCallsignLabel1, IdSsid1, IdSsidLabel1, IdSymbol1, IdSymbolLabel1,
    IdHops1, IdHopCount1, IdPathType1, IdPath1, IdPathLabel1, IdTxDelay1, IdTxDelayValue1,
    IdTxDelayLabel1, IdDriveInterval1, IdDriveIntervalValue1, IdDriveIntervalLabel1, IdDriveSpeed1,
    IdDriveSpeedValue1, IdDriveSpeedLabel1, IdIdleFactor1, IdIdleIntervalValue1, IdIdleFactorLabel1,
    IdComment1, IdCommentLabel1, IdFrames1, IdFramesValue1, IdFramesLabel1,
    // The caption "Digi-Hops" greys out with the rest of its group.
    IdHopsLabel1,
};

void setSecondConfig(Dialog* dialog, bool enabled)
{
    dialogState(dialog).secondConfigEnabled = enabled;
    setSecondConfigControlsEnabled(dialog, enabled);
    enableItem(dialog, IdSecondConfig, enabled);
    computeEepromBudget(dialog);
}

} // namespace

void setSecondConfigControlsEnabled(Dialog* dialog, bool enabled)
{
    for (int id : secondConfigControls)
        enableItem(dialog, id, enabled);
    setItemText(dialog, IdSecondConfig, enabled ? "Disable 2nd Config" : "Enable 2nd Config");
}

void switchSecondConfigAutomatically(Dialog* dialog)
{
    DialogState& state = dialogState(dialog);
    const EepromBudget budget = computeEepromBudget(dialog);
    if (budget.eepromSpaceLeft < 0 && state.secondConfigEnabled) {
        setSecondConfig(dialog, false);
        return;
    }
    if (budget.eepromSpaceLeft >= kRoomForSecondConfig && !state.secondConfigOffByUser) {
        setSecondConfig(dialog, true);
        return;
    }
    enableItem(dialog, IdSecondConfig, budget.eepromSpaceLeft >= kRoomForSecondConfig || state.secondConfigEnabled);
}

void switchSecondConfigByHand(Dialog* dialog)
{
    DialogState& state = dialogState(dialog);
    state.secondConfigEnabled = !state.secondConfigEnabled;
    state.secondConfigOffByUser = !state.secondConfigOffByUser;
    setSecondConfigControlsEnabled(dialog, state.secondConfigEnabled);
    const EepromBudget budget = computeEepromBudget(dialog);
    limitTextToSpace(dialog, IdComment0, budget.config0SpaceLeft, false);
    limitTextToSpace(dialog, IdComment1, budget.eepromSpaceLeft, true);
}

} // namespace reference
