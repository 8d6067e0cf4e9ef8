// Frozen copy of dialog/setting_displays.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// Value labels beside the trackbars, and the drive-interval minimum on the dialog.

#include <string>
#include <vector>

#include "ref_platform.h"

namespace reference {

// Seconds (below 300) or minutes and seconds of a trackbar position, optionally
// multiplied by a second trackbar (multiplierId -1: none).
void showIntervalLabel(Dialog* dialog, int trackbarId, int multiplierId, int labelId);
// "<position> <unit>", e.g. "10 km/h".
void showUnitLabel(Dialog* dialog, int trackbarId, int labelId, const char* unit);
// The TX delay in milliseconds.
void showTxDelayLabel(Dialog* dialog, int trackbarId, int labelId);

// Moves the lower end of a configuration's drive interval trackbar to minimum and
// raises the position (never lowers it), with both interval labels following.
void applyMinimumDriveInterval(Dialog* dialog, int configNumber, int minimum);

// The TX delay, interval, speed and frames labels of both configurations.
void showValueLabels(Dialog* dialog);

// Every scroll: all labels of both configurations, and both path texts rewritten
// from their path types.
void refreshSettingDisplays(Dialog* dialog);

// Pure label texts, shared with the initial state.
std::string intervalText(int seconds);
std::string txDelayText(int txDelay);
std::string unitText(int value, const char* unit);

// The texts a control must show whole: each value label's longest over its
// trackbars' whole ranges, the widest callsign, the highest SSID, every symbol,
// and the captions that have an id.
struct ControlTexts {
    int id;
    std::vector<std::string> texts;
};
std::vector<ControlTexts> textsShownWhole();

} // namespace reference
