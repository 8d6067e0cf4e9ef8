#pragma once
// Reading a programming record back, the values it must hold, and the shape of
// every encoded path; the fuzz targets and the random actions check them.

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

// The values a record of these settings holds, worked out from its byte layout
// alone: numbers held to their ranges, texts up to a NUL and as far as the record
// reads them, path elements through the encoder (tested on its own).
inline std::vector<int> expectedRecord(const ConfigSettings& s, bool marker)
{
    const auto held = [](int value, int low, int high) { return std::clamp(value, low, high); };
    const std::string callsign = usedPortion(s.callsign, 6), symbol = usedPortion(s.symbol, 2);
    const std::string path = usedPortion(s.path, 255);
    const std::string elements = path.empty() || path.find("COMPRESSED") != std::string::npos ? "" : encodePath(path);
    const int speed = held(s.driveSpeed, 1, 100);
    std::vector<int> want = {held(s.driveInterval, 5, 254), 96 + 2 * held(s.digiHops, 1, 3)};
    for (std::size_t k = 0; k < 6; ++k)
        want.push_back(((k < callsign.size() ? static_cast<unsigned char>(callsign[k]) : ' ') << 1) & 0xFF);
    want.push_back(2 * static_cast<int>(std::min(s.ssid, 15u)) + (elements.empty() ? 97 : 96));
    for (std::size_t at = 0; at < elements.size(); at += 8) {
        for (std::size_t k = 0; k < 6; ++k)
            want.push_back((static_cast<unsigned char>(elements[at + k]) << 1) & 0xFF);
        // Characters 7 and 8: blanks, a sign, digits; a minus gives 0, above 15 gives 15.
        std::size_t k = at + 6;
        while (k < at + 8 && elements[k] == ' ')
            ++k;
        const bool minus = k < at + 8 && elements[k] == '-';
        k += k < at + 8 && (elements[k] == '-' || elements[k] == '+');
        int number = 0;
        for (; k < at + 8 && elements[k] >= '0' && elements[k] <= '9'; ++k)
            number = number * 10 + elements[k] - '0';
        want.push_back(2 * (minus ? 0 : std::min(number, 15)) + (at + 8 == elements.size() ? 1 : 0));
    }
    for (int value : {3, 240, 96, 0, static_cast<int>(speed * 0.62137 + 0.5), held(s.idleFactor, 1, 100) - 1})
        want.push_back(value);
    for (std::size_t k = 0; k < 2; ++k)
        want.push_back(k < symbol.size() ? static_cast<unsigned char>(symbol[k]) : 0);
    want.push_back(0);
    for (char c : usedPortion(s.comment, 127))
        want.push_back(static_cast<unsigned char>(c));
    for (int value : {0, held(s.framesWithoutText, 0, 50), held(s.txDelay, 6, 75)})
        want.push_back(value);
    if (marker)
        want.push_back(255);
    return want;
}

// Empty when the record is the expected one and the budget counts its values.
inline std::string checkRecord(const ConfigSettings& settings, int configNumber, bool secondConfigEnabled)
{
    const std::string record = buildConfigRecord(settings, configNumber, secondConfigEnabled);
    const bool marker = configNumber == 0 && secondConfigEnabled;
    std::vector<int> values;
    if (!readRecord(record, values) || values != expectedRecord(settings, marker))
        return "record differs from its layout: " + record;
    if (values.size() - marker != static_cast<std::size_t>(configBytesUsed(settings)))
        return "record and budget count different bytes";
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
