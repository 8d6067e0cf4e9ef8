// Random user actions on the headless dialog, each checked as in the seeded test:
// how many per second, and what they did; then what one keystroke in a comment
// costs (handler, model, write-back), unchecked.
// Usage: dialog_actions_bench [ACTIONS [SEED]]   (default 100000 actions, seed 1)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "control_ids.h"
#include "dialog_actions.h"
#include "dialog_headless.h"

int main(int argc, char** argv)
{
    const unsigned long actions = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    const unsigned long seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
    std::mt19937 generator(static_cast<std::mt19937::result_type>(seed));
    const ActionPicker pick = [&generator](unsigned bound) { return static_cast<unsigned>(generator() % bound); };

    ActionRun run;
    if (!startActionRun(run)) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    std::string problem;
    while (run.actions < actions && problem.empty())
        problem = runOneAction(run, pick);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    endActionRun(run);

    std::printf("%lu actions (seed %lu) in %.2f s: %.0f actions/s\n", run.actions, seed, seconds,
                static_cast<double>(run.actions) / seconds);
    std::printf("%lu messages, %lu presses (%lu sent records, %lu SSID and %lu EEPROM refusals), %lu files opened, "
                "%lu actions in message boxes, %lu closes, %lu choosers without a pick, deepest handler nesting %d\n",
                run.messages, run.presses, run.recordsSent, run.ssidRefusals, run.budgetRefusals, run.filesOpened,
                run.actionsInMessageBoxes, run.closes, run.starvedChoosers, run.deepestHandlerDepth);

    // A character typed and taken back again, beside a path of two elements.
    Dialog* dialog = createHeadlessDialog();
    setItemText(dialog, IdPath0, "WIDE1-1,WIDE2-1");
    headlessSetFocus(dialog, IdComment0);
    const int keystrokes = 200000;
    const auto typing = std::chrono::steady_clock::now();
    for (int k = 0; k < keystrokes / 2; ++k) {
        headlessType(dialog, IdComment0, "x");
        headlessBackspace(dialog, IdComment0, 1);
    }
    const double perKey = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - typing).count() /
                          keystrokes;
    destroyHeadlessDialog(dialog);
    std::printf("a keystroke in comment 0: %.2f us (%d keystrokes)\n", perKey, keystrokes);
    if (!problem.empty()) {
        std::printf("found: %s\n", problem.c_str());
        return 1;
    }
    std::printf("found nothing\n");
    return 0;
}
