#include "behaviour_fixture.h"
#include "setting_displays.h"

namespace {

using Keyboard = MainDialogTest;

// Reading order; a Symbol field opens the chooser and hands the focus on.
const std::vector<int> kTabOrder = {
    IdCallsign0, IdSsid0, IdHops0, IdPathType0, IdPath0, IdTxDelay0, IdDriveInterval0, IdDriveSpeed0, IdIdleFactor0,
    IdComment0, IdFrames0, IdCallsign1, IdSsid1, IdHops1, IdPathType1, IdPath1, IdTxDelay1, IdDriveInterval1,
    IdDriveSpeed1, IdIdleFactor1, IdComment1, IdFrames1, IdTiny13, IdSecondConfig, IdLog, IdProgram, IdPort, IdBaud};

TEST_F(Keyboard, TabAndShiftTabVisitEveryControlInReadingOrder)
{
    // The highlight starts on the field's symbol; Escape keeps it, also after an arming press.
    queueChooserPresses({{kChooserKey, KeyRight}, {kChooserKey, KeyEnter}, {5, 5}, {kChooserKey, KeyEscape},
                         {kChooserKey, KeyEscape}, {kChooserKey, KeyUp}, {kChooserKey, KeySpace}});
    std::vector<int> forward, backward;
    for (std::size_t i = 0; i < kTabOrder.size(); ++i) {
        userKeys(dialog, {KeyTab});
        forward.push_back(focusedControl(dialog));
    }
    EXPECT_EQ(text(IdSymbol0), "?/");
    for (std::size_t i = 1; i < kTabOrder.size(); ++i) {
        userKeys(dialog, {KeyShiftTab});
        backward.insert(backward.begin(), focusedControl(dialog));
    }
    EXPECT_EQ(forward, kTabOrder);
    EXPECT_EQ(backward, std::vector<int>(kTabOrder.begin(), kTabOrder.end() - 1));
    EXPECT_EQ(text(IdSymbol0) + text(IdSymbol1), "//>/");
    queueChooserPresses({{5, 5}, {294, 21}}); // and the mouse still needs two presses
    userFocus(dialog, IdSymbol1);
    EXPECT_EQ(text(IdSymbol1), "?/");
}

TEST_F(Keyboard, KeysMoveASliderAndItsLabelAsDraggingDoes)
{
    userFocus(dialog, IdPath0);
    userKeys(dialog, {KeyTab, KeyRight, KeyPageDown, KeyDown}); // a page is a fifth of 6..75
    EXPECT_EQ(text(IdTxDelayValue0), "333.3 ms");
    userKeys(dialog, {KeyPageUp, KeyUp, KeyLeft, KeyTab, KeyEnd, KeyTab, KeyTab, KeyEnd});
    EXPECT_EQ(text(IdTxDelayValue0) + text(IdIdleIntervalValue0), "233.3 ms423min 20sec");
    userKeys(dialog, {KeyHome});
    EXPECT_EQ(text(IdIdleIntervalValue0), "254 sec");
    userFocus(dialog, IdLog); // Return and Escape close nothing, not even from the log
    userKeys(dialog, {KeyEscape, KeyEnter});
    EXPECT_TRUE(enabled(IdLog));
}

TEST_F(Keyboard, EveryControlShowsItsWidestTextWhole)
{
    for (const ControlTexts& control : textsShownWhole())
        for (const std::string& shown : control.texts)
            EXPECT_EQ(textCutOff(dialog, control.id, shown), 0) << "control " << control.id << ": \"" << shown << '"';
}

} // namespace
