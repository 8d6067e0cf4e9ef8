// The arithmetic and the port list's texts that both backends share.
#include "port_list.h"

#include <gtest/gtest.h>

#include <climits>

TEST(PortList, DevicePathsRowsAndLookUp)
{
    EXPECT_EQ(comDevicePath(1) + comDevicePath(255), "\\\\.\\COM1\\\\.\\COM255");
    EXPECT_EQ(comDevicePath(0) + comDevicePath(256), "");
    const std::vector<PortEntry> ports = {
        {"COM3", "\\\\.\\COM3", "", "", true, {}},
        {"ttyUSB0", "/dev/ttyUSB0", "FT232R USB UART", "/dev/serial/by-id/usb-FTDI", true, {}},
        {"ttyS0", "/dev/ttyS0", "", "", false, {PortNoPermission, 13, "Permission denied"}},
        {"ttyACM0", "/dev/ttyACM0", "Pico", "", false, {PortSystemError, 5, "Input/output error"}},
    };
    const char* const rows[] = {"COM3", "ttyUSB0 - FT232R USB UART", "ttyS0 (no permission)",
                                "ttyACM0 - Pico (Input/output error)"};
    for (std::size_t i = 0; i < ports.size(); ++i)
        EXPECT_EQ(portRowText(ports[i]), rows[i]);
    EXPECT_EQ(findPort(ports, "com3"), &ports[0]);
    EXPECT_EQ(findPort(ports, "/dev/ttyS0"), &ports[2]);
    EXPECT_EQ(findPort(ports, "/dev/serial/by-id/usb-FTDI"), &ports[1]);
    EXPECT_TRUE(!findPort(ports, "ttyS") && !findPort(ports, ""));
}

TEST(PortTable, LineSettingsAndWriteTimeouts)
{
    const struct {
        int parityIndex, stopBitsIndex, dataBits;
        std::uint32_t flags;
        int byteSize, parity, stopBits;
    } lines[] = {
        {0, 1, 8, 0x1011, 8, 0, 0},  {1, 1, 8, 0x1013, 8, 2, 0},  {2, 1, 8, 0x1013, 8, 1, 0}, // none, even, odd
        {3, 1, 8, 0x1013, 8, 4, 0},  {0, 0, 8, 0x1011, 8, 0, 3},  {0, 2, 8, 0x1011, 8, 0, 1}, // space; stop bits
        {0, 3, 8, 0x1011, 8, 0, 2},  {0, 1, 7, 0x1011, 7, 0, 0},  {0, 1, 0, 0x1011, 7, 0, 0}, // 7 and 0: 7 bits
        {0, 1, 5, 0x1011, 8, 0, 0},  {0, 1, -1, 0x1011, 8, 0, 0},                            // else 8
        // Indices outside the tables give -1, never a read past them.
        {4, 1, 8, 0x1013, 8, -1, 0}, {-1, 1, 8, 0x1013, 8, -1, 0}, {0, 4, 8, 0x1011, 8, 0, -1},
        {0, -1, 8, 0x1011, 8, 0, -1},
    };
    for (const auto& l : lines) {
        const LineSettings line = lineSettingsFor(4800, l.parityIndex, l.stopBitsIndex, l.dataBits);
        EXPECT_EQ((std::vector<long long>{line.baud, line.flags, line.byteSize, line.parity, line.stopBits}),
                  (std::vector<long long>{4800, l.flags, l.byteSize, l.parity, l.stopBits}))
            << "parity " << l.parityIndex << ", stop bits " << l.stopBitsIndex << ", data bits " << l.dataBits;
    }
    // From twelve bit times, rounded down; no division by 0.
    const int timeouts[][3] = {{1200, 11, 12}, {4800, 3, 4}, {9600, 2, 3}, {115200, 1, 2}, {1000, 13, 14},
                               {12000, 2, 3},  {12001, 1, 2}, {0, 0, 0},   {-1, 0, 0},     {INT_MIN, 0, 0}};
    for (const auto& t : timeouts) {
        const WriteTimeouts w = writeTimeoutsFor(t[0]);
        EXPECT_EQ(std::make_pair(w.multiplier, w.constant), std::make_pair(std::uint32_t(t[1]), std::uint32_t(t[2])))
            << t[0] << " Bd";
    }
}
