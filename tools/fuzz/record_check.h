#pragma once
// Reading a programming record back, and the properties that every record,
// encoded path and budget must have; the fuzz targets check them.

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "config_record.h"
#include "eeprom_budget.h"
#include "path_encoder.h"

// The values of "$#Pe0..." or "$#Pe1...": decimal 0..255 without leading zeros,
// separated by ",", the last followed by one space that ends the text. False on
// any other text.
inline bool readRecord(const std::string& record, std::vector<int>& values)
{
    values.clear();
    if (record.size() < 7 || record.compare(0, 4, "$#Pe") != 0 || (record[4] != '0' && record[4] != '1') ||
        record.back() != ' ')
        return false;
    for (std::size_t at = 5;;) {
        const std::size_t end = record.find_first_not_of("0123456789", at);
        const std::string digits = record.substr(at, end - at);
        if (digits.empty() || digits.size() > 3 || (digits.size() > 1 && digits[0] == '0') || std::stoi(digits) > 255)
            return false;
        values.push_back(std::stoi(digits));
        if (record[end] == ' ')
            return end + 1 == record.size();
        if (record[end] != ',')
            return false;
        at = end + 1;
    }
}

// The text a record or budget takes from a field: up to the first NUL, at most maxChars.
inline std::string usedPortion(const std::string& text, std::size_t maxChars)
{
    return text.substr(0, std::min(text.find('\0'), maxChars));
}

// Empty when the record of these settings, and its byte count, have every property.
inline std::string checkRecordInvariants(const ConfigSettings& settings, int configNumber, bool secondConfigEnabled)
{
    const std::string record = buildConfigRecord(settings, configNumber, secondConfigEnabled);
    std::vector<int> values;
    if (!readRecord(record, values))
        return "malformed record: " + record;

    const bool marker = configNumber == 0 && secondConfigEnabled;
    if ((values.back() == 255) != marker)
        return "end marker 255 wrong";
    const std::size_t counted = values.size() - (marker ? 1 : 0);
    if (counted != static_cast<std::size_t>(configBytesUsed(settings)))
        return "record and budget count different bytes";

    const std::string path = usedPortion(settings.path, 255);
    const bool compressed = path.empty() || path.find("COMPRESSED") != std::string::npos;
    if (compressed != isCompressedPath(path))
        return "isCompressedPath disagrees";
    const std::size_t elements = compressed ? 0 : encodePath(path).size() / 8;
    if (counted != 21 + 7 * elements + usedPortion(settings.comment, 127).size())
        return "value count is not 21 + 7n + k";
    // The source SSID value has the end bit exactly when no digipeater follows.
    if ((values[8] & 1) != (elements == 0 ? 1 : 0))
        return "source SSID end bit wrong";
    return std::string();
}

inline std::string checkEncodedPath(const std::string& pathText)
{
    const std::string encoded = encodePath(pathText);
    if (encoded.size() % 8 != 0)
        return "encoded path is not whole elements";
    if (encoded.size() > 31 * 8)
        return "encoded path has more than 31 elements";
    if (encoded.empty() && !usedPortion(pathText, pathText.size()).empty())
        return "non-empty path text gave no element";
    return std::string();
}

inline std::string checkBudget(TargetChip target, const ConfigSettings& config0, const ConfigSettings& config1,
                               bool secondConfigEnabled)
{
    const EepromBudget b = computeEepromBudget(target, config0, config1, secondConfigEnabled);
    const int area = target == Tiny13 ? 53 : 0;
    const int eeprom = target == Tiny13 ? 64 : 0;
    const int used0 = configBytesUsed(config0);
    const int used1 = secondConfigEnabled ? configBytesUsed(config1) : 0;
    const std::vector<int> expected{area, eeprom, used0, used1, area - used0,
                                    eeprom - (secondConfigEnabled ? 1 : 0) - used1 - used0};
    const std::vector<int> got{b.config0Capacity, b.eepromCapacity, b.config0Used,
                               b.config1Used, b.config0SpaceLeft, b.eepromSpaceLeft};
    return got == expected ? std::string() : "budget differs from its formula";
}
