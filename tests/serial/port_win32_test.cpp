// The Win32 backend under Wine. wine_com_driver.py links a free COM number of
// the Wine prefix to a pseudo-terminal, names its slot and an unlinked one in
// the environment, and checks that exactly the payload arrived at the other end.
#include "serial/port_table.h"
#include "serial/port_testing.h"
#include "ui/prompts_recorder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace {

struct Linked {
    unsigned port = 0;   // slot of the linked COM number
    unsigned absent = 0; // slot of a COM number with no link
    std::string payload;
};

bool readSlot(const char* name, unsigned& slot)
{
    const char* text = std::getenv(name);
    if (!text || !*text)
        return false;
    slot = static_cast<unsigned>(std::strtoul(text, nullptr, 10));
    return slot < kUsablePortSlots;
}

bool linkedByDriver(Linked& linked)
{
    const char* hex = std::getenv("KORVEL_TEST_PAYLOAD_HEX");
    if (!readSlot("KORVEL_TEST_COM_SLOT", linked.port) || !readSlot("KORVEL_TEST_ABSENT_SLOT", linked.absent) || !hex)
        return false;
    const std::string digits = hex;
    linked.payload.clear();
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        linked.payload += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return true;
}

class Win32Port : public testing::Test {
protected:
    void SetUp() override
    {
        if (!linkedByDriver(linked_))
            GTEST_SKIP() << "needs the COM link made by wine_com_driver.py";
        clearRecordedPrompts();
    }
    void TearDown() override
    {
        for (unsigned slot = 0; slot < kPortSlotCount; ++slot)
            closePort(slot);
    }
    Linked linked_;
};

} // namespace

TEST(Win32Line, TheDcbCarriesTheFlagWord)
{
    EXPECT_EQ(dcbFlagWord(lineSettingsFor(4800, 0, 1, 8)), 0x1011u);
    EXPECT_EQ(dcbFlagWord(lineSettingsFor(4800, 1, 1, 8)), 0x1013u);
}

TEST(Win32Line, SlotNineAndOutOfRangeSlotsHoldNoPort)
{
    for (unsigned slot : {9u, 10u, 1000u, UINT_MAX}) {
        EXPECT_EQ(openPort(slot, 4800, 0, 1, 8), 0) << slot;
        EXPECT_EQ(writePort(slot, "x", 1), 0u) << slot;
        EXPECT_EQ(closePort(slot), 0) << slot;
    }
}

TEST_F(Win32Port, ProbeFindsTheLinkedPortOnly)
{
    PortProbeResult results[kPortSlotCount];
    probePorts(results, static_cast<int>(kPortSlotCount));
    EXPECT_EQ(results[linked_.port], Available);
    EXPECT_EQ(results[linked_.absent], NotFound);
    EXPECT_EQ(results[9], NotFound);
}

TEST_F(Win32Port, AnAbsentPortDoesNotOpen)
{
    EXPECT_EQ(openPort(linked_.absent, 4800, 0, 1, 8), 0);
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(Win32Port, OpenWriteCloseSendsThePayload)
{
    const unsigned slot = linked_.port;
    ASSERT_EQ(openPort(slot, 4800, 0, 1, 8), 1);
    EXPECT_EQ(openPort(slot, 9600, 1, 1, 7), 0); // the open port stays as it is

    PortProbeResult results[kPortSlotCount];
    probePorts(results, static_cast<int>(kPortSlotCount));
    EXPECT_EQ(results[slot], Available);

    const auto length = static_cast<std::uint32_t>(linked_.payload.size());
    EXPECT_EQ(writePort(slot, linked_.payload.data(), length), length);
    EXPECT_EQ(closePort(slot), 1);
    EXPECT_EQ(closePort(slot), 0);
    EXPECT_EQ(writePort(slot, "x", 1), 0u);
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(Win32Port, ARefusedLineIsReportedAndThePortClosed)
{
    const unsigned slot = linked_.port;
    // Stop-bits index 0 gives a StopBits code that no port takes.
    EXPECT_EQ(openPort(slot, 4800, 0, 0, 8), 0);
    ASSERT_EQ(recordedMessages().size(), 1u);
    EXPECT_EQ(recordedMessages()[0].text.rfind("cannot set COMstate (", 0), 0u) << recordedMessages()[0].text;
    EXPECT_EQ(recordedMessages()[0].caption, "KorvelConfig: Error");
    EXPECT_EQ(writePort(slot, "x", 1), 0u);
    EXPECT_EQ(closePort(slot), 0);

    ASSERT_EQ(openPort(slot, 4800, 0, 1, 8), 1);
    EXPECT_EQ(closePort(slot), 1);
}
