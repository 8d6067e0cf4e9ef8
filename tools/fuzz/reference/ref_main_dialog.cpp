// Frozen copy of dialog/main_dialog.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_main_dialog.h"

#include "control_ids.h"
#include "ref_fit_checks.h"
#include "ref_port_choice.h"
#include "port_table.h"
#include "ref_programming_run.h"
#include "ref_second_config.h"
#include "ref_setting_displays.h"
#include "ref_symbol_chooser.h"
#include "ref_user_action.h"

namespace reference {


const ConfigControls configControls[2] = {
    {IdCallsign0, IdSsid0, IdSymbol0, IdHops0, IdPathType0, IdPath0, IdTxDelay0, IdDriveInterval0,
     IdDriveSpeed0, IdIdleFactor0, IdComment0, IdFrames0},
    {IdCallsign1, IdSsid1, IdSymbol1, IdHops1, IdPathType1, IdPath1, IdTxDelay1, IdDriveInterval1,
     IdDriveSpeed1, IdIdleFactor1, IdComment1, IdFrames1},
};

namespace {

void setTrackbar(Dialog* dialog, int id, const SettingRange& range)
{
    setTrackbarRangeMin(dialog, id, range.minimum);
    setTrackbarRangeMax(dialog, id, range.maximum);
    setTrackbarPos(dialog, id, range.defaultValue);
}

void setTrackbarPair(Dialog* dialog, int id0, int id1, const SettingRange& range)
{
    setTrackbar(dialog, id0, range);
    setTrackbar(dialog, id1, range);
}

void fillPathTypes(Dialog* dialog, int comboId, int pathId)
{
    for (const PathTypeRow& row : pathTypeTable) {
        const int index = addComboRow(dialog, comboId, row.name);
        setComboRowData(dialog, comboId, index, row.code);
    }
    setComboSelection(dialog, comboId, 0);
    // Lower case on purpose: the upper-case path edit turns it into "COMPRESSED".
    setItemText(dialog, pathId, pathTypeTable[0].name);
}

} // namespace

void initMainDialog(Dialog* dialog)
{
    DialogState& state = dialogState(dialog);
    state.secondConfigEnabled = true;
    state.secondConfigOffByUser = false;

    setCheck(dialog, IdTiny13, true);

    setTrackbar(dialog, IdHops0, digiHopsRange);
    setItemUnsigned(dialog, IdHopCount0, static_cast<unsigned>(digiHopsRange.defaultValue));
    setTrackbar(dialog, IdHops1, digiHopsRange);
    setItemUnsigned(dialog, IdHopCount1, static_cast<unsigned>(digiHopsRange.defaultValue));
    setTrackbarPair(dialog, IdTxDelay0, IdTxDelay1, txDelayRange);
    setTrackbarPair(dialog, IdDriveInterval0, IdDriveInterval1, driveIntervalRange);
    setTrackbarPair(dialog, IdIdleFactor0, IdIdleFactor1, idleFactorRange);
    setTrackbarPair(dialog, IdDriveSpeed0, IdDriveSpeed1, driveSpeedRange);
    setTrackbarPair(dialog, IdFrames0, IdFrames1, framesWithoutTextRange);

    const ConfigSettings defaults;
    setItemText(dialog, IdCallsign0, defaults.callsign);
    setItemText(dialog, IdCallsign1, defaults.callsign);
    setTextLimit(dialog, IdCallsign0, kCallsignChars);
    setTextLimit(dialog, IdCallsign1, kCallsignChars);
    setItemUnsigned(dialog, IdSsid0, defaults.ssid);
    setItemUnsigned(dialog, IdSsid1, defaults.ssid);
    setItemText(dialog, IdSymbol0, defaults.symbol);
    setItemText(dialog, IdSymbol1, defaults.symbol);

    showValueLabels(dialog);

    setSecondConfigControlsEnabled(dialog, state.secondConfigEnabled);
    computeEepromBudget(dialog);

    fillPortList(dialog);

    for (int row = 0; row < kBaudRowCount; ++row) {
        const int index = addComboRow(dialog, IdBaud, baudTable[row].name);
        setComboRowData(dialog, IdBaud, index, row);
    }
    setComboSelection(dialog, IdBaud, 2);

    fillPathTypes(dialog, IdPathType0, IdPath0);
    fillPathTypes(dialog, IdPathType1, IdPath1);

    enableItem(dialog, IdTiny2313, false);
    enableItem(dialog, IdMega8, false);
}

void handleCommand(Dialog* dialog, int id, int notification)
{
    if (!enterHandler(dialog))
        return;
    switch (notification) {
    case NotifyClicked:
        if (id == IdProgram)
            programTracker(dialog);
        else if (id == IdSecondConfig)
            switchSecondConfigByHand(dialog);
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
            onCommentFocus(dialog, id);
        break;
    case NotifyChange:
        if (id == IdComment0)
            switchSecondConfigAutomatically(dialog);
        else if (id == IdPath0 || id == IdPath1)
            checkPathFits(dialog, id);
        else if (id == IdComment1)
            checkComment1Fits(dialog);
        break;
    default:
        break;
    }
    leaveHandler(dialog);
}

void handleHScroll(Dialog* dialog)
{
    if (!enterHandler(dialog))
        return;
    refreshSettingDisplays(dialog);
    leaveHandler(dialog);
}

ConfigSettings readConfig(Dialog* dialog, int configNumber)
{
    const ConfigControls& c = configControls[configNumber];
    ConfigSettings settings;
    settings.callsign = getItemText(dialog, c.callsign, kCallsignChars);
    settings.ssid = getItemUnsigned(dialog, c.ssid);
    settings.symbol = getItemText(dialog, c.symbol, kSymbolChars);
    settings.txDelay = getTrackbarPos(dialog, c.txDelay);
    settings.digiHops = getTrackbarPos(dialog, c.hops);
    const long type = getComboRowData(dialog, c.pathType, getComboSelection(dialog, c.pathType));
    settings.pathType = type >= Compressed && type <= Relay ? static_cast<PathType>(type) : Compressed;
    settings.path = getItemText(dialog, c.path, kPathChars);
    settings.driveInterval = getTrackbarPos(dialog, c.driveInterval);
    settings.driveSpeed = getTrackbarPos(dialog, c.driveSpeed);
    settings.idleFactor = getTrackbarPos(dialog, c.idleFactor);
    settings.comment = getItemText(dialog, c.comment, kCommentChars);
    settings.framesWithoutText = getTrackbarPos(dialog, c.frames);
    return settings;
}

} // namespace reference
