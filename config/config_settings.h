#pragma once
// Settings of one tracker configuration, their ranges, defaults and conversions,
// each described once (settings.def). Pure values: no window system, no I/O.

#include <cstddef>
#include <string>

enum PathType { Compressed = 0, WideNN = 1, TraceNN = 2, Relay = 3 };

constexpr int kPathTypeCount = 4;

// One row of the path-type list: the name shown in the list and its code.
struct PathTypeRow {
    const char* name;
    int code;
};
extern const PathTypeRow pathTypeTable[kPathTypeCount];

// What kind of field holds a setting.
enum SettingKind { SettingText, SettingUpperText, SettingSsidText, SettingSlider, SettingChoice };

// A setting as settings.def describes it.
struct SettingDescription {
    const char* key;         // in settings files
    SettingKind kind;
    int minimum;             // a slider's range, the values a file may give,
    int maximum;             // the characters of a text that a record uses
    int initial;             // a slider's position, the SSID, the path type
    const char* initialText; // a text field's text at start
};

enum SettingId {
#define KORVEL_SETTING(id, ...) id,
#include "settings.def"
#undef KORVEL_SETTING
    kSettingCount
};

inline constexpr SettingDescription settingDescriptions[kSettingCount] = {
#define KORVEL_SETTING(id, field, key, kind, minimum, maximum, initial, initialText, ...) \
    {key, kind, minimum, maximum, initial, initialText},
#include "settings.def"
#undef KORVEL_SETTING
};

// Range and default of a slider-held setting.
struct SettingRange {
    int minimum;
    int maximum;
    int defaultValue;
};
constexpr SettingRange rangeOf(SettingId id)
{
    return {settingDescriptions[id].minimum, settingDescriptions[id].maximum, settingDescriptions[id].initial};
}
inline constexpr SettingRange txDelayRange = rangeOf(SettingTxDelay);                     // 6..75, 35
inline constexpr SettingRange digiHopsRange = rangeOf(SettingDigiHops);                   // 1..3, 2
inline constexpr SettingRange driveIntervalRange = rangeOf(SettingDriveInterval);         // 5..254, 30
inline constexpr SettingRange driveSpeedRange = rangeOf(SettingDriveSpeed);               // 1..100, 10
inline constexpr SettingRange idleFactorRange = rangeOf(SettingIdleFactor);               // 1..100, 12
inline constexpr SettingRange framesWithoutTextRange = rangeOf(SettingFramesWithoutText); // 0..50, 10

// How many characters of each text field a record uses.
constexpr std::size_t charsUsed(SettingId id) { return static_cast<std::size_t>(settingDescriptions[id].maximum); }
constexpr std::size_t kCallsignChars = charsUsed(SettingCallsign);
constexpr std::size_t kSymbolChars = charsUsed(SettingSymbol);
constexpr std::size_t kCommentChars = charsUsed(SettingComment);
constexpr std::size_t kPathChars = charsUsed(SettingPath);
constexpr unsigned kMaxSsid = static_cast<unsigned>(settingDescriptions[SettingSsid].maximum);

struct ConfigSettings {
    std::string callsign = settingDescriptions[SettingCallsign].initialText;
    unsigned ssid = static_cast<unsigned>(settingDescriptions[SettingSsid].initial);
    std::string symbol = settingDescriptions[SettingSymbol].initialText;
    int txDelay = txDelayRange.defaultValue;
    int digiHops = digiHopsRange.defaultValue;
    PathType pathType = static_cast<PathType>(settingDescriptions[SettingPathType].initial);
    std::string path = settingDescriptions[SettingPath].initialText;
    int driveInterval = driveIntervalRange.defaultValue;
    int driveSpeed = driveSpeedRange.defaultValue;
    int idleFactor = idleFactorRange.defaultValue;
    std::string comment = settingDescriptions[SettingComment].initialText;
    int framesWithoutText = framesWithoutTextRange.defaultValue;
};

// The field of a text setting (SettingText, SettingUpperText) or a slider's
// position; nullptr for a setting of another kind.
std::string* settingText(ConfigSettings& settings, SettingId id);
const std::string* settingText(const ConfigSettings& settings, SettingId id);
int* settingNumber(ConfigSettings& settings, SettingId id);
const int* settingNumber(const ConfigSettings& settings, SettingId id);

// "COMPRESSED", "WIDEn-n", "TRACEn-n" (n = digiHops) or "RELAY".
std::string pathTextFor(PathType type, int digiHops);

// Lowest drive interval in seconds that the path type allows.
int minimumDriveInterval(PathType type, int digiHops);

// km/h to the whole miles per hour written into a record.
int driveSpeedMph(int driveSpeedKmh);

// The drive interval's lower bound and value after a new minimum: the bound
// follows the minimum both ways, the interval is only ever raised.
struct DriveIntervalBounds {
    int lowerBound;
    int driveInterval;
};
DriveIntervalBounds applyMinimumDriveInterval(int driveInterval, int minimum);

// An empty path text or one containing "COMPRESSED" carries no digipeater path.
bool isCompressedPath(const std::string& pathText);

// The station SSID of a text that is a whole number 0 to 15 (an empty text counts
// as 0). False for any other text: a sign, a blank, "99999999999".
bool ssidFromText(const std::string& text, unsigned& ssid);

// The texts of the value labels beside the sliders.
std::string intervalText(int seconds); // "299 sec", "5min 0sec"
std::string txDelayText(int txDelay);  // "233.3 ms"
std::string unitText(int value, const char* unit);
using SettingLabelText = std::string (*)(const ConfigSettings& settings);
constexpr SettingLabelText noLabel = nullptr;
std::string hopCountLabel(const ConfigSettings& settings);
std::string txDelayLabel(const ConfigSettings& settings);
std::string driveIntervalLabel(const ConfigSettings& settings);
std::string driveSpeedLabel(const ConfigSettings& settings);
std::string idleIntervalLabel(const ConfigSettings& settings); // the interval while not driving
std::string framesLabel(const ConfigSettings& settings);
