// The random-action test as a libFuzzer target: the input chooses the actions
// (kind, control, text, position) on a fresh headless dialog; the checks after
// each action are those of the seeded test. Any broken check aborts with a message.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <fuzzer/FuzzedDataProvider.h>

#include "dialog_actions.h"

namespace {

// Told at the end of a run, beside libFuzzer's count of inputs.
struct ActionCount {
    unsigned long actions = 0;
    ~ActionCount() { std::fprintf(stderr, "stat::dialog_actions: %lu\n", actions); }
} actionCount;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    // One port and folder for the whole run; a new dialog for every input.
    static ActionRun run;
    static const bool started = startActionRun(run);
    if (!started)
        return 0;
    renewActionDialog(run);
    FuzzedDataProvider data(bytes, size);
    const ActionPicker pick = [&data](unsigned bound) { return data.ConsumeIntegralInRange<unsigned>(0, bound - 1); };
    const unsigned long before = run.actions;
    // An action takes at least one byte, so every input ends.
    while (data.remaining_bytes() > 0) {
        const std::string problem = runOneAction(run, pick);
        if (!problem.empty()) {
            std::fprintf(stderr, "dialog: %s\n", problem.c_str());
            std::abort();
        }
    }
    actionCount.actions += run.actions - before;
    return 0;
}
