// The shared part of the port table: display lists, codes and the arithmetic
// that both backends apply.
#include "serial/port_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

TEST(PortTable, NamesComOneToNineAndAnEmptyTenthSlot)
{
    const char* expected[kPortSlotCount] = {"COM1", "COM2", "COM3", "COM4", "COM5",
                                            "COM6", "COM7", "COM8", "COM9", ""};
    for (unsigned slot = 0; slot < kPortSlotCount; ++slot)
        EXPECT_STREQ(portNameTable[slot], expected[slot]) << "slot " << slot;
}

TEST(PortTable, BaudRowsInDisplayOrder)
{
    const struct {
        const char* name;
        std::uint32_t rate;
    } expected[kBaudRowCount] = {
        {"1200 Bd", 1200},   {"2400 Bd", 2400},   {"4800 Bd", 4800},   {"9600 Bd", 9600},
        {"19200 Bd", 19200}, {"38400 Bd", 38400}, {"57600 Bd", 57600}, {"115200 Bd", 115200},
    };
    for (int row = 0; row < kBaudRowCount; ++row) {
        EXPECT_STREQ(baudTable[row].name, expected[row].name) << "row " << row;
        EXPECT_EQ(baudTable[row].rate, expected[row].rate) << "row " << row;
    }
}

TEST(PortTable, DeviceNamesFollowTheComTemplate)
{
    EXPECT_EQ(deviceNameFor(0), "\\\\.\\COM1");
    EXPECT_EQ(deviceNameFor(0).size(), 8u);
    EXPECT_EQ(deviceNameFor(4), "\\\\.\\COM5");
    EXPECT_EQ(deviceNameFor(8), "\\\\.\\COM9");
    EXPECT_EQ(deviceNameFor(9), "\\\\.\\COM:"); // names no port
    EXPECT_EQ(deviceNameFor(10), "");
    EXPECT_EQ(deviceNameFor(UINT_MAX), "");
}

TEST(PortTable, EveryComSlotStandsForADeviceAndSlotNineForNone)
{
    for (unsigned slot = 0; slot < kUsablePortSlots; ++slot)
        EXPECT_STRNE(portDevicePath(slot), "") << "slot " << slot;
    EXPECT_STREQ(portDevicePath(9), "");
    EXPECT_STREQ(portDevicePath(10), "");
    EXPECT_STREQ(portDevicePath(UINT_MAX), "");
}

TEST(LineSettings, FlagWordByteSizeAndCodes)
{
    const struct {
        int parityIndex, stopBitsIndex, dataBits;
        std::uint32_t flags;
        int byteSize, parity, stopBits;
    } cases[] = {
        // The programming run's line: 8N1.
        {0, 1, 8, 0x1011, 8, 0, 0},
        {1, 1, 8, 0x1013, 8, 2, 0}, // even
        {2, 1, 8, 0x1013, 8, 1, 0}, // odd
        {3, 1, 8, 0x1013, 8, 4, 0}, // space
        {0, 2, 8, 0x1011, 8, 0, 1}, // 1.5 stop bits
        {0, 3, 8, 0x1011, 8, 0, 2}, // 2 stop bits
        {0, 0, 8, 0x1011, 8, 0, 3}, // index 0: no defined stop-bit setting
        // 7 and 0 give 7-bit bytes; anything else 8.
        {0, 1, 7, 0x1011, 7, 0, 0},
        {0, 1, 0, 0x1011, 7, 0, 0},
        {0, 1, 5, 0x1011, 8, 0, 0},
        {0, 1, 6, 0x1011, 8, 0, 0},
        {0, 1, 9, 0x1011, 8, 0, 0},
        {0, 1, -1, 0x1011, 8, 0, 0},
        // Indices outside the tables give -1, never a read past them.
        {4, 1, 8, 0x1013, 8, -1, 0},
        {-1, 1, 8, 0x1013, 8, -1, 0},
        {0, 4, 8, 0x1011, 8, 0, -1},
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
        {1200, 11, 12}, {2400, 6, 7},   {4800, 3, 4},   {9600, 2, 3},
        {19200, 1, 2},  {38400, 1, 2},  {57600, 1, 2},  {115200, 1, 2},
        {1000, 13, 14}, {12000, 2, 3},  {12001, 1, 2},  {1, 12001, 12002},
    };
    for (const auto& c : cases) {
        const WriteTimeouts t = writeTimeoutsFor(c.baud);
        EXPECT_EQ(t.multiplier, c.multiplier) << c.baud << " Bd";
        EXPECT_EQ(t.constant, c.constant) << c.baud << " Bd";
    }
    // 100 bytes at 4800 Bd may take 304 ms.
    const WriteTimeouts at4800 = writeTimeoutsFor(4800);
    EXPECT_EQ(at4800.multiplier * 100 + at4800.constant, 304u);
}

TEST(WriteTimeouts, NoDivisionForARateOfZeroOrLess)
{
    for (int baud : {0, -1, INT_MIN}) {
        const WriteTimeouts t = writeTimeoutsFor(baud);
        EXPECT_EQ(t.multiplier, 0u) << baud;
        EXPECT_EQ(t.constant, 0u) << baud;
    }
}

TEST(WriteTimeouts, EachByteOfElevenBitsFitsItsShare)
{
    // Start bit, 8 data bits, parity and a stop bit: the worst line of the run.
    for (const BaudRow& row : baudTable) {
        const double byteMilliseconds = 11 * 1000.0 / row.rate;
        EXPECT_GT(writeTimeoutsFor(static_cast<int>(row.rate)).multiplier, byteMilliseconds) << row.name;
    }
}
