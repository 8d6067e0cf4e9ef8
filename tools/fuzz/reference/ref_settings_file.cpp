// Frozen copy of config/settings_file.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_settings_file.h"

#include "windows1252.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace reference {

namespace {

void appendUtf8(std::string& out, unsigned char byte)
{
    const std::uint32_t code = unicodeFromWindows1252(byte);
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Strict UTF-8 (no overlong forms, surrogates or code points above U+10FFFF) and
// no control character but the tab: to Windows-1252. 0 for anything else.
int decodeLine(std::string_view line, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < line.size();) {
        const auto lead = static_cast<unsigned char>(line[i]);
        const int extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2
                        : lead >= 0xF0 && lead <= 0xF4 ? 3 : -1;
        if (extra < 0 || line.size() - i <= static_cast<std::size_t>(extra))
            return 0;
        std::uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(line[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return 0;
            code = code << 6 | (next & 0x3F);
        }
        const std::uint32_t smallest[4] = {0, 0x80, 0x800, 0x10000};
        if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return 0;
        if ((code < 0x20 && code != '\t') || code == 0x7F)
            return 0;
        out += static_cast<char>(windows1252FromUnicode(code));
        i += static_cast<std::size_t>(extra) + 1;
    }
    return 1;
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Leading or trailing spaces would be lost on reading, so such a text is quoted;
// so is one that looks quoted itself.
bool needsQuotes(const std::string& text)
{
    if (text.empty())
        return false;
    const bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
    return quoted || text.front() == ' ' || text.back() == ' ';
}

std::string_view unquoted(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

enum KeyKind { KeyText, KeyNumber, KeySsid, KeyPathType };

struct Key {
    const char* name;
    KeyKind kind;
    const SettingRange* range; // KeyNumber
};

// The order in which a file is written.
const Key kKeys[] = {
    {"callsign", KeyText, nullptr},          {"ssid", KeySsid, nullptr},
    {"symbol", KeyText, nullptr},            {"digiHops", KeyNumber, &digiHopsRange},
    {"pathType", KeyPathType, nullptr},      {"path", KeyText, nullptr},
    {"txDelay", KeyNumber, &txDelayRange},   {"driveInterval", KeyNumber, &driveIntervalRange},
    {"driveSpeed", KeyNumber, &driveSpeedRange}, {"idleFactor", KeyNumber, &idleFactorRange},
    {"comment", KeyText, nullptr},           {"framesWithoutText", KeyNumber, &framesWithoutTextRange},
};
constexpr int kKeyCount = sizeof kKeys / sizeof kKeys[0];

int* numberField(ConfigSettings& s, std::string_view name)
{
    if (name == "digiHops")
        return &s.digiHops;
    if (name == "txDelay")
        return &s.txDelay;
    if (name == "driveInterval")
        return &s.driveInterval;
    if (name == "driveSpeed")
        return &s.driveSpeed;
    if (name == "idleFactor")
        return &s.idleFactor;
    return &s.framesWithoutText;
}

std::string* textField(ConfigSettings& s, std::string_view name)
{
    if (name == "callsign")
        return &s.callsign;
    if (name == "symbol")
        return &s.symbol;
    if (name == "path")
        return &s.path;
    return &s.comment;
}

// A whole decimal number within minimum..maximum, digits only.
bool readNumber(std::string_view text, int minimum, int maximum, int& value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    int number = 0;
    for (const char digit : text)
        number = number * 10 + (digit - '0');
    if (number < minimum || number > maximum)
        return false;
    value = number;
    return true;
}

bool sameLetters(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string rangeReason(int minimum, int maximum)
{
    return "must be a whole number from " + std::to_string(minimum) + " to " + std::to_string(maximum);
}

// Reads one value into the section; an empty reason means it was taken.
std::string readValue(const Key& key, std::string_view value, SettingsFileConfig& config)
{
    ConfigSettings& s = config.settings;
    switch (key.kind) {
    case KeyText:
        *textField(s, key.name) = std::string(unquoted(value));
        if (std::string_view(key.name) == "path")
            config.pathGiven = true;
        return {};
    case KeyNumber:
        return readNumber(value, key.range->minimum, key.range->maximum, *numberField(s, key.name))
                   ? std::string() : rangeReason(key.range->minimum, key.range->maximum);
    case KeySsid: {
        int ssid = 0;
        if (!readNumber(value, 0, static_cast<int>(kMaxSsid), ssid))
            return rangeReason(0, static_cast<int>(kMaxSsid));
        s.ssid = static_cast<unsigned>(ssid);
        return {};
    }
    case KeyPathType:
        for (const PathTypeRow& row : pathTypeTable) {
            if (sameLetters(value, row.name)) {
                s.pathType = static_cast<PathType>(row.code);
                return {};
            }
        }
        return "must be compressed, WIDEn-n, TRACEn-n or RELAY";
    }
    return {};
}

// What a message may quote of the file: printable ASCII, at most 40 characters.
std::string quotable(std::string_view text)
{
    std::string shown;
    for (const char c : text.substr(0, 40))
        shown += c >= ' ' && c <= '~' ? c : '?';
    return text.size() > 40 ? shown + "..." : shown;
}

int refuse(SettingsFileError& error, int line, std::string_view key, std::string reason)
{
    error.line = line;
    error.key = quotable(key);
    error.reason = std::move(reason);
    return 0;
}

char upperCase(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7))
        return static_cast<char>(byte - 0x20);
    switch (byte) {
    case 0x9A: // s caron
    case 0x9C: // oe
    case 0x9E: // z caron
        return static_cast<char>(byte - 0x10);
    case 0xFF: // y diaeresis
        return static_cast<char>(0x9F);
    default:
        return c;
    }
}

std::string upperCased(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), upperCase);
    return text;
}

} // namespace

int parseSettingsFile(const std::string& bytes, SettingsFile& file, SettingsFileError& error)
{
    if (bytes.size() > kSettingsFileMaxBytes)
        return refuse(error, 0, {}, "larger than 64 KiB");
    // A byte order mark, as some editors write, says nothing.
    const std::size_t bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    SettingsFile result;
    SettingsFileConfig* section = nullptr; // none before the first section header
    bool seen[3][kKeyCount] = {};          // top level, [config0], [config1]
    std::string line;
    int number = 0;
    for (std::size_t start = bom; start <= bytes.size(); ++number) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string_view raw(bytes.data() + start, end - start);
        start = end + 1;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (!decodeLine(raw, line))
            return refuse(error, number + 1, {}, "not UTF-8 text");
        const std::string_view text = trimmed(line);
        if (text.empty() || text.front() == '#')
            continue;
        if (text.front() == '[') {
            if (text != "[config0]" && text != "[config1]")
                return refuse(error, number + 1, text, "unknown section");
            section = &result.configs[text[7] - '0'];
            continue;
        }
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos)
            return refuse(error, number + 1, text, "line without \"=\"");
        const std::string_view name = trimmed(text.substr(0, equals));
        const std::string_view value = trimmed(text.substr(equals + 1));
        const int where = section ? 1 + static_cast<int>(section - result.configs) : 0;
        int keyIndex = -1;
        if (section) {
            for (int k = 0; k < kKeyCount && keyIndex < 0; ++k)
                keyIndex = name == kKeys[k].name ? k : -1;
        } else if (name == "secondConfig") {
            keyIndex = 0;
        }
        if (keyIndex < 0)
            return refuse(error, number + 1, name, where ? "unknown key in [config" + std::to_string(where - 1) + "]"
                                                         : std::string("unknown key (only secondConfig comes before [config0])"));
        if (seen[where][keyIndex])
            return refuse(error, number + 1, name, "given twice");
        seen[where][keyIndex] = true;
        if (!section) {
            if (!sameLetters(value, "on") && !sameLetters(value, "off"))
                return refuse(error, number + 1, name, "must be on or off");
            result.secondConfigEnabled = sameLetters(value, "on");
            continue;
        }
        std::string reason = readValue(kKeys[keyIndex], value, *section);
        if (!reason.empty())
            return refuse(error, number + 1, name, std::move(reason));
    }
    file = result;
    return 1;
}

std::string settingsFileText(const ConfigSettings configs[2], bool secondConfigEnabled)
{
    std::string text = "# KorvelConfig settings\nsecondConfig = ";
    text += secondConfigEnabled ? "on\n" : "off\n";
    for (int n = 0; n < 2; ++n) {
        ConfigSettings s = configs[n]; // the field helpers take a non-const one
        text += "[config" + std::to_string(n) + "]\n";
        for (const Key& key : kKeys) {
            text += std::string(key.name) + " = ";
            switch (key.kind) {
            case KeyText: {
                // A line of the file cannot hold a control character; the dialog's
                // texts hold none once typed.
                std::string value;
                for (const char c : *textField(s, key.name)) {
                    if (c == '\0')
                        break;
                    if (static_cast<unsigned char>(c) >= ' ' && c != 0x7F)
                        value += c;
                }
                std::string utf8;
                for (const char c : value)
                    appendUtf8(utf8, static_cast<unsigned char>(c));
                text += needsQuotes(value) ? "\"" + utf8 + "\"" : utf8;
                break;
            }
            case KeyNumber:
                text += std::to_string(*numberField(s, key.name));
                break;
            case KeySsid:
                text += std::to_string(s.ssid);
                break;
            case KeyPathType:
                text += pathTypeTable[s.pathType >= Compressed && s.pathType <= Relay ? s.pathType : 0].name;
                break;
            }
            text += '\n';
        }
    }
    return text;
}

std::string settingsFileErrorText(const std::string& fileName, const SettingsFileError& error)
{
    std::string text = fileName;
    if (error.line > 0)
        text += ", line " + std::to_string(error.line);
    if (!error.key.empty())
        text += ", \"" + error.key + "\"";
    return text + ": " + error.reason;
}

ConfigSettings settingsAsApplied(const SettingsFileConfig& config)
{
    ConfigSettings s = config.settings;
    if (!config.pathGiven)
        s.path = pathTextFor(s.pathType, s.digiHops);
    s.path = upperCased(s.path);
    s.callsign = upperCased(s.callsign.substr(0, kCallsignChars));
    s.driveInterval = std::max(s.driveInterval, minimumDriveInterval(s.pathType, s.digiHops));
    return s;
}

} // namespace reference
