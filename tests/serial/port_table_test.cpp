// What both backends share: the port list's texts and choices, the COM ports listed
// from the start's probe and the registry's map, the time-outs, the requests refused.
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
        {"ttyS0", "/dev/ttyS0", "", "/dev/ttyS0", false, {PortNoPermission, 13, "Permission denied"}},
        {"ttyACM0", "/dev/ttyACM0", "Pico", "", false, {PortSystemError, 5, "Input/output error"}},
    };
    const char* const rows[] = {"COM3", "ttyUSB0 - FT232R USB UART", "ttyS0 (no permission)",
                                "ttyACM0 - Pico (Input/output error)"};
    for (std::size_t i = 0; i < ports.size(); ++i)
        EXPECT_EQ(portRowText(ports[i]), rows[i]);
    EXPECT_EQ(portRowText(notConnected(ports[0])) + " | " + portRowText(notConnected(ports[1])),
              "COM3 (not connected) | ttyUSB0 - FT232R USB UART (not connected)");
    EXPECT_EQ(findPort(ports, "com3"), &ports[0]);
    EXPECT_EQ(findPort(ports, "/dev/ttyS0"), &ports[2]);
    EXPECT_EQ(findPort(ports, "/dev/serial/by-id/usb-FTDI"), &ports[1]);
    EXPECT_TRUE(!findPort(ports, "ttyS") && !findPort(ports, ""));
    // The adapter, not the number: opened and recognised by its by-id name.
    EXPECT_EQ(portOpenPath(ports[1]) + " " + portOpenPath(ports[2]) + " " + portOpenPath(ports[0]),
              "/dev/serial/by-id/usb-FTDI /dev/ttyS0 \\\\.\\COM3");
    const PortEntry renumbered{"ttyUSB1", "/dev/ttyUSB1", "", "/dev/serial/by-id/usb-FTDI", true, {}};
    const PortEntry other{"ttyUSB0", "/dev/ttyUSB0", "", "/dev/serial/by-id/usb-Prolific", true, {}};
    EXPECT_TRUE(samePort(ports[1], renumbered) && !samePort(ports[1], other) && samePort(ports[0], ports[0]));
    EXPECT_FALSE(samePort(PortEntry(), PortEntry()));
}

// COM1 to COM9 as the start's probe found them, the map's changes since, and above
// COM9 only the map: no port is opened for any of it.
TEST(PortList, ComPortsFromTheStartsProbeAndTheMap)
{
    StartPorts start;
    start.probeResults[0] = Available;    // COM1: on board, never in the map
    start.probeResults[2] = Available;    // COM3: an adapter in the map
    start.probeResults[3] = Inaccessible; // COM4: held by another program at the start
    start.probeResults[9] = Available;    // slot 9 names no port
    start.mapped = {3, 4, 12};
    const struct {
        std::vector<unsigned> mappedNow;
        std::vector<unsigned> listed;
    } cases[] = {
        {{3, 4, 12}, {1, 3, 12}},
        {{12, 4}, {1, 12}},                 // COM3 pulled out
        {{3, 4, 5, 15, 0, 256}, {1, 3, 5, 15}}, // COM5 and COM15 plugged in; no such numbers
        {{}, {1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listedComNumbers(start, c.mappedNow), c.listed);
}

TEST(PortTable, WriteTimeoutsFromTwelveBitTimes)
{
    // Rounded down; no division by 0.
    const int timeouts[][3] = {{1200, 11, 12}, {4800, 3, 4}, {9600, 2, 3}, {115200, 1, 2}, {1000, 13, 14},
                               {12000, 2, 3},  {12001, 1, 2}, {0, 0, 0},   {-1, 0, 0},     {INT_MIN, 0, 0}};
    for (const auto& t : timeouts) {
        const WriteTimeouts w = writeTimeoutsFor(t[0]);
        EXPECT_EQ(std::make_pair(w.multiplier, w.constant), std::make_pair(std::uint32_t(t[1]), std::uint32_t(t[2])))
            << t[0] << " Bd";
    }
}

// Checked before any device is touched: the same answers on every system.
TEST(PortTable, RequestsRefusedBeforeAnyDevice)
{
    PortHandle port;
    PortError error;
    for (const int baud : {4800, 0, 300, -4800}) {
        EXPECT_EQ(openPort(baud == 4800 ? "" : "/nonexistent/ttyS7", baud, port, &error), 0);
        EXPECT_EQ(error.kind, PortBadRequest) << baud; // not PortNotFound: no device was tried
    }
    EXPECT_EQ(writePort(port, "x", 1, &error) + writePort(port, nullptr, 0) + closePort(port), 0u);
    EXPECT_EQ(error.kind, PortBadRequest);
}
