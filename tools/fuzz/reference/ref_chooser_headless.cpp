// Frozen copy of hosts/headless/chooser_headless.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_chooser_headless.h"

#include <deque>

#include "ref_symbol_chooser.h"
#include "ref_dialog_headless.h"

namespace reference {

namespace {

// A press at x, y, or a key.
struct ChooserInput {
    int x, y;
    bool isKey;
    ChooserKey key;
};

std::deque<ChooserInput> pendingInput;
int starvedRuns = 0;

} // namespace

void queueHeadlessChooserPresses(const std::vector<std::pair<int, int>>& presses)
{
    for (const auto& press : presses)
        pendingInput.push_back({press.first, press.second, false, ChooserPick});
}

void queueHeadlessChooserKeys(const std::vector<ChooserKey>& keys)
{
    for (ChooserKey key : keys)
        pendingInput.push_back({0, 0, true, key});
}

int headlessChooserStarvedRuns()
{
    return starvedRuns;
}

void resetHeadlessChooser()
{
    pendingInput.clear();
    starvedRuns = 0;
}

int runSymbolChooser(Dialog* mainDialog)
{
    // The chooser takes the focus, and it is not handed back to the edit.
    headlessFocusDialog(mainDialog);
    SymbolPick& pick = dialogState(mainDialog).pick;
    while (!pendingInput.empty()) {
        const ChooserInput input = pendingInput.front();
        pendingInput.pop_front();
        if (input.isKey ? symbolChooserKey(pick, input.key) : symbolChooserPress(pick, input.x, input.y))
            return 1;
    }
    ++starvedRuns;
    return 1;
}

} // namespace reference
