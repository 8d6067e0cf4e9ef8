#include <algorithm>

#include <gtest/gtest.h>

#include "chooser_headless.h"
#include "dialog_headless.h"
#include "host_driver.h"
#include "main_dialog.h"

Dialog* openMainDialogForTest(const PortFinder& findPorts)
{
    resetHeadlessChooser();
    return createHeadlessDialog(findPorts);
}

void closeMainDialogForTest(Dialog* dialog)
{
    EXPECT_EQ(headlessChooserStarvedRuns(), 0) << "a symbol chooser ran out of presses";
    destroyHeadlessDialog(dialog);
}

void userType(Dialog* dialog, int id, const std::string& characters) { headlessType(dialog, id, characters); }
void userBackspace(Dialog* dialog, int id, int count) { headlessBackspace(dialog, id, count); }
void userPaste(Dialog* dialog, int id, const std::u16string& text) { headlessPaste(dialog, id, ansiFromUtf16(text)); }
std::u16string shownText(Dialog* dialog, int id) { return utf16FromAnsi(getItemText(dialog, id, 30000)); }
void userFocus(Dialog* dialog, int id) { headlessSetFocus(dialog, id); }
unsigned textLimitOf(Dialog* dialog, int id) { return headlessTextLimit(dialog, id); }
int focusedControl(Dialog* dialog) { return headlessFocusedId(dialog); }
int textCutOff(Dialog*, int, const std::string&) { return 0; }
bool shownAsItIs(Dialog*, int) { return true; }

// A greyed-out control takes no user action, as on the real hosts.
void userDragTrackbar(Dialog* dialog, int id, int position)
{
    if (isItemEnabled(dialog, id)) {
        setTrackbarPos(dialog, id, position);
        handleHScroll(dialog);
    }
}

void userChooseComboRow(Dialog* dialog, int id, int row)
{
    if (!isItemEnabled(dialog, id))
        return;
    handleCommand(dialog, id, NotifyDropDown);
    if (row >= 0) {
        setComboSelection(dialog, id, row);
        handleCommand(dialog, id, NotifySelChange);
    }
}

void userClick(Dialog* dialog, int id)
{
    if (isItemEnabled(dialog, id))
        handleCommand(dialog, id, NotifyClicked);
}

void queueChooserPresses(const std::vector<std::pair<int, int>>& presses)
{
    for (const auto& [x, y] : presses) // a key: an arrow, Enter or Space to pick, Escape
        if (x == kChooserKey)
            queueHeadlessChooserKeys({y == KeyEscape ? ChooserCancel : ChooserKey(std::min(y - KeyLeft, +ChooserPick))});
        else
            queueHeadlessChooserPresses({{x, y}});
}

void userKeys(Dialog* dialog, const std::vector<UserKey>& keys)
{
    for (UserKey key : keys) {
        if (key <= KeyShiftTab)
            headlessTab(dialog, key == KeyShiftTab);
        else if (key <= KeyEnd)
            headlessTrackbarKey(dialog, static_cast<TrackbarKey>(key - KeyLeft));
        else if (key != KeyEscape)
            headlessPressFocusedButton(dialog);
    }
}
