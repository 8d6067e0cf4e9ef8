#include <climits>

#include <gtest/gtest.h>

#include "eeprom_budget.h"

// The dialog shows what the ordinary values give; these are the values no control
// holds, where the arithmetic must neither overflow nor leave its range.
TEST(ConfigArithmetic, ValuesNoControlHolds)
{
    EXPECT_EQ(minimumDriveInterval(WideNN, INT_MAX), 60);
    EXPECT_EQ(minimumDriveInterval(TraceNN, INT_MIN), 20);
    const int speeds[][2] = {{1, 1}, {2, 1}, {3, 2}, {50, 31}, {100, 62}, {0, 1}, {INT_MAX, 62}, {INT_MIN, 1}};
    for (const auto& kmh : speeds)
        EXPECT_EQ(driveSpeedMph(kmh[0]), kmh[1]) << kmh[0] << " km/h";
    const int room[][3] = {{10, 5, 15}, {10, -3, 7}, {10, -12, 0}, {INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, 0}};
    for (const auto& r : room)
        EXPECT_EQ(allowedTextLength(r[0], r[1]), r[2]) << r[0] << " + " << r[1];
}
