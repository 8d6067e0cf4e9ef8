// Frozen copy of dialog/settings_apply.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_settings_apply.h"

#include "control_ids.h"
#include "ref_fit_checks.h"
#include "ref_main_dialog.h"
#include "ref_second_config.h"

namespace reference {

namespace {

// Empties both comments and paths without a message: with configuration 1 off
// by hand nothing switches on by itself meanwhile, and once the comments are
// empty a compressed path fits.
void clearTexts(Dialog* dialog)
{
    DialogState& state = dialogState(dialog);
    state.secondConfigEnabled = false;
    state.secondConfigOffByUser = true;
    for (const ConfigControls& c : configControls) {
        setItemText(dialog, c.comment, "");
        setComboSelection(dialog, c.pathType, Compressed);
        setItemText(dialog, c.path, pathTextFor(Compressed, 0));
        setTrackbarRangeMin(dialog, c.driveInterval, driveIntervalRange.minimum);
    }
}

void setSecondConfigAsFileSays(Dialog* dialog, bool enabled)
{
    DialogState& state = dialogState(dialog);
    state.secondConfigEnabled = enabled;
    state.secondConfigOffByUser = !enabled; // off as if by a click on the button
    setSecondConfigControlsEnabled(dialog, enabled);
    enableItem(dialog, IdSecondConfig, true);
    computeEepromBudget(dialog);
}

// What a comment takes when typed into: comment 0 up to the space left in the
// Config0 area, comment 1 up to the space left in the EEPROM (see onCommentFocus).
// Configuration 1 switched off is kept as it is, uncounted.
std::string typedComment(Dialog* dialog, int commentId, const std::string& text)
{
    const EepromBudget budget = computeEepromBudget(dialog);
    const int limit = commentId == IdComment0 ? allowedTextLength(0, budget.config0SpaceLeft) : budget.eepromSpaceLeft;
    if (commentId == IdComment1 && (limit <= 0 || !dialogState(dialog).secondConfigEnabled))
        return text;
    return text.substr(0, static_cast<std::size_t>(limit));
}

} // namespace

void applySettingsFile(Dialog* dialog, const SettingsFile& file)
{
    clearTexts(dialog);
    setSecondConfigAsFileSays(dialog, file.secondConfigEnabled);

    for (int n = 0; n < 2; ++n) {
        const ConfigControls& c = configControls[n];
        const ConfigSettings& s = file.configs[n].settings;
        setTrackbarPos(dialog, c.hops, s.digiHops);
        setTrackbarPos(dialog, c.txDelay, s.txDelay);
        setTrackbarPos(dialog, c.driveInterval, s.driveInterval);
        setTrackbarPos(dialog, c.driveSpeed, s.driveSpeed);
        setTrackbarPos(dialog, c.idleFactor, s.idleFactor);
        setTrackbarPos(dialog, c.frames, s.framesWithoutText);
    }
    handleHScroll(dialog); // as at the end of a drag: labels and path texts follow

    for (int n = 0; n < 2; ++n) {
        // The list holds the path types in code order.
        setComboSelection(dialog, configControls[n].pathType, file.configs[n].settings.pathType);
        handleCommand(dialog, configControls[n].pathType, NotifySelChange);
    }
    for (int n = 0; n < 2; ++n) {
        if (file.configs[n].pathGiven)
            setItemText(dialog, configControls[n].path, file.configs[n].settings.path);
    }
    for (int n = 0; n < 2; ++n) {
        const ConfigSettings& s = file.configs[n].settings;
        setItemText(dialog, configControls[n].callsign, s.callsign.substr(0, kCallsignChars));
        setItemUnsigned(dialog, configControls[n].ssid, s.ssid);
        setItemText(dialog, configControls[n].symbol, s.symbol);
    }
    for (int n = 0; n < 2; ++n) {
        const int id = configControls[n].comment;
        setItemText(dialog, id, typedComment(dialog, id, file.configs[n].settings.comment));
    }
}

std::string settingsTextOf(Dialog* dialog)
{
    const ConfigSettings configs[2] = {readConfig(dialog, 0), readConfig(dialog, 1)};
    return settingsFileText(configs, dialogState(dialog).secondConfigEnabled);
}

} // namespace reference
