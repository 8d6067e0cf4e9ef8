#include "setting_displays.h"

#include <iterator>

#include "config_settings.h"
#include "control_ids.h"
#include "layout.h"
#include "setting_controls.h"
#include "symbol_grid.h"

std::vector<ControlTexts> textsShownWhole()
{
    std::vector<ControlTexts> all;
    // Configuration 0's captions are their twins'.
    for (int i = 0; i < mainDialogControlCount; ++i) {
        const ControlLayout& c = mainDialogLayout[i];
        if (c.id >= 0 && *c.caption && (c.kind == KindLabel || c.kind == KindPush))
            all.push_back({c.id, {c.caption}});
    }
    for (int k = 0; k < kSettingCount; ++k) {
        const SettingId id = static_cast<SettingId>(k);
        const SettingControls& c = settingControls[k];
        std::vector<std::string> texts;
        if (c.labelText) {
            // The longest label over the slider's range, the last of equals; the
            // interval while not driving over every drive interval too.
            std::string longest;
            ConfigSettings s;
            const SettingRange range = rangeOf(id);
            const SettingRange drive = id == SettingIdleFactor ? driveIntervalRange : SettingRange{0, 0, 0};
            for (int interval = drive.minimum; interval <= drive.maximum; ++interval) {
                if (id == SettingIdleFactor)
                    s.driveInterval = interval;
                for (int value = range.minimum; value <= range.maximum; ++value) {
                    *settingNumber(s, id) = value;
                    const std::string text = c.labelText(s);
                    longest = text.size() >= longest.size() ? text : longest;
                }
            }
            texts.push_back(longest);
        } else if (id == SettingCallsign) {
            texts.push_back(std::string(kCallsignChars, 'W')); // the widest letter
        } else if (id == SettingSsid) {
            texts.push_back(std::to_string(kMaxSsid));
        } else if (id == SettingSymbol) {
            texts.assign(std::begin(symbolGrid), std::end(symbolGrid));
        } else {
            continue;
        }
        for (int n = 0; n < 2; ++n)
            all.push_back({c.labelText ? c.label[n] : c.control[n], texts});
    }
    return all;
}
