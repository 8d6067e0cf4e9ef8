#pragma once
// Reading a programming record back into its values, and the properties every
// record and budget must have. Shared by the unit tests and the fuzz target.

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "config/config_record.h"
#include "config/config_settings.h"
#include "config/eeprom_budget.h"
#include "config/path_encoder.h"

struct RecordReading {
    int configNumber = -1;
    std::vector<int> values;
    std::string problem; // empty when the text is a well-formed record
};

// "$#Pe0" or "$#Pe1", then decimal values 0..255 without leading zeros, each
// followed by "," except the last, which is followed by one space ending the text.
inline RecordReading readRecord(const std::string& record)
{
    RecordReading reading;
    if (record.size() < 6 || record.compare(0, 4, "$#Pe") != 0 || (record[4] != '0' && record[4] != '1')) {
        reading.problem = "no \"$#Pe0\" or \"$#Pe1\" prefix";
        return reading;
    }
    reading.configNumber = record[4] - '0';
    std::size_t at = 5;
    for (;;) {
        std::size_t digits = 0;
        int value = 0;
        while (at < record.size() && record[at] >= '0' && record[at] <= '9' && digits < 4) {
            value = value * 10 + (record[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255 || (digits > 1 && record[at - digits] == '0')) {
            reading.problem = "malformed value at character " + std::to_string(at);
            return reading;
        }
        reading.values.push_back(value);
        if (at >= record.size()) {
            reading.problem = "record ends without a space";
            return reading;
        }
        if (record[at] == ' ') {
            if (at + 1 != record.size())
                reading.problem = "characters after the final space";
            return reading;
        }
        if (record[at] != ',') {
            reading.problem = "unexpected character at " + std::to_string(at);
            return reading;
        }
        ++at;
    }
}

// The text a record or budget takes from a field: up to the first NUL, at most maxChars.
inline std::string usedPortion(const std::string& text, std::size_t maxChars)
{
    return text.substr(0, std::min(text.find('\0'), maxChars));
}

// Empty when the record of these settings, and the budget, have every property.
inline std::string checkRecordInvariants(const ConfigSettings& settings, int configNumber, bool secondConfigEnabled)
{
    const std::string record = buildConfigRecord(settings, configNumber, secondConfigEnabled);
    const RecordReading reading = readRecord(record);
    if (!reading.problem.empty())
        return reading.problem + ": " + record;
    if (reading.configNumber != (configNumber == 0 ? 0 : 1))
        return "wrong configuration number";

    const bool marker = configNumber == 0 && secondConfigEnabled;
    const std::size_t counted = reading.values.size() - (marker ? 1 : 0);
    if (counted != static_cast<std::size_t>(configBytesUsed(settings)))
        return "record has " + std::to_string(counted) + " values, budget counts " +
               std::to_string(configBytesUsed(settings));
    if ((reading.values.back() == 255) != marker)
        return "end marker 255 wrong";

    const std::string path = usedPortion(settings.path, kPathChars);
    const std::string comment = usedPortion(settings.comment, kCommentChars);
    const bool compressed = path.empty() || path.find("COMPRESSED") != std::string::npos;
    if (compressed != isCompressedPath(path))
        return "isCompressedPath disagrees";
    const std::size_t elements = compressed ? 0 : encodePath(path).size() / kPathElementChars;
    if (counted != 21 + 7 * elements + comment.size())
        return "value count is not 21 + 7n + k";
    // The source SSID value has the end bit exactly when no digipeater follows.
    if ((reading.values[8] & 1) != (elements == 0 ? 1 : 0))
        return "source SSID end bit wrong";
    return std::string();
}

inline std::string checkEncodedPath(const std::string& pathText)
{
    const std::string encoded = encodePath(pathText);
    if (encoded.size() % kPathElementChars != 0)
        return "encoded path is not whole elements";
    if (encoded.size() > kMaxPathElements * kPathElementChars)
        return "encoded path has more than 31 elements";
    if (encoded.empty() && !usedPortion(pathText, pathText.size()).empty())
        return "non-empty path text gave no element";
    return std::string();
}

inline std::string checkBudget(TargetChip target, const ConfigSettings& config0, const ConfigSettings& config1,
                               bool secondConfigEnabled)
{
    const EepromBudget b = computeEepromBudget(target, config0, config1, secondConfigEnabled);
    const int config0Capacity = target == Tiny13 ? 53 : 0;
    const int eepromCapacity = target == Tiny13 ? 64 : 0;
    if (b.config0Capacity != config0Capacity || b.eepromCapacity != eepromCapacity)
        return "wrong capacities";
    if (b.config0Used != configBytesUsed(config0))
        return "config0Used differs from configBytesUsed";
    if (b.config1Used != (secondConfigEnabled ? configBytesUsed(config1) : 0))
        return "config1Used wrong";
    if (b.config0SpaceLeft != b.config0Capacity - b.config0Used)
        return "config0SpaceLeft wrong";
    if (b.eepromSpaceLeft != b.eepromCapacity - (secondConfigEnabled ? 1 : 0) - b.config1Used - b.config0Used)
        return "eepromSpaceLeft wrong";
    return std::string();
}
