#include "programming.h"

#include <cstdio>
#include <string>

#include "config/config_record.h"
#include "port_table.h"
#include "ui/control_ids.h"
#include "ui/main_dialog.h"
#include "ui/prompts.h"

namespace {

constexpr const char* kCaption = "KorvelConfig";
constexpr const char* kWarning =
    "please make sure that gps-receiver is disconnected from Tracker,\n"
    "otherwise to much power is consumed and/or serial interface will be disturbed.";
constexpr unsigned kPauseMs = 500;

// A message box of a run does not disable the dialog; a press meanwhile must not
// start a second run inside the first.
bool runOpen = false;

long selectedItemData(Dialog* dialog, int comboId)
{
    const int row = getComboSelection(dialog, comboId);
    return row < 0 ? -1 : getComboRowData(dialog, comboId, row);
}

// The station SSID is one AX.25 SSID: 0 to 15. Refuse rather than send something else.
bool ssidsAreValid(Dialog* dialog)
{
    const int ids[2] = {IdSsid0, IdSsid1};
    const int configs = secondConfigEnabled ? 2 : 1;
    for (int n = 0; n < configs; ++n) {
        if (getItemUnsigned(dialog, ids[n]) > kMaxSsid) {
            char text[128];
            std::snprintf(text, sizeof text, "SSID of Config %d must be a number from 0 to 15.", n);
            showMessage(text, kCaption);
            return false;
        }
    }
    return true;
}

bool writeRecord(unsigned slot, const std::string& record)
{
    const auto length = static_cast<std::uint32_t>(record.size());
    return writePort(slot, record.data(), length) == length;
}

void runProgramming(Dialog* dialog)
{
    showMessage(kWarning, kCaption);

    // Read after the warning: a selection changed meanwhile counts.
    const long slotData = selectedItemData(dialog, IdPort);
    const long baudRow = selectedItemData(dialog, IdBaud);
    const unsigned slot = static_cast<unsigned>(slotData);
    // A baud list without a valid row is a port that cannot be opened.
    const bool baudKnown = baudRow >= 0 && baudRow < kBaudRowCount;
    const int opened = baudKnown ? openPort(slot, static_cast<int>(baudTable[baudRow].rate), 0, 1, 8) : 0;
    if (opened != 1) {
        showMessage("cannot open selected COM-Port!", kCaption);
        closePort(slot);
        return;
    }

    pauseMilliseconds(kPauseMs);
    setItemText(dialog, IdStatus, "writing cfgString0 ...");
    const std::string cfgString0 = buildConfigRecord(readConfig(dialog, 0), 0, secondConfigEnabled);
    setItemText(dialog, IdLog, cfgString0);

    if (!writeRecord(slot, cfgString0)) {
        showMessage("sending data (config0) to tracker failed.", kCaption);
    } else if (secondConfigEnabled) {
        setItemText(dialog, IdStatus, "writing cfgString1 ...");
        pauseMilliseconds(kPauseMs);
        const std::string cfgString1 = buildConfigRecord(readConfig(dialog, 1), 1, secondConfigEnabled);
        setItemText(dialog, IdLog, cfgString0 + "\n" + cfgString1);
        if (!writeRecord(slot, cfgString1))
            showMessage("sending data (config1) to tracker failed.", kCaption);
    }

    setItemText(dialog, IdStatus, "wait for tracker to burn EEprom ...");
    pauseMilliseconds(kPauseMs);
    closePort(slot);
    setItemText(dialog, IdStatus, "done.");
}

} // namespace

void programTracker(Dialog* dialog)
{
    if (runOpen)
        return;
    runOpen = true;
    if (ssidsAreValid(dialog))
        runProgramming(dialog);
    runOpen = false;
}
