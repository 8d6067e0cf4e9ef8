#include "behaviour_fixture.h"

namespace {

// The controls of configuration 1 that grey out with it (a sample of each kind).
const int kConfig1Controls[] = {IdConfig1Group, IdCallsign1, IdSsid1,  IdSymbol1,      IdHops1,
                                IdPathType1,    IdPath1,     IdComment1, IdTxDelayValue1, IdFramesLabel1,
                                IdHopsLabel1};

class SecondConfig : public MainDialogTest {
protected:
    void expectConfig1(bool on)
    {
        for (int id : kConfig1Controls)
            EXPECT_EQ(enabled(id), on) << id;
        EXPECT_EQ(text(IdSecondConfig), on ? "Disable 2nd Config" : "Enable 2nd Config");
    }
    void typeComment0(int length) { userType(dialog, IdComment0, std::string(static_cast<std::size_t>(length), 'k')); }
};

TEST_F(SecondConfig, OnToOffByUserAndBack)
{
    userClick(dialog, IdSecondConfig);
    expectConfig1(false);
    EXPECT_TRUE(enabled(IdSecondConfig));
    EXPECT_EQ(text(IdEepromSpaceLeft), "43"); // configuration 1 and its end marker given back

    userClick(dialog, IdSecondConfig);
    expectConfig1(true);
    EXPECT_TRUE(enabled(IdSecondConfig));
    EXPECT_EQ(text(IdEepromSpaceLeft), "21");
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(SecondConfig, OnStaysOnWhileComment0Fits)
{
    typeComment0(21);
    expectConfig1(true);
    EXPECT_TRUE(enabled(IdSecondConfig));
    EXPECT_EQ(text(IdEepromSpaceLeft), "0");
}

TEST_F(SecondConfig, OnToOffByItselfAndBackWithRoomOf22)
{
    typeComment0(22);
    expectConfig1(false);
    EXPECT_FALSE(enabled(IdSecondConfig));
    EXPECT_EQ(text(IdEepromSpaceLeft), "21");

    typeComment0(1); // 20 left: stays off
    expectConfig1(false);
    EXPECT_FALSE(enabled(IdSecondConfig));

    userBackspace(dialog, IdComment0, 1); // 21
    expectConfig1(false);
    userBackspace(dialog, IdComment0, 1); // 22: back on by itself
    expectConfig1(true);
    EXPECT_TRUE(enabled(IdSecondConfig));
    EXPECT_EQ(text(IdEepromSpaceLeft), "0");
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(SecondConfig, OffByUserStaysOffAndTheButtonFollowsTheRoom)
{
    userClick(dialog, IdSecondConfig);
    typeComment0(21); // 64 - 42 = 22
    expectConfig1(false);
    EXPECT_TRUE(enabled(IdSecondConfig));
    typeComment0(1); // 21
    expectConfig1(false);
    EXPECT_FALSE(enabled(IdSecondConfig));
    userBackspace(dialog, IdComment0, 1);
    expectConfig1(false);
    EXPECT_TRUE(enabled(IdSecondConfig));
}

TEST_F(SecondConfig, SwitchingOnCutsComment1ByTheShortfallWithoutAMessage)
{
    userType(dialog, IdComment1, "ABCDEFGHIJ");
    userClick(dialog, IdSecondConfig);
    typeComment0(20); // 64 - 41 = 23 while off
    ASSERT_TRUE(enabled(IdSecondConfig));
    userClick(dialog, IdSecondConfig); // 63 - 41 - 31 = -9
    expectConfig1(true);
    EXPECT_EQ(text(IdComment1), "A");
    EXPECT_EQ(text(IdEepromSpaceLeft), "0");
    EXPECT_TRUE(recordedMessages().empty());
    // Comment 1 takes no more than what it now holds plus the room left.
    EXPECT_EQ(textLimitOf(dialog, IdComment1), 1u);
}

TEST_F(SecondConfig, SwitchingOnWithNoRoomAtAllEmptiesComment1AndBlocksIt)
{
    userType(dialog, IdComment1, "ABC");
    userClick(dialog, IdSecondConfig);
    typeComment0(20);
    setItemText(dialog, IdPath1, "WIDE1-1,WIDE2-2,WIDE3-3"); // configuration 1 is off: allowed
    userClick(dialog, IdSecondConfig); // 63 - 41 - (21 + 21 + 3) = -23
    EXPECT_EQ(text(IdComment1), "");
    EXPECT_EQ(textLimitOf(dialog, IdComment1), 0u);
    userType(dialog, IdComment1, "x");
    EXPECT_EQ(text(IdComment1), "");
    // Still 20 short with an empty comment: reported once, not again and again.
    EXPECT_EQ(recordedMessages().size(), 1u);
}

TEST_F(SecondConfig, ButtonClickDoesNotChangeItsOwnEnableState)
{
    userClick(dialog, IdSecondConfig);
    typeComment0(23); // 64 - 44 = 20: the button goes grey
    EXPECT_FALSE(enabled(IdSecondConfig));
    userClick(dialog, IdSecondConfig); // a grey button does nothing
    expectConfig1(false);
}

} // namespace
