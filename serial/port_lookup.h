#pragma once
// The port that a command line names, as a slot of the port table.

#include <string>

// "COM1" to "COM9" (any case) give slots 0 to 8 on every system. On POSIX a device
// path gives the slot that stands for it, or else slot 0 made to stand for it.
// 1 and the slot, or 0 for a name that no slot can take.
int findPortSlot(const std::string& port, unsigned& slot);

// Internal to the two backends: the slot of "COMn", or -1.
int comPortSlot(const std::string& port);
