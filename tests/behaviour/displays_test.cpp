#include "behaviour_fixture.h"

namespace {

using SettingDisplays = MainDialogTest;

TEST_F(SettingDisplays, IntervalsSwitchToMinutesAtFiveMinutes)
{
    struct Case {
        int interval, factor;
        const char* driving;
        const char* idle;
    };
    const Case cases[] = {
        {5, 1, "5 sec", "5 sec"},
        {23, 13, "23 sec", "299 sec"},
        {25, 12, "25 sec", "5min 0sec"},
        {254, 100, "254 sec", "423min 20sec"},
        {61, 5, "61 sec", "5min 5sec"},
    };
    for (const Case& c : cases) {
        userDragTrackbar(dialog, IdDriveInterval1, c.interval);
        userDragTrackbar(dialog, IdIdleFactor1, c.factor);
        EXPECT_EQ(text(IdDriveIntervalValue1), c.driving);
        EXPECT_EQ(text(IdIdleIntervalValue1), c.idle);
    }
}

TEST_F(SettingDisplays, EveryLabelFollowsItsTrackbar)
{
    struct Case {
        int trackbar, position, label;
        const char* text;
    };
    const Case cases[] = {
        {IdTxDelay0, 6, IdTxDelayValue0, "40.0 ms"},    {IdTxDelay1, 75, IdTxDelayValue1, "500.0 ms"},
        {IdTxDelay0, 36, IdTxDelayValue0, "240.0 ms"},  {IdDriveSpeed0, 100, IdDriveSpeedValue0, "100 km/h"},
        {IdDriveSpeed1, 1, IdDriveSpeedValue1, "1 km/h"}, {IdFrames0, 0, IdFramesValue0, "0 frames"},
        {IdFrames1, 50, IdFramesValue1, "50 frames"},   {IdHops0, 3, IdHopCount0, "3"},
        {IdHops1, 1, IdHopCount1, "1"},
    };
    for (const Case& c : cases) {
        userDragTrackbar(dialog, c.trackbar, c.position);
        EXPECT_EQ(text(c.label), c.text) << c.trackbar;
    }
}

TEST_F(SettingDisplays, WideRaisesTheDriveIntervalWithTheHopsButNeverLowersIt)
{
    userChooseComboRow(dialog, IdPathType0, WideNN);
    EXPECT_EQ(text(IdPath0), "WIDE2-2");
    EXPECT_EQ(position(IdDriveInterval0), 40);
    EXPECT_EQ(text(IdDriveIntervalValue0), "40 sec");
    EXPECT_EQ(text(IdIdleIntervalValue0), "8min 0sec");

    userDragTrackbar(dialog, IdHops0, 3);
    EXPECT_EQ(text(IdPath0), "WIDE3-3");
    EXPECT_EQ(position(IdDriveInterval0), 60);
    EXPECT_EQ(text(IdDriveIntervalValue0), "60 sec");
    EXPECT_EQ(text(IdIdleIntervalValue0), "12min 0sec");

    userDragTrackbar(dialog, IdHops0, 1);
    EXPECT_EQ(text(IdPath0), "WIDE1-1");
    EXPECT_EQ(position(IdDriveInterval0), 60);

    // The lower bound fell to 20 all the same.
    userDragTrackbar(dialog, IdDriveInterval0, 5);
    EXPECT_EQ(position(IdDriveInterval0), 20);
    EXPECT_EQ(text(IdDriveIntervalValue0), "20 sec");

    // Configuration 1 is untouched.
    EXPECT_EQ(position(IdDriveInterval1), 30);
    EXPECT_EQ(text(IdPath1), "COMPRESSED");
}

TEST_F(SettingDisplays, GoingBackToCompressedKeepsTheIntervalButFreesTheBound)
{
    userDragTrackbar(dialog, IdHops1, 3);
    userChooseComboRow(dialog, IdPathType1, TraceNN);
    EXPECT_EQ(text(IdPath1), "TRACE3-3");
    EXPECT_EQ(position(IdDriveInterval1), 60);

    userChooseComboRow(dialog, IdPathType1, Compressed);
    EXPECT_EQ(text(IdPath1), "COMPRESSED");
    EXPECT_EQ(position(IdDriveInterval1), 60);
    userDragTrackbar(dialog, IdDriveInterval1, 5);
    EXPECT_EQ(position(IdDriveInterval1), 5);
}

TEST_F(SettingDisplays, RelayMinimumIsSetByTheChoiceOnly)
{
    userDragTrackbar(dialog, IdDriveInterval0, 10);
    userChooseComboRow(dialog, IdPathType0, Relay);
    EXPECT_EQ(text(IdPath0), "RELAY");
    EXPECT_EQ(position(IdDriveInterval0), 20);

    userChooseComboRow(dialog, IdPathType0, Compressed);
    userDragTrackbar(dialog, IdDriveInterval0, 5);
    EXPECT_EQ(position(IdDriveInterval0), 5);
    userChooseComboRow(dialog, IdPathType0, Relay);
    EXPECT_EQ(position(IdDriveInterval0), 20);
    // Scrolling rewrites the text but leaves the bound where the choice put it.
    userDragTrackbar(dialog, IdHops0, 3);
    EXPECT_EQ(text(IdPath0), "RELAY");
    EXPECT_EQ(position(IdDriveInterval0), 20);
}

TEST_F(SettingDisplays, AHandTypedPathIsReplacedAtTheNextScroll)
{
    clearText(IdPath1);
    userType(dialog, IdPath1, "WIDE1-1,WIDE2-1");
    EXPECT_EQ(text(IdPath1), "WIDE1-1,WIDE2-1");
    userDragTrackbar(dialog, IdFrames0, 20);
    EXPECT_EQ(text(IdPath1), "COMPRESSED");
}

TEST_F(SettingDisplays, DisabledConfigurationKeepsItsValues)
{
    clearText(IdCallsign1);
    userType(dialog, IdCallsign1, "DB0XY");
    userDragTrackbar(dialog, IdTxDelay1, 50);
    userClick(dialog, IdSecondConfig);
    EXPECT_FALSE(enabled(IdCallsign1));
    // Scrolling while it is off still refreshes its labels.
    userDragTrackbar(dialog, IdTxDelay0, 60);
    userClick(dialog, IdSecondConfig);
    EXPECT_EQ(text(IdCallsign1), "DB0XY");
    EXPECT_EQ(position(IdTxDelay1), 50);
    EXPECT_EQ(text(IdTxDelayValue1), "333.3 ms");
}

} // namespace
