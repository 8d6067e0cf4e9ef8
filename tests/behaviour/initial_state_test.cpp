#include "behaviour_fixture.h"

namespace {

class InitialState : public MainDialogTest {
protected:
    void setUpPorts() override
    {
        ports = {{"ttyS0", "/dev/ttyS0", "", "", false, {PortBusy, 16, ""}}, // listed, but not chosen
                 {"COM1", "\\\\.\\COM1", "", "", true, {}},
                 {"COM4", "\\\\.\\COM4", "", "", true, {}}};
    }
};

TEST_F(InitialState, LabelsShowTheDefaultsInTheirUnits)
{
    struct Label {
        int id0, id1;
        const char* text;
    };
    const Label labels[] = {
        {IdHopCount0, IdHopCount1, "2"},
        {IdTxDelayValue0, IdTxDelayValue1, "233.3 ms"},
        {IdDriveIntervalValue0, IdDriveIntervalValue1, "30 sec"},
        {IdIdleIntervalValue0, IdIdleIntervalValue1, "6min 0sec"},
        {IdDriveSpeedValue0, IdDriveSpeedValue1, "10 km/h"},
        {IdFramesValue0, IdFramesValue1, "10 frames"},
    };
    for (const Label& label : labels) {
        EXPECT_EQ(text(label.id0), label.text);
        EXPECT_EQ(text(label.id1), label.text);
    }
}

TEST_F(InitialState, BothConfigurationsHoldTheDefaults)
{
    for (int n = 0; n < 2; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(text(n ? IdCallsign1 : IdCallsign0), "NOCALL");
        EXPECT_EQ(textLimitOf(dialog, n ? IdCallsign1 : IdCallsign0), 6u);
        EXPECT_EQ(text(n ? IdSsid1 : IdSsid0), "9");
        EXPECT_EQ(text(n ? IdSymbol1 : IdSymbol0), ">/");
        EXPECT_EQ(text(n ? IdPath1 : IdPath0), "COMPRESSED");
        const int combo = n ? IdPathType1 : IdPathType0;
        EXPECT_EQ(getComboSelection(dialog, combo), 0);
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(getComboRowData(dialog, combo, row), row);
        EXPECT_EQ(getComboRowData(dialog, combo, 4), -1);
        EXPECT_EQ(position(n ? IdHops1 : IdHops0), 2);
        EXPECT_EQ(position(n ? IdTxDelay1 : IdTxDelay0), 35);
        EXPECT_EQ(position(n ? IdDriveInterval1 : IdDriveInterval0), 30);
        EXPECT_EQ(position(n ? IdDriveSpeed1 : IdDriveSpeed0), 10);
        EXPECT_EQ(position(n ? IdIdleFactor1 : IdIdleFactor0), 12);
        EXPECT_EQ(position(n ? IdFrames1 : IdFrames0), 10);
        EXPECT_EQ(text(n ? IdComment1 : IdComment0), "");
    }
}

TEST_F(InitialState, TrackbarsKeepToTheirRanges)
{
    struct Range {
        int id, low, high;
    };
    const Range ranges[] = {
        {IdHops1, 1, 3},        {IdTxDelay0, 6, 75},   {IdDriveInterval1, 5, 254},
        {IdDriveSpeed0, 1, 100}, {IdIdleFactor1, 1, 100}, {IdFrames0, 0, 50},
    };
    for (const Range& range : ranges) {
        userDragTrackbar(dialog, range.id, range.low - 10);
        EXPECT_EQ(position(range.id), range.low) << range.id;
        userDragTrackbar(dialog, range.id, range.high + 10);
        EXPECT_EQ(position(range.id), range.high) << range.id;
    }
}

TEST_F(InitialState, BudgetAndSecondConfigurationAreOn)
{
    EXPECT_EQ(text(IdConfig0SpaceLeft), "32");
    EXPECT_EQ(text(IdEepromSpaceLeft), "21");
    EXPECT_EQ(text(IdSecondConfig), "Disable 2nd Config");
    EXPECT_TRUE(enabled(IdSecondConfig));
    EXPECT_TRUE(enabled(IdConfig1Group));
    EXPECT_TRUE(enabled(IdComment1));
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(InitialState, OnlyTiny13CanBeChosen)
{
    EXPECT_TRUE(getCheck(dialog, IdTiny13));
    EXPECT_TRUE(enabled(IdTiny13));
    EXPECT_FALSE(enabled(IdTiny2313));
    EXPECT_FALSE(enabled(IdMega8));
    userClick(dialog, IdTiny2313);
    EXPECT_TRUE(getCheck(dialog, IdTiny13));
    EXPECT_FALSE(getCheck(dialog, IdTiny2313));
}

TEST_F(InitialState, PortListOffersThePortsFoundAndChoosesTheFirstThatOpens)
{
    EXPECT_EQ(getComboRowData(dialog, IdPort, 2), 2);
    EXPECT_EQ(getComboRowData(dialog, IdPort, 3), -1);
    EXPECT_EQ(getComboSelection(dialog, IdPort), 1);
    EXPECT_EQ(text(IdPort), "COM1");
    userChooseComboRow(dialog, IdPort, 0);
    EXPECT_EQ(text(IdPort), "ttyS0 (busy)");
}

TEST_F(InitialState, BaudListPreselects4800)
{
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(getComboRowData(dialog, IdBaud, row), row);
    EXPECT_EQ(getComboSelection(dialog, IdBaud), 2);
    EXPECT_EQ(text(IdBaud), "4800 Bd");
    EXPECT_EQ(text(IdStatus), "");
    EXPECT_EQ(text(IdLog), "");
}

TEST_F(MainDialogTest, UpperCaseFieldsAndLimitsApplyToTyping)
{
    clearText(IdCallsign0);
    userType(dialog, IdCallsign0, "dl1abcxyz");
    EXPECT_EQ(text(IdCallsign0), "DL1ABC");

    clearText(IdPath1);
    userType(dialog, IdPath1, "wide1-1");
    EXPECT_EQ(text(IdPath1), "WIDE1-1");

    // The comment keeps what is typed.
    userType(dialog, IdComment0, "Hi");
    EXPECT_EQ(text(IdComment0), "Hi");
}

} // namespace
