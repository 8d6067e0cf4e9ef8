#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "config/eeprom_budget.h"

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
    struct Row {
        const char* what;
        ConfigSettings config0, config1;
        bool secondConfigEnabled;
        EepromBudget expected;
    };
    const Row rows[] = {
        {"defaults, second on", defaults, defaults, true, {53, 64, 21, 21, 32, 21}},
        {"defaults, second off", defaults, defaults, false, {53, 64, 21, 0, 32, 43}},
        {"WIDE2-2 and Test", withPathAndComment("WIDE2-2", "Test"), defaults, false, {53, 64, 32, 0, 21, 32}},
        {"two elements in 1", defaults, withPathAndComment("WIDE1-1,WIDE2-1", ""), true, {53, 64, 21, 35, 32, 7}},
    };
    for (const Row& row : rows) {
        const EepromBudget b = computeEepromBudget(Tiny13, row.config0, row.config1, row.secondConfigEnabled);
        SCOPED_TRACE(row.what);
        EXPECT_EQ(b.config0Capacity, row.expected.config0Capacity);
        EXPECT_EQ(b.eepromCapacity, row.expected.eepromCapacity);
        EXPECT_EQ(b.config0Used, row.expected.config0Used);
        EXPECT_EQ(b.config1Used, row.expected.config1Used);
        EXPECT_EQ(b.config0SpaceLeft, row.expected.config0SpaceLeft);
        EXPECT_EQ(b.eepromSpaceLeft, row.expected.eepromSpaceLeft);
    }
}

TEST(EepromBudget, BytesOfOneConfiguration)
{
    struct Row {
        std::string path, comment;
        int bytes;
    };
    const Row rows[] = {
        {"RELAY", "", 28},
        {"COMPRESSED", "", 21},
        {"", "", 21},
        {"WIDE1-1,COMPRESSED", "", 21},
        {"WIDE1-1,WIDE2-1,WIDE3-3,WIDE4-4", "", 49},
        {"COMPRESSED", std::string(32, 'x'), 53},
        {"COMPRESSED", std::string(300, 'x'), 21 + 127},
        {"COMPRESSED", std::string("ab\0cd", 5), 23},
        {std::string(300, 'A'), "", 28},
    };
    for (const Row& row : rows)
        EXPECT_EQ(configBytesUsed(withPathAndComment(row.path, row.comment)), row.bytes) << row.path;
}

TEST(EepromBudget, SwitchingTheSecondConfigurationOffGivesItsBytesAndTheMarkerBack)
{
    const ConfigSettings config0 = withPathAndComment("WIDE2-2", "");
    const ConfigSettings config1 = withPathAndComment("RELAY", "Hello");
    const EepromBudget on = computeEepromBudget(Tiny13, config0, config1, true);
    const EepromBudget off = computeEepromBudget(Tiny13, config0, config1, false);
    EXPECT_EQ(on.eepromCapacity, 64);
    EXPECT_EQ(off.config1Used, 0);
    EXPECT_EQ(off.eepromSpaceLeft - on.eepromSpaceLeft, on.config1Used + 1);
    EXPECT_EQ(on.config0SpaceLeft, off.config0SpaceLeft);
}

TEST(EepromBudget, WhatFits)
{
    const ConfigSettings defaults;
    // Second configuration off: four path elements fit in Config0, five do not.
    EXPECT_EQ(computeEepromBudget(Tiny13, withPathAndComment("A,B,C,D", ""), defaults, false).config0SpaceLeft, 4);
    EXPECT_LT(computeEepromBudget(Tiny13, withPathAndComment("A,B,C,D,E", ""), defaults, false).config0SpaceLeft, 0);
    EXPECT_EQ(computeEepromBudget(Tiny13, withPathAndComment("", std::string(32, 'c')), defaults, false)
                  .config0SpaceLeft,
              0);
    // Second configuration on, the other at defaults: three elements or 21 comment characters.
    EXPECT_EQ(computeEepromBudget(Tiny13, defaults, withPathAndComment("A,B,C", ""), true).eepromSpaceLeft, 0);
    EXPECT_EQ(computeEepromBudget(Tiny13, withPathAndComment("", std::string(21, 'c')), defaults, true)
                  .eepromSpaceLeft,
              0);
    EXPECT_EQ(computeEepromBudget(Tiny13, withPathAndComment("", std::string(22, 'c')), defaults, true)
                  .eepromSpaceLeft,
              -1);
}

TEST(EepromBudget, OtherTargetsHaveNoRoom)
{
    const ConfigSettings defaults;
    for (const TargetChip target : {Tiny2313, Mega8}) {
        const EepromBudget b = computeEepromBudget(target, defaults, defaults, true);
        EXPECT_EQ(b.config0Capacity, 0);
        EXPECT_EQ(b.eepromCapacity, 0);
        EXPECT_EQ(b.config0SpaceLeft, -21);
        EXPECT_EQ(b.eepromSpaceLeft, -43);
    }
}

TEST(EepromBudget, AllowedTextLength)
{
    const int table[][3] = {
        {10, 5, 15}, {10, -3, 7}, {10, -12, 0}, {10, -10, 0}, {0, 0, 0}, {0, 32, 32},
        {INT_MAX, INT_MAX, INT_MAX}, {0, INT_MIN, 0}, {INT_MIN, INT_MIN, 0},
    };
    for (const auto& row : table)
        EXPECT_EQ(allowedTextLength(row[0], row[1]), row[2]) << row[0] << " + " << row[1];
}

} // namespace
