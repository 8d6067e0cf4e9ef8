// The Win32 backend under Wine. wine_com_driver.py links a free COM number of
// the Wine prefix to a pseudo-terminal, names its number and an unlinked one in
// the environment, and checks that exactly the payload arrived at the other end.
#include "port_list.h"
#include "port_table.h"
#include "port_testing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

bool portFromEnvironment(const char* name, std::string& port)
{
    const char* text = std::getenv(name);
    port = text && *text ? comDevicePath(static_cast<unsigned>(std::strtoul(text, nullptr, 10))) : "";
    return !port.empty();
}

class Win32Port : public testing::Test {
protected:
    void SetUp() override
    {
        const char* hex = std::getenv("KORVEL_TEST_PAYLOAD_HEX");
        if (!portFromEnvironment("KORVEL_TEST_COM", port_) ||
            !portFromEnvironment("KORVEL_TEST_ABSENT_COM", absent_) || !hex)
            GTEST_SKIP() << "needs the COM link made by wine_com_driver.py";
        const std::string digits = hex;
        for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
            payload_ += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    }
    void TearDown() override { closePort(port_); }

    std::string port_;   // the linked COM port
    std::string absent_; // a COM port with no link
    std::string payload_;
};

} // namespace

TEST(Win32Line, TheDcbCarriesTheFlagWordAndNoPathNamesNoPort)
{
    EXPECT_EQ(dcbFlagWord(lineSettingsFor(4800, 0, 1, 8)), 0x1011u);
    EXPECT_EQ(dcbFlagWord(lineSettingsFor(4800, 1, 1, 8)), 0x1013u);
    for (const char* port : {"", "\\\\.\\COM1:"}) {
        EXPECT_EQ(openPort(port, 4800, 0, 1, 8), 0) << port;
        EXPECT_EQ(writePort(port, "x", 1), 0u) << port;
        EXPECT_EQ(closePort(port), 0) << port;
    }
}

TEST_F(Win32Port, ProbeOpenWriteCloseOnTheLinkedPortOnly)
{
    const std::vector<PortEntry> found = discoverPorts();
    EXPECT_NE(findPort(found, port_), nullptr);
    EXPECT_EQ(findPort(found, absent_), nullptr);
    PortError error;
    EXPECT_EQ(probePort(absent_, &error), 0);
    EXPECT_EQ(error.kind, PortNotFound);
    EXPECT_EQ(openPort(absent_, 4800, 0, 1, 8, &error), 0);
    EXPECT_EQ(error.kind, PortNotFound);

    ASSERT_EQ(openPort(port_, 4800, 0, 1, 8), 1);
    EXPECT_EQ(openPort(port_, 9600, 1, 1, 7), 0); // the open port stays as it is
    EXPECT_EQ(probePort(port_), 1);

    const auto length = static_cast<std::uint32_t>(payload_.size());
    EXPECT_EQ(writePort(port_, payload_.data(), length), length);
    EXPECT_EQ(closePort(port_), 1);
    EXPECT_EQ(closePort(port_), 0);
    EXPECT_EQ(writePort(port_, "x", 1), 0u);
}

TEST_F(Win32Port, ARefusedLineIsReportedAndThePortClosed)
{
    // Stop-bits index 0 gives a StopBits code that no port takes.
    PortError error;
    EXPECT_EQ(openPort(port_, 4800, 0, 0, 8, &error), 0);
    EXPECT_EQ(error.kind, PortLineRefused);
    EXPECT_NE(error.systemCode, 0);
    EXPECT_EQ(writePort(port_, "x", 1), 0u);

    ASSERT_EQ(openPort(port_, 4800, 0, 1, 8), 1); // the port is free for the next try
}
