#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "config/config_settings.h"

namespace {

TEST(ConfigSettings, DefaultsAreThoseOfEveryStart)
{
    const ConfigSettings s;
    EXPECT_EQ(s.callsign, "NOCALL");
    EXPECT_EQ(s.ssid, 9u);
    EXPECT_EQ(s.symbol, ">/");
    EXPECT_EQ(s.txDelay, txDelayRange.defaultValue);
    EXPECT_EQ(s.digiHops, digiHopsRange.defaultValue);
    EXPECT_EQ(s.pathType, Compressed);
    EXPECT_EQ(s.path, "COMPRESSED");
    EXPECT_EQ(s.driveInterval, driveIntervalRange.defaultValue);
    EXPECT_EQ(s.driveSpeed, driveSpeedRange.defaultValue);
    EXPECT_EQ(s.idleFactor, idleFactorRange.defaultValue);
    EXPECT_EQ(s.comment, "");
    EXPECT_EQ(s.framesWithoutText, framesWithoutTextRange.defaultValue);
    // Interval while not driving: 30 s x 12.
    EXPECT_EQ(s.driveInterval * s.idleFactor, 360);
}

TEST(PathType, ListRowsInCodeOrder)
{
    const char* names[kPathTypeCount] = {"compressed", "WIDEn-n", "TRACEn-n", "RELAY"};
    for (int code = 0; code < kPathTypeCount; ++code) {
        EXPECT_STREQ(pathTypeTable[code].name, names[code]);
        EXPECT_EQ(pathTypeTable[code].code, code);
        // The names fit the list's 12-character field with its terminator.
        EXPECT_LT(std::string(pathTypeTable[code].name).size(), 12u);
    }
}

TEST(PathType, PathTextAndMinimumDriveInterval)
{
    struct Row {
        PathType type;
        int digiHops;
        const char* pathText;
        int minimum;
    };
    const Row rows[] = {
        {Compressed, 1, "COMPRESSED", 5}, {Compressed, 3, "COMPRESSED", 5},
        {WideNN, 1, "WIDE1-1", 20},       {WideNN, 2, "WIDE2-2", 40},
        {WideNN, 3, "WIDE3-3", 60},       {TraceNN, 1, "TRACE1-1", 20},
        {TraceNN, 2, "TRACE2-2", 40},     {TraceNN, 3, "TRACE3-3", 60},
        {Relay, 1, "RELAY", 20},          {Relay, 3, "RELAY", 20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pathText);
        EXPECT_EQ(pathTextFor(row.type, row.digiHops), row.pathText);
        EXPECT_EQ(minimumDriveInterval(row.type, row.digiHops), row.minimum);
    }
    EXPECT_EQ(minimumDriveInterval(Compressed, 2), driveIntervalRange.minimum);
}

TEST(PathType, HopCountsOutsideTheTrackbarDoNotOverflow)
{
    EXPECT_EQ(minimumDriveInterval(WideNN, INT_MAX), 60);
    EXPECT_EQ(minimumDriveInterval(TraceNN, INT_MIN), 20);
}

TEST(DriveSpeed, KmhToWholeMph)
{
    const int table[][2] = {{1, 1}, {2, 1}, {3, 2}, {10, 6}, {50, 31}, {100, 62},
                            // outside the trackbar's range: held to its ends
                            {0, 1}, {-5, 1}, {101, 62}, {INT_MAX, 62}, {INT_MIN, 1}};
    for (const auto& row : table)
        EXPECT_EQ(driveSpeedMph(row[0]), row[1]) << row[0] << " km/h";
}

TEST(DriveInterval, MinimumRaisesButNeverLowers)
{
    struct Row {
        int interval, minimum, lowerBound, result;
    };
    const Row rows[] = {
        {30, 60, 60, 60}, // WIDE3-3
        {30, 20, 20, 30}, // TRACE1-1
        {60, 5, 5, 60},   // back to compressed: only the bound goes down
        {40, 40, 40, 40}, {5, 5, 5, 5}, {254, 60, 60, 254},
    };
    for (const Row& row : rows) {
        const DriveIntervalBounds b = applyMinimumDriveInterval(row.interval, row.minimum);
        EXPECT_EQ(b.lowerBound, row.lowerBound);
        EXPECT_EQ(b.driveInterval, row.result);
    }
}

TEST(PathType, CompressedPathTexts)
{
    struct Row {
        std::string text;
        bool compressed;
    };
    const Row rows[] = {
        {"", true},
        {"COMPRESSED", true},
        {"WIDE1-1,COMPRESSED", true},
        {"XCOMPRESSEDX", true},
        {"compressed", false}, // the field holds upper case; the check compares upper case only
        {"COMPRESSE", false},
        {"WIDE2-2", false},
        {std::string("\0COMPRESSED", 11), true},     // ends at once: empty
        {std::string("WIDE\0COMPRESSED", 15), false}, // "COMPRESSED" lies past the end
    };
    for (const Row& row : rows)
        EXPECT_EQ(isCompressedPath(row.text), row.compressed) << '"' << row.text << '"';
}

} // namespace
