#include "config_record.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "config_text.h"
#include "path_encoder.h"

namespace {

// Every value stands for one EEPROM byte, so callers hand in 0..255 only.
void appendValue(std::string& record, unsigned value)
{
    if (value >= 100)
        record += static_cast<char>('0' + value / 100);
    if (value >= 10)
        record += static_cast<char>('0' + value / 10 % 10);
    record += static_cast<char>('0' + value % 10);
    record += ',';
}

unsigned inRange(int value, const SettingRange& range)
{
    return static_cast<unsigned>(std::clamp(value, range.minimum, range.maximum));
}

void appendBytes(std::string& record, std::string_view text)
{
    for (const char c : text) {
        if (c == '\0')
            break;
        appendValue(record, static_cast<unsigned char>(c));
    }
}

// Characters 7 and 8 of a path element as a decimal number: leading spaces,
// an optional sign, then digits. Kept to 0..15, the room of an AX.25 SSID.
unsigned elementSsid(char first, char second)
{
    const char part[2] = {first, second};
    std::size_t k = 0;
    while (k < 2 && part[k] == ' ')
        ++k;
    bool negative = false;
    if (k < 2 && (part[k] == '+' || part[k] == '-')) {
        negative = part[k] == '-';
        ++k;
    }
    unsigned number = 0;
    while (k < 2 && part[k] >= '0' && part[k] <= '9')
        number = number * 10 + static_cast<unsigned>(part[k++] - '0');
    if (negative)
        return 0;
    return std::min(number, kMaxSsid);
}

} // namespace

void appendAddressBytes(std::string& record, const char (&chars)[6])
{
    for (const char c : chars)
        appendValue(record, (static_cast<unsigned char>(c) << 1) & 0xFFu);
}

void appendTextBytes(std::string& record, const std::string& text)
{
    appendBytes(record, text);
}

std::string buildConfigRecord(const ConfigSettings& settings, int configNumber, bool secondConfigEnabled)
{
    const std::string elements = encodedPathElements(settings.path);
    const std::string_view comment = textPortion(settings.comment, kCommentChars);

    std::string record;
    record.reserve(48 + 4 * (elements.size() + comment.size()));
    record += configNumber == 0 ? "$#Pe0" : "$#Pe1";
    appendValue(record, inRange(settings.driveInterval, driveIntervalRange));
    appendValue(record, inRange(settings.digiHops, digiHopsRange) * 2 + 96);

    char callsign[kCallsignChars];
    const std::string_view call = textPortion(settings.callsign, kCallsignChars);
    std::fill(std::begin(callsign), std::end(callsign), ' ');
    std::copy(call.begin(), call.end(), callsign);
    appendAddressBytes(record, callsign);

    // Above 15 the value would no longer be an SSID byte, and from 80 on not a byte at all.
    const unsigned ssid = std::min(settings.ssid, kMaxSsid);
    appendValue(record, ssid * 2 + (elements.empty() ? 97 : 96));

    for (std::size_t at = 0; at + kPathElementChars <= elements.size(); at += kPathElementChars) {
        char address[6];
        std::copy_n(elements.begin() + static_cast<std::ptrdiff_t>(at), 6, address);
        appendAddressBytes(record, address);
        const bool last = at + kPathElementChars == elements.size();
        appendValue(record, elementSsid(elements[at + 6], elements[at + 7]) * 2 + (last ? 1 : 0));
    }

    appendValue(record, 3);
    appendValue(record, 240);
    appendValue(record, 96);
    appendValue(record, 0);
    appendValue(record, static_cast<unsigned>(driveSpeedMph(settings.driveSpeed)));
    appendValue(record, inRange(settings.idleFactor, idleFactorRange) - 1);
    const std::string_view symbol = textPortion(settings.symbol, kSymbolChars);
    for (std::size_t k = 0; k < kSymbolChars; ++k)
        appendValue(record, k < symbol.size() ? static_cast<unsigned char>(symbol[k]) : 0u);
    appendValue(record, 0);

    appendBytes(record, comment);
    appendValue(record, 0);

    appendValue(record, inRange(settings.framesWithoutText, framesWithoutTextRange));
    appendValue(record, inRange(settings.txDelay, txDelayRange));
    if (configNumber == 0 && secondConfigEnabled)
        appendValue(record, 255);

    record.back() = ' ';
    return record;
}
