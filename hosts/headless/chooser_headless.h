#pragma once
// The headless chooser takes its presses and keys from a queue filled by tests.

#include <utility>
#include <vector>

#include "symbol_grid.h"

void queueHeadlessChooserPresses(const std::vector<std::pair<int, int>>& presses);
void queueHeadlessChooserKeys(const std::vector<ChooserKey>& keys);
// Choosers that ran out of presses before a pick (and ended as if never created).
int headlessChooserStarvedRuns();
void resetHeadlessChooser();
