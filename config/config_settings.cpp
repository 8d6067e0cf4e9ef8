#include "config_settings.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "config_text.h"

const PathTypeRow pathTypeTable[kPathTypeCount] = {
    {"compressed", Compressed},
    {"WIDEn-n", WideNN},
    {"TRACEn-n", TraceNN},
    {"RELAY", Relay},
};

namespace {

std::string* asText(std::string* field) { return field; }
template <typename Field>
std::string* asText(Field*) { return nullptr; }
int* asNumber(int* field) { return field; }
template <typename Field>
int* asNumber(Field*) { return nullptr; }

} // namespace

std::string* settingText(ConfigSettings& settings, SettingId id)
{
    switch (id) {
#define KORVEL_SETTING(id, field, ...) \
    case id:                          \
        return asText(&settings.field);
#include "settings.def"
#undef KORVEL_SETTING
    case kSettingCount:
        break;
    }
    return nullptr;
}

int* settingNumber(ConfigSettings& settings, SettingId id)
{
    switch (id) {
#define KORVEL_SETTING(id, field, ...) \
    case id:                          \
        return asNumber(&settings.field);
#include "settings.def"
#undef KORVEL_SETTING
    case kSettingCount:
        break;
    }
    return nullptr;
}

const std::string* settingText(const ConfigSettings& settings, SettingId id)
{
    return settingText(const_cast<ConfigSettings&>(settings), id);
}

const int* settingNumber(const ConfigSettings& settings, SettingId id)
{
    return settingNumber(const_cast<ConfigSettings&>(settings), id);
}

std::string pathTextFor(PathType type, int digiHops)
{
    const std::string hops = std::to_string(digiHops);
    switch (type) {
    case WideNN:
        return "WIDE" + hops + "-" + hops;
    case TraceNN:
        return "TRACE" + hops + "-" + hops;
    case Relay:
        return "RELAY";
    case Compressed:
        break;
    }
    return "COMPRESSED";
}

int minimumDriveInterval(PathType type, int digiHops)
{
    // The hop count comes from a 1..3 trackbar; bounding it keeps 20 * hops from overflowing.
    const int hops = std::clamp(digiHops, digiHopsRange.minimum, digiHopsRange.maximum);
    switch (type) {
    case WideNN:
    case TraceNN:
        return 20 * hops;
    case Relay:
        return 20;
    case Compressed:
        break;
    }
    return driveIntervalRange.minimum;
}

int driveSpeedMph(int driveSpeedKmh)
{
    // Outside the trackbar's range the double-to-int conversion could overflow.
    const int kmh = std::clamp(driveSpeedKmh, driveSpeedRange.minimum, driveSpeedRange.maximum);
    return static_cast<int>(kmh * 0.62137 + 0.5);
}

DriveIntervalBounds applyMinimumDriveInterval(int driveInterval, int minimum)
{
    return {minimum, std::max(driveInterval, minimum)};
}

bool isCompressedPath(const std::string& pathText)
{
    const std::string_view text = textPortion(pathText, pathText.size());
    return text.empty() || text.find("COMPRESSED") != std::string_view::npos;
}

bool ssidFromText(const std::string& text, unsigned& ssid)
{
    ssid = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        ssid = ssid * 10 + static_cast<unsigned>(c - '0');
        if (ssid > kMaxSsid)
            return false;
    }
    return true;
}

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

std::string unitText(int value, const char* unit)
{
    char text[128];
    std::snprintf(text, sizeof text, "%i %s", value, unit);
    return text;
}

std::string hopCountLabel(const ConfigSettings& settings) { return std::to_string(settings.digiHops); }
std::string txDelayLabel(const ConfigSettings& settings) { return txDelayText(settings.txDelay); }
std::string driveIntervalLabel(const ConfigSettings& settings) { return intervalText(settings.driveInterval); }
std::string driveSpeedLabel(const ConfigSettings& settings) { return unitText(settings.driveSpeed, "km/h"); }
std::string framesLabel(const ConfigSettings& settings) { return unitText(settings.framesWithoutText, "frames"); }

std::string idleIntervalLabel(const ConfigSettings& settings)
{
    return intervalText(settings.driveInterval * settings.idleFactor);
}
