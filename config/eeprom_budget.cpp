#include "eeprom_budget.h"

#include <algorithm>
#include <climits>

#include "config_text.h"
#include "path_encoder.h"

namespace {

// The 20 fixed values of a record and the 0 that ends its comment.
constexpr int kFixedBytes = 21;
constexpr int kBytesPerElement = 7;

} // namespace

int configBytesUsed(const ConfigSettings& settings)
{
    const int elements = static_cast<int>(encodedPathElements(settings.path).size() / kPathElementChars);
    const int comment = static_cast<int>(textPortion(settings.comment, kCommentChars).size());
    return kFixedBytes + kBytesPerElement * elements + comment;
}

EepromBudget computeEepromBudget(TargetChip target, const ConfigSettings& config0,
                                 const ConfigSettings& config1, bool secondConfigEnabled)
{
    EepromBudget budget{};
    if (target == Tiny13) {
        budget.config0Capacity = 53;
        budget.eepromCapacity = 64;
    }
    budget.config0Used = configBytesUsed(config0);
    // The end marker 255 after configuration 0 takes one byte while configuration 1 follows.
    int usable = budget.eepromCapacity;
    if (secondConfigEnabled) {
        usable -= 1;
        budget.config1Used = configBytesUsed(config1);
    }
    budget.config0SpaceLeft = budget.config0Capacity - budget.config0Used;
    budget.eepromSpaceLeft = usable - budget.config1Used - budget.config0Used;
    return budget;
}

int allowedTextLength(int presentLength, int spaceLeft)
{
    const long long allowed = static_cast<long long>(presentLength) + spaceLeft;
    return static_cast<int>(std::clamp<long long>(allowed, 0, INT_MAX));
}
