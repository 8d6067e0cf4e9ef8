#include "setting_displays.h"

#include <iterator>

#include "config_settings.h"
#include "control_ids.h"
#include "layout.h"
#include "symbol_grid.h"

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
