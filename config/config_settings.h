#pragma once
// Settings of one tracker configuration, their ranges, defaults and conversions.
// Pure values: no window system, no I/O.

#include <string>

enum PathType { Compressed = 0, WideNN = 1, TraceNN = 2, Relay = 3 };

constexpr int kPathTypeCount = 4;

// One row of the path-type list: the name shown in the list and its code.
struct PathTypeRow {
    const char* name;
    int code;
};
extern const PathTypeRow pathTypeTable[kPathTypeCount];

// Range and default of a trackbar-held setting.
struct SettingRange {
    int minimum;
    int maximum;
    int defaultValue;
};
extern const SettingRange txDelayRange;           // 6..75, 35
extern const SettingRange digiHopsRange;          // 1..3, 2
extern const SettingRange driveIntervalRange;     // 5..254, 30
extern const SettingRange driveSpeedRange;        // 1..100, 10
extern const SettingRange idleFactorRange;        // 1..100, 12
extern const SettingRange framesWithoutTextRange; // 0..50, 10

// How many characters of each text field a record uses.
constexpr std::size_t kCallsignChars = 6;
constexpr std::size_t kSymbolChars = 2;
constexpr std::size_t kCommentChars = 127;
constexpr std::size_t kPathChars = 255;
constexpr unsigned kMaxSsid = 15;

struct ConfigSettings {
    std::string callsign = "NOCALL";
    unsigned ssid = 9;
    std::string symbol = ">/";
    int txDelay = 35;
    int digiHops = 2;
    PathType pathType = Compressed;
    std::string path = "COMPRESSED";
    int driveInterval = 30;
    int driveSpeed = 10;
    int idleFactor = 12;
    std::string comment;
    int framesWithoutText = 10;
};

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
