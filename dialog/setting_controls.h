#pragma once
// The controls of each setting in configurations 0 and 1, its value labels and
// their text, from the settings' one description.

#include "config_settings.h"
#include "control_ids.h"

struct SettingControls {
    int control[2];
    int label[2]; // 0: none
    SettingLabelText labelText;
};

inline constexpr SettingControls settingControls[kSettingCount] = {
#define KORVEL_SETTING(id, field, key, kind, minimum, maximum, initial, initialText, control0, control1, label0, \
                       label1, labelText)                                                                      \
    {{control0, control1}, {label0, label1}, labelText},
#include "settings.def"
#undef KORVEL_SETTING
};
