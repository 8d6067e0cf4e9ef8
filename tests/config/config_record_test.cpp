#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "config_record.h"
#include "eeprom_budget.h"

// The worked records come from settings files through the command line (tests/app);
// here, what no field holds.
TEST(ConfigRecord, WholeRecords)
{
    const struct {
        void (*change)(ConfigSettings&);
        int configNumber;
        bool secondConfigEnabled;
        const char* record;
    } rows[] = {
        // Every number above its range, long texts, path SSIDs of 22, -5 and " 5".
        {[](ConfigSettings& s) {
             s.callsign = "ABCDEFGH"; s.ssid = UINT_MAX; s.symbol = "\xFF"; s.comment = "a,\xFF";
             s.path = "WIDE2-22,RELAY,WIDE2--5,A- 5";
             s.driveInterval = s.txDelay = 1000; s.digiHops = s.driveSpeed = INT_MAX;
             s.idleFactor = 100; s.framesWithoutText = 300;
         },
         1, false,
         "$#Pe1254,102,130,132,134,136,138,140,126,174,146,136,138,100,64,30,164,138,152,130,178,64,0,174,146,136,"
         "138,100,64,0,130,64,64,64,64,64,11,3,240,96,0,62,99,255,0,0,97,44,255,0,50,75 "},
        // Every number below its range, texts cut at a NUL, an SSID of 16.
        {[](ConfigSettings& s) {
             s.callsign = std::string("\xC1\0CD", 4); s.ssid = 16; s.symbol = s.path = "";
             s.comment = std::string("Hi\0there", 8);
             s.driveInterval = s.framesWithoutText = -1; s.txDelay = 0;
             s.digiHops = s.driveSpeed = s.idleFactor = INT_MIN;
         },
         0, false, "$#Pe05,98,130,64,64,64,64,64,127,3,240,96,0,1,0,0,0,0,72,105,0,0,6 "},
    };
    for (const auto& row : rows) {
        ConfigSettings s;
        row.change(s);
        EXPECT_EQ(buildConfigRecord(s, row.configNumber, row.secondConfigEnabled), row.record);
    }
}

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
