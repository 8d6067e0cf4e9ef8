#pragma once
// How much of the tracker's EEPROM two configurations take.

#include <string>

#include "config_settings.h"

enum TargetChip { Tiny13, Tiny2313, Mega8 };

struct EepromBudget {
    int config0Capacity;
    int eepromCapacity;
    int config0Used;
    int config1Used;
    int config0SpaceLeft;
    int eepromSpaceLeft;
};

// Bytes one configuration takes: the values of its record without the end marker 255.
int configBytesUsed(const ConfigSettings& settings);

EepromBudget computeEepromBudget(TargetChip target, const ConfigSettings& config0,
                                 const ConfigSettings& config1, bool secondConfigEnabled);

// The text limit for a field of presentLength characters with spaceLeft bytes to
// spare; never below 0.
int allowedTextLength(int presentLength, int spaceLeft);
