#include <cstring>

#include <gtest/gtest.h>

#include "host_driver.h"
#include "symbols/chooser_headless.h"
#include "symbols/symbol_grid.h"
#include "ui/dialog_headless.h"
#include "ui/main_dialog.h"
#include "ui/prompts_recorder.h"

Dialog* openMainDialogForTest()
{
    pickArmed = false;
    std::memset(chosenSymbol, 0, sizeof chosenSymbol);
    resetHeadlessChooser();
    clearRecordedPrompts();
    setMessageHook({});
    setPauseHook({});
    return createHeadlessDialog();
}

void closeMainDialogForTest(Dialog* dialog)
{
    EXPECT_EQ(headlessChooserStarvedRuns(), 0) << "a symbol chooser ran out of presses";
    destroyHeadlessDialog(dialog);
}

void userType(Dialog* dialog, int id, const std::string& characters)
{
    headlessType(dialog, id, characters);
}

void userBackspace(Dialog* dialog, int id, int count)
{
    headlessBackspace(dialog, id, count);
}

// A greyed-out control takes no user action, as on the real hosts.
void userDragTrackbar(Dialog* dialog, int id, int position)
{
    if (!isItemEnabled(dialog, id))
        return;
    setTrackbarPos(dialog, id, position);
    handleHScroll(dialog);
}

void userChooseComboRow(Dialog* dialog, int id, int row)
{
    if (!isItemEnabled(dialog, id))
        return;
    setComboSelection(dialog, id, row);
    handleCommand(dialog, id, NotifySelChange);
}

void userClick(Dialog* dialog, int id)
{
    if (isItemEnabled(dialog, id))
        handleCommand(dialog, id, NotifyClicked);
}

void userFocus(Dialog* dialog, int id)
{
    headlessSetFocus(dialog, id);
}

void queueChooserPresses(const std::vector<std::pair<int, int>>& presses)
{
    queueHeadlessChooserPresses(presses);
}

unsigned textLimitOf(Dialog* dialog, int id)
{
    return headlessTextLimit(dialog, id);
}
