// Frozen copy of dialog/setting_displays.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_setting_displays.h"

#include <cstdio>
#include <iterator>

#include "config_settings.h"
#include "control_ids.h"
#include "layout.h"
#include "ref_symbol_grid.h"
#include "ref_user_action.h"

namespace reference {
using ::applyMinimumDriveInterval;

namespace {

struct IntervalControls {
    int driveInterval;
    int idleFactor;
    int driveIntervalLabel;
    int idleIntervalLabel;
};

const IntervalControls intervalControls[2] = {
    {IdDriveInterval0, IdIdleFactor0, IdDriveIntervalValue0, IdIdleIntervalValue0},
    {IdDriveInterval1, IdIdleFactor1, IdDriveIntervalValue1, IdIdleIntervalValue1},
};

struct PathControls {
    int pathType;
    int hopCount;
    int path;
};

const PathControls pathControls[2] = {
    {IdPathType0, IdHopCount0, IdPath0},
    {IdPathType1, IdHopCount1, IdPath1},
};

void showBothIntervals(Dialog* dialog, const IntervalControls& c)
{
    showIntervalLabel(dialog, c.driveInterval, -1, c.driveIntervalLabel);
    showIntervalLabel(dialog, c.driveInterval, c.idleFactor, c.idleIntervalLabel);
}

void rewritePath(Dialog* dialog, int configNumber)
{
    const PathControls& c = pathControls[configNumber];
    const int row = getComboSelection(dialog, c.pathType);
    if (row < 0)
        return;
    const long type = getComboRowData(dialog, c.pathType, row);
    switch (type) {
    case Compressed:
        setItemText(dialog, c.path, pathTextFor(Compressed, 0));
        break;
    case WideNN:
    case TraceNN: {
        // The hop count label was refreshed just before; it is what the user sees.
        const int hops = static_cast<int>(getItemUnsigned(dialog, c.hopCount));
        setItemText(dialog, c.path, pathTextFor(static_cast<PathType>(type), hops));
        if (!dialogClosed(dialog))
            applyMinimumDriveInterval(dialog, configNumber, minimumDriveInterval(static_cast<PathType>(type), hops));
        break;
    }
    case Relay:
        setItemText(dialog, c.path, pathTextFor(Relay, 0));
        break;
    default:
        break;
    }
}

} // namespace

std::string intervalText(int seconds)
{
    char text[128];
    if (seconds >= 300)
        std::snprintf(text, sizeof text, "%dmin %dsec", seconds / 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%i sec", seconds);
    return text;
}

std::string txDelayText(int txDelay)
{
    char text[128];
    std::snprintf(text, sizeof text, "%03.1f ms", txDelay / 0.15);
    return text;
}

void showIntervalLabel(Dialog* dialog, int trackbarId, int multiplierId, int labelId)
{
    const int factor = multiplierId >= 0 ? getTrackbarPos(dialog, multiplierId) : 1;
    setItemText(dialog, labelId, intervalText(getTrackbarPos(dialog, trackbarId) * factor));
}

std::string unitText(int value, const char* unit)
{
    char text[128];
    std::snprintf(text, sizeof text, "%i %s", value, unit);
    return text;
}

void showUnitLabel(Dialog* dialog, int trackbarId, int labelId, const char* unit)
{
    setItemText(dialog, labelId, unitText(getTrackbarPos(dialog, trackbarId), unit));
}

void showTxDelayLabel(Dialog* dialog, int trackbarId, int labelId)
{
    setItemText(dialog, labelId, txDelayText(getTrackbarPos(dialog, trackbarId)));
}

void applyMinimumDriveInterval(Dialog* dialog, int configNumber, int minimum)
{
    const IntervalControls& c = intervalControls[configNumber];
    const int before = getTrackbarPos(dialog, c.driveInterval);
    const DriveIntervalBounds bounds = applyMinimumDriveInterval(before, minimum);
    setTrackbarRangeMin(dialog, c.driveInterval, bounds.lowerBound);
    if (bounds.driveInterval != before) {
        setTrackbarPos(dialog, c.driveInterval, bounds.driveInterval);
        showBothIntervals(dialog, c);
    }
}

void showValueLabels(Dialog* dialog)
{
    showTxDelayLabel(dialog, IdTxDelay0, IdTxDelayValue0);
    showTxDelayLabel(dialog, IdTxDelay1, IdTxDelayValue1);

    showIntervalLabel(dialog, IdDriveInterval0, -1, IdDriveIntervalValue0);
    showIntervalLabel(dialog, IdDriveInterval1, -1, IdDriveIntervalValue1);
    showIntervalLabel(dialog, IdDriveInterval0, IdIdleFactor0, IdIdleIntervalValue0);
    showIntervalLabel(dialog, IdDriveInterval1, IdIdleFactor1, IdIdleIntervalValue1);

    showUnitLabel(dialog, IdDriveSpeed0, IdDriveSpeedValue0, "km/h");
    showUnitLabel(dialog, IdDriveSpeed1, IdDriveSpeedValue1, "km/h");
    showUnitLabel(dialog, IdFrames0, IdFramesValue0, "frames");
    showUnitLabel(dialog, IdFrames1, IdFramesValue1, "frames");
}

void refreshSettingDisplays(Dialog* dialog)
{
    setItemUnsigned(dialog, IdHopCount0, static_cast<unsigned>(getTrackbarPos(dialog, IdHops0)));
    setItemUnsigned(dialog, IdHopCount1, static_cast<unsigned>(getTrackbarPos(dialog, IdHops1)));

    // Each path write runs that path's fit check before we go on.
    rewritePath(dialog, 0);
    if (!dialogClosed(dialog))
        rewritePath(dialog, 1);
    if (!dialogClosed(dialog))
        showValueLabels(dialog);
}

namespace {

// The longest of the texts a label shows over a range, the last of equals.
template <typename Text>
std::string longestOver(const SettingRange& range, Text text)
{
    std::string longest;
    for (int value = range.minimum; value <= range.maximum; ++value)
        if (text(value).size() >= longest.size())
            longest = text(value);
    return longest;
}

} // namespace

std::vector<ControlTexts> textsShownWhole()
{
    std::vector<ControlTexts> all;
    // Configuration 0's captions are their twins'.
    for (int i = 0; i < mainDialogControlCount; ++i) {
        const ControlLayout& c = mainDialogLayout[i];
        if (c.id >= 0 && *c.caption && (c.kind == KindLabel || c.kind == KindPush))
            all.push_back({c.id, {c.caption}});
    }
    std::string idle;
    for (int interval = driveIntervalRange.minimum; interval <= driveIntervalRange.maximum; ++interval) {
        const auto idleText = [interval](int factor) { return intervalText(interval * factor); };
        const std::string longest = longestOver(idleFactorRange, idleText);
        idle = longest.size() >= idle.size() ? longest : idle;
    }
    const std::vector<std::string> symbols(std::begin(symbolGrid), std::end(symbolGrid));
    const int ids[2][9] = {
        {IdHopCount0, IdTxDelayValue0, IdDriveIntervalValue0, IdIdleIntervalValue0, IdDriveSpeedValue0,
         IdFramesValue0, IdCallsign0, IdSsid0, IdSymbol0},
        {IdHopCount1, IdTxDelayValue1, IdDriveIntervalValue1, IdIdleIntervalValue1, IdDriveSpeedValue1,
         IdFramesValue1, IdCallsign1, IdSsid1, IdSymbol1},
    };
    for (const auto& id : ids) {
        all.push_back({id[0], {longestOver(digiHopsRange, [](int n) { return std::to_string(n); })}});
        all.push_back({id[1], {longestOver(txDelayRange, txDelayText)}});
        all.push_back({id[2], {longestOver(driveIntervalRange, intervalText)}});
        all.push_back({id[3], {idle}});
        all.push_back({id[4], {longestOver(driveSpeedRange, [](int v) { return unitText(v, "km/h"); })}});
        all.push_back({id[5], {longestOver(framesWithoutTextRange, [](int v) { return unitText(v, "frames"); })}});
        all.push_back({id[6], {std::string(kCallsignChars, 'W')}}); // the widest letter
        all.push_back({id[7], {std::to_string(kMaxSsid)}});
        all.push_back({id[8], symbols});
    }
    return all;
}

} // namespace reference
