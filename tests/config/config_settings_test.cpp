#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "config_settings.h"

namespace {

TEST(PathType, PathTextAndMinimumDriveInterval)
{
    const struct {
        PathType type;
        int digiHops;
        const char* pathText;
        int minimum;
    } rows[] = {
        {Compressed, 3, "COMPRESSED", 5}, {WideNN, 1, "WIDE1-1", 20},  {WideNN, 3, "WIDE3-3", 60},
        {TraceNN, 1, "TRACE1-1", 20},     {TraceNN, 2, "TRACE2-2", 40}, {Relay, 3, "RELAY", 20},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(pathTextFor(row.type, row.digiHops), row.pathText);
        EXPECT_EQ(minimumDriveInterval(row.type, row.digiHops), row.minimum) << row.pathText;
    }
    // Hop counts no trackbar holds must not overflow 20 * hops.
    EXPECT_EQ(minimumDriveInterval(WideNN, INT_MAX), 60);
    EXPECT_EQ(minimumDriveInterval(TraceNN, INT_MIN), 20);
}

TEST(DriveSpeed, KmhToWholeMph)
{
    const int table[][2] = {{1, 1}, {2, 1}, {3, 2}, {10, 6}, {50, 31}, {100, 62}, {0, 1}, {INT_MAX, 62}, {INT_MIN, 1}};
    for (const auto& row : table)
        EXPECT_EQ(driveSpeedMph(row[0]), row[1]) << row[0] << " km/h";
}

TEST(DriveInterval, MinimumRaisesButNeverLowers)
{
    const int rows[][4] = {{30, 60, 60, 60}, {30, 20, 20, 30}, {60, 5, 5, 60}}; // interval, minimum: bound, interval
    for (const auto& row : rows) {
        const DriveIntervalBounds b = applyMinimumDriveInterval(row[0], row[1]);
        EXPECT_EQ(b.lowerBound, row[2]);
        EXPECT_EQ(b.driveInterval, row[3]);
    }
}

} // namespace
