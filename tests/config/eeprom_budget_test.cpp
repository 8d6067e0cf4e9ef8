#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "eeprom_budget.h"

namespace {

ConfigSettings withPathAndComment(const std::string& path, const std::string& comment)
{
    ConfigSettings s;
    s.path = path;
    s.comment = comment;
    return s;
}

TEST(EepromBudget, WorkedValuesOnTiny13)
{
    const ConfigSettings defaults;
    const struct {
        ConfigSettings config0, config1;
        bool secondConfigEnabled;
        std::vector<int> budget;
    } rows[] = {
        {defaults, defaults, true, {53, 64, 21, 21, 32, 21}},
        {defaults, defaults, false, {53, 64, 21, 0, 32, 43}},
        {withPathAndComment("WIDE2-2", "Test"), defaults, false, {53, 64, 32, 0, 21, 32}},
        {defaults, withPathAndComment("WIDE1-1,WIDE2-1", ""), true, {53, 64, 21, 35, 32, 7}},
    };
    for (const auto& row : rows) {
        const EepromBudget b = computeEepromBudget(Tiny13, row.config0, row.config1, row.secondConfigEnabled);
        EXPECT_EQ((std::vector<int>{b.config0Capacity, b.eepromCapacity, b.config0Used, b.config1Used,
                                    b.config0SpaceLeft, b.eepromSpaceLeft}),
                  row.budget);
    }
}

TEST(EepromBudget, AllowedTextLength)
{
    const int table[][3] = {{10, 5, 15}, {10, -3, 7}, {10, -12, 0}, {INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, 0}};
    for (const auto& row : table)
        EXPECT_EQ(allowedTextLength(row[0], row[1]), row[2]) << row[0] << " + " << row[1];
}

} // namespace
