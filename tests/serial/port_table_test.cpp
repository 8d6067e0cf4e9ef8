// The arithmetic that both backends share.
#include "port_table.h"

#include <gtest/gtest.h>

#include <climits>

TEST(PortTable, DeviceNamesFollowTheComTemplate)
{
    EXPECT_EQ(deviceNameFor(0), "\\\\.\\COM1");
    EXPECT_EQ(deviceNameFor(8), "\\\\.\\COM9");
    EXPECT_EQ(deviceNameFor(10), "");
    EXPECT_EQ(deviceNameFor(UINT_MAX), "");
}

TEST(LineSettings, FlagWordByteSizeAndCodes)
{
    const struct {
        int parityIndex, stopBitsIndex, dataBits;
        std::uint32_t flags;
        int byteSize, parity, stopBits;
    } cases[] = {
        {0, 1, 8, 0x1011, 8, 0, 0},  {1, 1, 8, 0x1013, 8, 2, 0},  {2, 1, 8, 0x1013, 8, 1, 0}, // none, even, odd
        {3, 1, 8, 0x1013, 8, 4, 0},  {0, 0, 8, 0x1011, 8, 0, 3},  {0, 2, 8, 0x1011, 8, 0, 1}, // space; stop bits
        {0, 3, 8, 0x1011, 8, 0, 2},  {0, 1, 7, 0x1011, 7, 0, 0},  {0, 1, 0, 0x1011, 7, 0, 0}, // 7 and 0: 7 bits
        {0, 1, 5, 0x1011, 8, 0, 0},  {0, 1, -1, 0x1011, 8, 0, 0},                            // else 8
        // Indices outside the tables give -1, never a read past them.
        {4, 1, 8, 0x1013, 8, -1, 0}, {-1, 1, 8, 0x1013, 8, -1, 0}, {0, 4, 8, 0x1011, 8, 0, -1},
        {0, -1, 8, 0x1011, 8, 0, -1},
    };
    for (const auto& c : cases) {
        const LineSettings line = lineSettingsFor(4800, c.parityIndex, c.stopBitsIndex, c.dataBits);
        SCOPED_TRACE(testing::Message() << "parity " << c.parityIndex << ", stop bits " << c.stopBitsIndex
                                        << ", data bits " << c.dataBits);
        EXPECT_EQ(line.baud, 4800u);
        EXPECT_EQ(line.flags, c.flags);
        EXPECT_EQ(line.byteSize, c.byteSize);
        EXPECT_EQ(line.parity, c.parity);
        EXPECT_EQ(line.stopBits, c.stopBits);
    }
}

TEST(WriteTimeouts, FromTwelveBitTimesRoundedDown)
{
    const struct {
        int baud;
        std::uint32_t multiplier, constant;
    } cases[] = {
        {1200, 11, 12}, {4800, 3, 4},  {9600, 2, 3},   {115200, 1, 2}, {1000, 13, 14},
        {12000, 2, 3},  {12001, 1, 2}, {0, 0, 0},      {-1, 0, 0},     {INT_MIN, 0, 0}, // no division by 0
    };
    for (const auto& c : cases) {
        const WriteTimeouts t = writeTimeoutsFor(c.baud);
        EXPECT_EQ(t.multiplier, c.multiplier) << c.baud << " Bd";
        EXPECT_EQ(t.constant, c.constant) << c.baud << " Bd";
    }
}
