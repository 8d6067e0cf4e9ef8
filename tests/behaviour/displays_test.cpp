#include "behaviour_fixture.h"

namespace {

using SettingDisplays = MainDialogTest;

TEST_F(SettingDisplays, EveryLabelFollowsItsTrackbar)
{
    const struct {
        int trackbar, position, label;
        const char* text;
    } steps[] = {
        {IdTxDelay0, 6, IdTxDelayValue0, "40.0 ms"},      {IdTxDelay1, 75, IdTxDelayValue1, "500.0 ms"},
        {IdTxDelay0, 36, IdTxDelayValue0, "240.0 ms"},    {IdDriveSpeed0, 100, IdDriveSpeedValue0, "100 km/h"},
        {IdDriveSpeed1, 1, IdDriveSpeedValue1, "1 km/h"}, {IdFrames0, 0, IdFramesValue0, "0 frames"},
        {IdFrames1, 50, IdFramesValue1, "50 frames"},     {IdHops0, 3, IdHopCount0, "3"},
        {IdHops1, 1, IdHopCount1, "1"},
        // Intervals switch to minutes at five minutes; idle is drive interval times factor.
        {IdDriveInterval1, 5, IdDriveIntervalValue1, "5 sec"},   {IdIdleFactor1, 1, IdIdleIntervalValue1, "5 sec"},
        {IdDriveInterval1, 23, IdDriveIntervalValue1, "23 sec"}, {IdIdleFactor1, 13, IdIdleIntervalValue1, "299 sec"},
        {IdDriveInterval1, 25, IdDriveIntervalValue1, "25 sec"}, {IdIdleFactor1, 12, IdIdleIntervalValue1, "5min 0sec"},
        {IdDriveInterval1, 254, IdDriveIntervalValue1, "254 sec"},
        {IdIdleFactor1, 100, IdIdleIntervalValue1, "423min 20sec"},
        {IdDriveInterval1, 61, IdDriveIntervalValue1, "61 sec"}, {IdIdleFactor1, 5, IdIdleIntervalValue1, "5min 5sec"},
    };
    for (const auto& step : steps) {
        userDragTrackbar(dialog, step.trackbar, step.position);
        EXPECT_EQ(text(step.label), step.text) << step.trackbar << " at " << step.position;
    }
}

// A path type writes its path and sets a minimum drive interval, which raises the
// interval but never lowers it; scrolling rewrites the path but leaves the bound.
TEST_F(SettingDisplays, PathTypesWriteThePathAndBoundTheDriveInterval)
{
    const struct {
        int id, value; // a path type row chosen, or a trackbar dragged
        Texts shown;   // path, drive and idle interval of configuration 0
    } steps[] = {
        {IdDriveInterval0, 10, {"COMPRESSED", "10 sec", "120 sec"}},
        {IdPathType0, Relay, {"RELAY", "20 sec", "240 sec"}},
        {IdHops0, 3, {"RELAY", "20 sec", "240 sec"}},
        {IdPathType0, Compressed, {"COMPRESSED", "20 sec", "240 sec"}},
        {IdDriveInterval0, 5, {"COMPRESSED", "5 sec", "60 sec"}},
        {IdPathType0, WideNN, {"WIDE3-3", "60 sec", "12min 0sec"}},
        {IdHops0, 2, {"WIDE2-2", "60 sec", "12min 0sec"}},
        {IdDriveInterval0, 5, {"WIDE2-2", "40 sec", "8min 0sec"}},
        {IdHops0, 1, {"WIDE1-1", "40 sec", "8min 0sec"}},
        {IdDriveInterval0, 5, {"WIDE1-1", "20 sec", "240 sec"}},
        {IdPathType0, TraceNN, {"TRACE1-1", "20 sec", "240 sec"}},
        {IdHops0, 3, {"TRACE3-3", "60 sec", "12min 0sec"}},
        {IdPathType0, Compressed, {"COMPRESSED", "60 sec", "12min 0sec"}},
        {IdDriveInterval0, 5, {"COMPRESSED", "5 sec", "60 sec"}},
    };
    for (const auto& step : steps) {
        if (step.id == IdPathType0)
            userChooseComboRow(dialog, step.id, step.value);
        else
            userDragTrackbar(dialog, step.id, step.value);
        EXPECT_EQ(texts({IdPath0, IdDriveIntervalValue0, IdIdleIntervalValue0}), step.shown) << &step - steps;
    }
    EXPECT_EQ(texts({IdPath1, IdDriveIntervalValue1}), (Texts{"COMPRESSED", "30 sec"})); // configuration 1 untouched
}

TEST_F(SettingDisplays, DisabledConfigurationKeepsItsValues)
{
    retype(IdCallsign1, "DB0XY");
    userDragTrackbar(dialog, IdTxDelay1, 50);
    userClick(dialog, IdSecondConfig);
    EXPECT_FALSE(enabled(IdCallsign1));
    userDragTrackbar(dialog, IdTxDelay0, 60); // scrolling while it is off still refreshes its labels
    userClick(dialog, IdSecondConfig);
    EXPECT_EQ(texts({IdCallsign1, IdTxDelayValue1}), (Texts{"DB0XY", "333.3 ms"}));
    EXPECT_EQ(position(IdTxDelay1), 50);
}

} // namespace
