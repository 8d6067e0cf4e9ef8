// Frozen copy of hosts/headless/chooser_headless.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// The headless chooser takes its presses and keys from a queue filled by tests.

#include <utility>
#include <vector>

#include "ref_symbol_grid.h"

namespace reference {

void queueHeadlessChooserPresses(const std::vector<std::pair<int, int>>& presses);
void queueHeadlessChooserKeys(const std::vector<ChooserKey>& keys);
// Choosers that ran out of presses before a pick (and ended as if never created).
int headlessChooserStarvedRuns();
void resetHeadlessChooser();

} // namespace reference
