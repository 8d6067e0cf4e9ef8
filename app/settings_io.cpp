#include "settings_io.h"

#include <cstdio>

#include "main_dialog.h"
#include "prompts.h"
#include "settings_apply.h"
#include "settings_storage.h"

namespace {

constexpr const char* kCaption = "KorvelConfig";

} // namespace

int openSettingsFile(Dialog* dialog, const std::string& path)
{
    std::string bytes;
    std::string why;
    if (!readFileBytes(path, kSettingsFileMaxBytes, bytes, why)) {
        showMessage((path + ": " + why).c_str(), kCaption);
        return 0;
    }
    SettingsFile file;
    SettingsFileError error;
    if (!parseSettingsFile(bytes, file, error)) {
        showMessage(settingsFileErrorText(path, error).c_str(), kCaption);
        return 0;
    }
    applySettingsFile(dialog, file);
    return 1;
}

int saveSettingsFile(Dialog* dialog, const std::string& path)
{
    // Every file written can be opened again, and a file takes SSIDs 0 to 15 only.
    for (int n = 0; n < 2; ++n) {
        if (readConfig(dialog, n).ssid > kMaxSsid) {
            char text[128];
            std::snprintf(text, sizeof text, "SSID of Config %d must be a number from 0 to 15.", n);
            showMessage(text, kCaption);
            return 0;
        }
    }
    std::string why;
    if (!writeFileAtomically(path, settingsTextOf(dialog), why)) {
        showMessage(("cannot save " + path + ": " + why).c_str(), kCaption);
        return 0;
    }
    return 1;
}
