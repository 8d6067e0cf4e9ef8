#pragma once
// The headless chooser takes its presses from a queue filled by tests.

#include <utility>
#include <vector>

void queueHeadlessChooserPresses(const std::vector<std::pair<int, int>>& presses);
// Choosers that ran out of presses before a pick (and ended as if never created).
int headlessChooserStarvedRuns();
void resetHeadlessChooser();
