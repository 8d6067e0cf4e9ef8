#include "settings_io.h"

#include "main_dialog.h"
#include "messages.h"
#include "prompts.h"
#include "settings_storage.h"

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
    std::string text;
    std::string why;
    if (!settingsFileOf(dialogState(dialog).setup, text, why)) {
        showMessage(why.c_str(), kCaption);
        return 0;
    }
    if (!writeFileAtomically(path, text, why)) {
        showMessage(("cannot save " + path + ": " + why).c_str(), kCaption);
        return 0;
    }
    return 1;
}
