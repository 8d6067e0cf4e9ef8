#pragma once
// Both configurations as the dialog shows them, and every user event as a pure
// transition: model in, new model and what the dialog tells the user out. The
// dialog, settings files and the command line all run these transitions, so they
// cannot disagree about what fits in the tracker's EEPROM.

#include <string>
#include <vector>

#include "config_settings.h"
#include "eeprom_budget.h"
#include "settings_file.h"

// A comment field whose limit was never set keeps its own default.
constexpr unsigned kNoTextLimit = 0xFFFFFFFFu;

// One configuration as its fields hold it.
struct ConfigEntry {
    // Every text whole, as its field shows it; the record and the budget use their
    // first characters. ssid is the number that ssidText stands for (0 when none).
    ConfigSettings settings;
    std::string ssidText = settingDescriptions[SettingSsid].initialText;
    int driveIntervalMinimum = driveIntervalRange.minimum; // the slider's lower end
    unsigned commentLimit = kNoTextLimit;
};

struct TrackerSetup {
    ConfigEntry configs[2];
    // Configuration 1 is programmed and counted while this is set.
    bool secondConfigEnabled = true;
    // Switched off by hand: configuration 1 never comes back by itself.
    bool secondConfigOffByUser = false;
    // Button 1080; while configuration 1 is off by hand it follows comment 0.
    bool secondConfigButtonEnabled = true;
};

// Something a transition cut, refused or switched off because it did not fit.
struct SetupNotice {
    int configNumber;
    SettingId setting; // SettingPath or SettingComment
    int bytesOver;     // what had to go for everything to fit, when it was found
    bool shown;        // with its message box: the first of its kind in a user action
};

struct SetupStep {
    TrackerSetup setup;
    std::vector<SetupNotice> notices; // in the order they came about
};

// "path doesn't fit in EEprom" or "comment text doesn't fit in EEprom.".
const char* noticeMessage(const SetupNotice& notice);

// The budget of both configurations on the Tiny13.
EepromBudget setupBudget(const TrackerSetup& setup);

// What the user's own change leaves in a field before anything answers it: the text
// up to a NUL, upper-cased in an upper-case field; a slider's position within its
// range; the path type chosen in the list.
TrackerSetup withText(TrackerSetup setup, int configNumber, SettingId setting, const std::string& text);
TrackerSetup withSliderPosition(TrackerSetup setup, int configNumber, SettingId setting, int position);

// The user's events. Each runs what the dialog runs in answer, including the
// checks that its own writes set off.
SetupStep editText(const TrackerSetup& setup, int configNumber, SettingId setting, const std::string& text);
SetupStep choosePathType(const TrackerSetup& setup, int configNumber, PathType type);
// Any slider moved (or let go): both path texts are written again from their types.
SetupStep moveSliders(const TrackerSetup& setupWithPositions);
SetupStep focusComment(const TrackerSetup& setup, int configNumber);
SetupStep pressSecondConfig(const TrackerSetup& setup);
// From the defaults, as a user would set the fields: configuration 1 on or off, the
// sliders, each path type, the paths the file gives, the other texts.
SetupStep openSettings(const TrackerSetup& setup, const SettingsFile& file);

// "Config 1 does not fit in EEprom (7 bytes too many)", with the field when one is
// named ("Config 0 path ..."); the command line puts the file's name before it.
std::string doesNotFitText(int configNumber, const char* field, int bytesOver);

// The press of "Generate Config and Programm": the records to send, or the one
// message that refuses them (an SSID that is no number 0 to 15, settings that do
// not fit).
struct ProgrammingRecords {
    std::string refusal; // empty: send
    std::string record0;
    std::string record1;
    bool sendRecord1 = false;
};
ProgrammingRecords programmingRecords(const TrackerSetup& setup);

// The settings file of what the fields hold, or the refusal of an SSID.
int settingsFileOf(const TrackerSetup& setup, std::string& text, std::string& refusal);
