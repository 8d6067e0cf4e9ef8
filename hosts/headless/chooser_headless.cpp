#include "chooser_headless.h"

#include <deque>

#include "symbol_chooser.h"
#include "symbol_grid.h"
#include "dialog_headless.h"

namespace {
std::deque<std::pair<int, int>> pendingPresses;
int starvedRuns = 0;
}

void queueHeadlessChooserPresses(const std::vector<std::pair<int, int>>& presses)
{
    pendingPresses.insert(pendingPresses.end(), presses.begin(), presses.end());
}

int headlessChooserStarvedRuns()
{
    return starvedRuns;
}

void resetHeadlessChooser()
{
    pendingPresses.clear();
    starvedRuns = 0;
}

void runSymbolChooser(Dialog* mainDialog)
{
    // The chooser takes the focus, and it is not handed back to the edit.
    headlessFocusDialog(mainDialog);
    while (!pendingPresses.empty()) {
        const std::pair<int, int> press = pendingPresses.front();
        pendingPresses.pop_front();
        if (symbolChooserPress(dialogState(mainDialog).pick, press.first, press.second))
            return;
    }
    ++starvedRuns;
}
