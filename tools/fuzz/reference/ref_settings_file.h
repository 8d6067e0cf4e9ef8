// Frozen copy of config/settings_file.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// Settings files (*.korvel): UTF-8 text, one key per line, read and written as
// values. No I/O here: the caller hands in the file's bytes and stores the text.
// Texts inside ConfigSettings are the dialog's single-byte (Windows-1252) texts.

#include <cstddef>
#include <string>

#include "config_settings.h"

namespace reference {

// Larger files are refused unread.
constexpr std::size_t kSettingsFileMaxBytes = 64 * 1024;

// What one [configN] section says; defaults where a key is missing.
struct SettingsFileConfig {
    ConfigSettings settings;
    // The path text is written after the one that the path type writes.
    bool pathGiven = false;
};

struct SettingsFile {
    bool secondConfigEnabled = true;
    SettingsFileConfig configs[2];
};

// Why a file was refused: line 0 stands for the file as a whole.
struct SettingsFileError {
    int line = 0;
    std::string key; // the key, section or line text the refusal is about; may be empty
    std::string reason;
};

// 1 and every value, or 0 and the first refusal; nothing is half-read.
int parseSettingsFile(const std::string& bytes, SettingsFile& file, SettingsFileError& error);

// Every key of both configurations, in the order of the README.
std::string settingsFileText(const ConfigSettings configs[2], bool secondConfigEnabled);

// One line: "NAME, line 7, key \"calsign\": unknown key in [config0]".
std::string settingsFileErrorText(const std::string& fileName, const SettingsFileError& error);

// The settings that the dialog holds once it has applied one section, provided
// that they fit: the path type writes its path text (the file's path, if given,
// replaces it), the drive interval rises to the type's minimum, callsign and path
// are upper-cased, and the callsign keeps its first six characters.
ConfigSettings settingsAsApplied(const SettingsFileConfig& config);

} // namespace reference
