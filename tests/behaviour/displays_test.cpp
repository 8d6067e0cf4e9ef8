#include "behaviour_fixture.h"

namespace {

using SettingDisplays = MainDialogTest;

// Every trackbar keeps to its range and its label follows it; intervals switch to
// minutes at five minutes, idle is drive interval times factor.
TEST_F(SettingDisplays, EveryTrackbarKeepsToItsRangeAndItsLabelFollows)
{
    const struct {
        int trackbar, label;
        Texts shown; // dragged past the lower end, then past the upper end
    } trackbars[] = {
        {IdHops1, IdHopCount1, {"1", "3"}},
        {IdTxDelay0, IdTxDelayValue0, {"40.0 ms", "500.0 ms"}},
        {IdDriveInterval1, IdDriveIntervalValue1, {"5 sec", "254 sec"}},
        {IdDriveSpeed0, IdDriveSpeedValue0, {"1 km/h", "100 km/h"}},
        {IdIdleFactor1, IdIdleIntervalValue1, {"254 sec", "423min 20sec"}},
        {IdFrames0, IdFramesValue0, {"0 frames", "50 frames"}},
    };
    for (const auto& t : trackbars) {
        userDragTrackbar(dialog, t.trackbar, -10);
        const std::string lowest = text(t.label);
        userDragTrackbar(dialog, t.trackbar, 300);
        EXPECT_EQ((Texts{lowest, text(t.label)}), t.shown) << t.trackbar;
    }
    const struct {
        int drive, factor;
        const char* idle;
    } intervals[] = {{23, 13, "299 sec"}, {25, 12, "5min 0sec"}, {61, 5, "5min 5sec"}};
    for (const auto& i : intervals) {
        userDragTrackbar(dialog, IdDriveInterval1, i.drive);
        userDragTrackbar(dialog, IdIdleFactor1, i.factor);
        EXPECT_EQ(text(IdIdleIntervalValue1), i.idle) << i.drive << " x " << i.factor;
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

// What the user sees of configuration 1 after each step: the button's caption,
// "(grey)" when the button is, the EEPROM space left, and any control of the
// configuration (a sample of each kind) that disagrees with the caption.
TEST_F(MainDialogTest, SecondConfigFollowsTheButtonAndTheRoomLeft)
{
    enum Step { Click, Comment0, Backspace0 };
    const struct {
        std::vector<std::pair<Step, int>> steps; // a step and how many characters; "k" to comment 0
        Texts seen;
    } cases[] = {
        {{{Click, 0}, {Click, 0}}, {"Enable 2nd Config, 43", "Disable 2nd Config, 21"}}, // 43: the end marker too
        // Off by itself when comment 0 needs the room, back on with room of 22.
        {{{Comment0, 21}, {Comment0, 1}, {Comment0, 1}, {Backspace0, 1}, {Backspace0, 1}},
         {"Disable 2nd Config, 0", "Enable 2nd Config (grey), 21", "Enable 2nd Config (grey), 20",
          "Enable 2nd Config (grey), 21", "Disable 2nd Config, 0"}},
        // Off by the user it stays off, and the button follows the room; a grey one does nothing.
        {{{Click, 0}, {Comment0, 21}, {Comment0, 1}, {Click, 0}, {Backspace0, 1}},
         {"Enable 2nd Config, 43", "Enable 2nd Config, 22", "Enable 2nd Config (grey), 21",
          "Enable 2nd Config (grey), 21", "Enable 2nd Config, 22"}},
    };
    for (const auto& c : cases) {
        reopen();
        Texts seen;
        for (const auto& [step, count] : c.steps) {
            if (step == Click)
                userClick(dialog, IdSecondConfig);
            else if (step == Comment0)
                userType(dialog, IdComment0, std::string(static_cast<std::size_t>(count), 'k'));
            else
                userBackspace(dialog, IdComment0, count);
            const bool on = text(IdSecondConfig) == "Disable 2nd Config";
            seen.push_back(text(IdSecondConfig) + (enabled(IdSecondConfig) ? ", " : " (grey), ") +
                           text(IdEepromSpaceLeft));
            for (int id : {IdConfig1Group, IdCallsign1, IdSsid1, IdSymbol1, IdHops1, IdPathType1, IdPath1, IdComment1,
                           IdTxDelayValue1, IdFramesLabel1, IdHopsLabel1})
                if (enabled(id) != on)
                    seen.back() += ", control " + std::to_string(id) + (on ? " grey" : " enabled");
        }
        EXPECT_EQ(seen, c.seen);
        EXPECT_TRUE(recordedMessages().empty());
    }
}

// Switched on again with comment 0 grown meanwhile: comment 1 loses what does not
// fit, and takes no more than it holds plus the room left.
TEST_F(MainDialogTest, SwitchingOnCutsComment1ByTheShortfall)
{
    const struct {
        const char* comment1;
        const char* path1; // set while configuration 1 is off
        Texts shown;       // comment 1 and the room left
        unsigned limit;
        std::size_t messages;
    } cases[] = {
        {"ABCDEFGHIJ", "COMPRESSED", {"A", "0"}, 1, 0}, // 63 - 41 - 31 = -9: no message
        // 63 - 41 - (21 + 21 + 3) = -23: still 20 short when empty, reported once
        {"ABC", "WIDE1-1,WIDE2-2,WIDE3-3", {"", "-20"}, 0, 1},
    };
    for (const auto& c : cases) {
        reopen();
        userType(dialog, IdComment1, c.comment1);
        userClick(dialog, IdSecondConfig);
        userType(dialog, IdComment0, std::string(20, 'k')); // 64 - 41 = 23 while off
        setItemText(dialog, IdPath1, c.path1);
        userClick(dialog, IdSecondConfig);
        EXPECT_EQ(texts({IdComment1, IdEepromSpaceLeft}), c.shown);
        EXPECT_EQ(textLimitOf(dialog, IdComment1), c.limit);
        userType(dialog, IdComment1, c.limit ? "" : "x");
        EXPECT_EQ(text(IdComment1), c.shown[0]);
        EXPECT_EQ(recordedMessages().size(), c.messages);
    }
}

} // namespace
