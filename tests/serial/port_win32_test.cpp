// The Win32 backend under Wine. wine_com_driver.py links a free COM number of
// the Wine prefix to a pseudo-terminal, names it and an unlinked one in the
// environment, and checks that exactly the payload arrived at the other end.
#include "port_list.h"
#include "port_testing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(Win32Port, ProbeOpenWriteCloseOnTheLinkedPortOnly)
{
    EXPECT_EQ(dcbFlagWord(lineSettingsFor(4800, 0, 1, 8)), 0x1011u);
    EXPECT_EQ(dcbFlagWord(lineSettingsFor(4800, 1, 1, 8)), 0x1013u);
    for (const char* none : {"", "\\\\.\\COM1:"})
        EXPECT_EQ(openPort(none, 4800, 0, 1, 8) + writePort(none, "x", 1) + closePort(none), 0u) << none;
    const char* hex = std::getenv("KORVEL_TEST_PAYLOAD_HEX");
    if (!hex || !std::getenv("KORVEL_TEST_COM") || !std::getenv("KORVEL_TEST_ABSENT_COM"))
        GTEST_SKIP() << "needs the COM link made by wine_com_driver.py";
    const std::string port = comDevicePath(static_cast<unsigned>(std::atoi(std::getenv("KORVEL_TEST_COM"))));
    const std::string absent = comDevicePath(static_cast<unsigned>(std::atoi(std::getenv("KORVEL_TEST_ABSENT_COM"))));
    std::string payload;
    for (const char* digit = hex; digit[0] && digit[1]; digit += 2)
        payload += static_cast<char>(std::stoi(std::string(digit, 2), nullptr, 16));

    const std::vector<PortEntry> found = discoverPorts();
    EXPECT_NE(findPort(found, port), nullptr);
    EXPECT_EQ(findPort(found, absent), nullptr);
    PortError error;
    EXPECT_EQ(probePort(absent, &error) + openPort(absent, 4800, 0, 1, 8, &error), 0);
    EXPECT_EQ(error.kind, PortNotFound);
    // Stop-bits index 0 gives a StopBits code that no port takes; the port is closed again.
    EXPECT_EQ(openPort(port, 4800, 0, 0, 8, &error), 0);
    EXPECT_EQ(error.kind, PortLineRefused);
    EXPECT_NE(error.systemCode, 0);

    ASSERT_EQ(openPort(port, 4800, 0, 1, 8), 1);
    EXPECT_EQ(openPort(port, 9600, 1, 1, 7), 0); // the open port stays as it is
    EXPECT_EQ(probePort(port), 1);
    const auto length = static_cast<std::uint32_t>(payload.size());
    EXPECT_EQ(writePort(port, payload.data(), length), length);
    EXPECT_EQ(closePort(port), 1);
    EXPECT_EQ(closePort(port) + writePort(port, "x", 1), 0u);
}
