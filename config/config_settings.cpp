#include "config_settings.h"

#include <algorithm>
#include <string>

#include "config_text.h"

const PathTypeRow pathTypeTable[kPathTypeCount] = {
    {"compressed", Compressed},
    {"WIDEn-n", WideNN},
    {"TRACEn-n", TraceNN},
    {"RELAY", Relay},
};

const SettingRange txDelayRange = {6, 75, 35};
const SettingRange digiHopsRange = {1, 3, 2};
const SettingRange driveIntervalRange = {5, 254, 30};
const SettingRange driveSpeedRange = {1, 100, 10};
const SettingRange idleFactorRange = {1, 100, 12};
const SettingRange framesWithoutTextRange = {0, 50, 10};

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
