// The Win32 backend under Wine. wine_com_driver.py links a free COM number of
// the Wine prefix to a pseudo-terminal, names its slot and an unlinked one in
// the environment, and checks that exactly the payload arrived at the other end.
#include "port_table.h"
#include "port_testing.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace {

bool slotFromEnvironment(const char* name, unsigned& slot)
{
    const char* text = std::getenv(name);
    slot = text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : kUsablePortSlots;
    return slot < kUsablePortSlots;
}

class Win32Port : public testing::Test {
protected:
    void SetUp() override
    {
        const char* hex = std::getenv("KORVEL_TEST_PAYLOAD_HEX");
        if (!slotFromEnvironment("KORVEL_TEST_COM_SLOT", port_) ||
            !slotFromEnvironment("KORVEL_TEST_ABSENT_SLOT", absent_) || !hex)
            GTEST_SKIP() << "needs the COM link made by wine_com_driver.py";
        const std::string digits = hex;
        for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
            payload_ += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    }
    void TearDown() override { closePort(port_); }

    unsigned port_ = 0;   // slot of the linked COM number
    unsigned absent_ = 0; // slot of a COM number with no link
    std::string payload_;
};

} // namespace

TEST(Win32Line, TheDcbCarriesTheFlagWordAndSlotNineHoldsNoPort)
{
    EXPECT_EQ(dcbFlagWord(lineSettingsFor(4800, 0, 1, 8)), 0x1011u);
    EXPECT_EQ(dcbFlagWord(lineSettingsFor(4800, 1, 1, 8)), 0x1013u);
    for (unsigned slot : {9u, 10u, UINT_MAX}) {
        EXPECT_EQ(openPort(slot, 4800, 0, 1, 8), 0) << slot;
        EXPECT_EQ(writePort(slot, "x", 1), 0u) << slot;
        EXPECT_EQ(closePort(slot), 0) << slot;
    }
}

TEST_F(Win32Port, ProbeOpenWriteCloseOnTheLinkedPortOnly)
{
    PortProbeResult results[kPortSlotCount];
    probePorts(results, static_cast<int>(kPortSlotCount));
    EXPECT_EQ(results[port_], Available);
    EXPECT_EQ(results[absent_], NotFound);
    PortError error;
    EXPECT_EQ(openPort(absent_, 4800, 0, 1, 8, &error), 0);
    EXPECT_EQ(error.kind, PortNotFound);

    ASSERT_EQ(openPort(port_, 4800, 0, 1, 8), 1);
    EXPECT_EQ(openPort(port_, 9600, 1, 1, 7), 0); // the open port stays as it is
    probePorts(results, static_cast<int>(kPortSlotCount));
    EXPECT_EQ(results[port_], Available);

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

    ASSERT_EQ(openPort(port_, 4800, 0, 1, 8), 1); // the slot is free for the next try
}
