#include "behaviour_fixture.h"
#include "setting_displays.h"

namespace {

using SymbolChooser = MainDialogTest;

// The first press only arms the chooser, wherever it lands; every focus opens it
// again, and each configuration gets its own pick.
TEST_F(SymbolChooser, TheSecondPressPicksTheCellUnderIt)
{
    const struct {
        int edit, armX, armY, x, y;
        Texts symbols;
    } picks[] = {
        {IdSymbol0, 100, 100, 294, 21, {"?/", ">/"}}, {IdSymbol1, 5, 5, 293, 125, {"?/", "~/"}},
        {IdSymbol0, 5, 5, 20, 20, {"!/", "~/"}},      {IdSymbol1, 0, 0, 336, 0, {"!/", ">/"}}, // outside: the car
        {IdSymbol0, 0, 0, 314, 125, {"--", ">/"}},    {IdSymbol0, 1, 1, 21, 0, {"\"/", ">/"}},
    };
    for (const auto& pick : picks) {
        queueChooserPresses({{pick.armX, pick.armY}, {pick.x, pick.y}});
        userFocus(dialog, pick.edit);
        EXPECT_EQ(texts({IdSymbol0, IdSymbol1}), pick.symbols) << pick.x << "," << pick.y;
    }
}

using Keyboard = MainDialogTest;

// Reading order; a Symbol field opens the chooser and hands the focus on.
const std::vector<int> kTabOrder = {
    IdCallsign0, IdSsid0, IdHops0, IdPathType0, IdPath0, IdTxDelay0, IdDriveInterval0, IdDriveSpeed0, IdIdleFactor0,
    IdComment0, IdFrames0, IdCallsign1, IdSsid1, IdHops1, IdPathType1, IdPath1, IdTxDelay1, IdDriveInterval1,
    IdDriveSpeed1, IdIdleFactor1, IdComment1, IdFrames1, IdTiny13, IdSecondConfig, IdLog, IdProgram, IdPort, IdBaud};

TEST_F(Keyboard, TabAndShiftTabVisitEveryControlInReadingOrder)
{
    // The highlight starts on the field's symbol; Escape keeps it, also after an
    // arming press, and the next chooser is not armed.
    queueChooserPresses({{kChooserKey, KeyRight}, {kChooserKey, KeyEnter}, {5, 5}, {kChooserKey, KeyEscape},
                         {5, 5}, {kChooserKey, KeyEscape}, {kChooserKey, KeyUp}, {kChooserKey, KeySpace}});
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

const Texts kCannotOpen{MainDialogTest::kWarning, "cannot open selected COM-Port!"};

// Enter presses the push button with the focus, the dialog manager's default one;
// elsewhere Enter and Escape press and close nothing, not even from the log.
TEST_F(Keyboard, KeysMoveASliderAndPressOnlyTheFocusedButton)
{
    userFocus(dialog, IdPath0);
    userKeys(dialog, {KeyTab, KeyRight, KeyPageDown, KeyDown}); // a page is a fifth of 6..75
    EXPECT_EQ(text(IdTxDelayValue0), "333.3 ms");
    userKeys(dialog, {KeyPageUp, KeyUp, KeyLeft, KeyTab, KeyEnd, KeyTab, KeyTab, KeyEnd});
    EXPECT_EQ(text(IdTxDelayValue0) + text(IdIdleIntervalValue0), "233.3 ms423min 20sec");
    userKeys(dialog, {KeyHome});
    EXPECT_EQ(text(IdIdleIntervalValue0), "254 sec");
    userFocus(dialog, IdLog);
    userKeys(dialog, {KeyEscape, KeyEnter, KeyTab, KeyEnter, KeyShiftTab, KeyShiftTab, KeyEnter});
    userFocus(dialog, IdPath0);
    userKeys(dialog, {KeyEnter});
    EXPECT_EQ(messageTexts(), kCannotOpen);
    EXPECT_EQ(text(IdSecondConfig) + text(IdPath0), "Enable 2nd ConfigCOMPRESSED");
}

TEST_F(Keyboard, EveryControlShowsItsWidestTextWhole)
{
    for (const ControlTexts& control : textsShownWhole())
        for (const std::string& shown : control.texts)
            EXPECT_EQ(textCutOff(dialog, control.id, shown), 0) << "control " << control.id << ": \"" << shown << '"';
}

using Programming = MainDialogTest;

// An SSID that is no whole number from 0 to 15 is refused before anything is sent,
// but only in a configuration that is programmed (the random actions try the
// numbers); without a port the run ends at the open.
TEST_F(Programming, ThePressRefusesAWrongSsidOfAProgrammedConfiguration)
{
    retype(IdSsid1, "16");
    userClick(dialog, IdProgram);
    EXPECT_EQ(messageTexts(), Texts{"SSID of Config 1 must be a number from 0 to 15."});
    EXPECT_EQ(texts({IdStatus, IdLog}), (Texts{"", ""}));
    EXPECT_TRUE(recordedPauses().empty());
    userClick(dialog, IdSecondConfig);
    clearRecordedPrompts();
    userClick(dialog, IdProgram);
    EXPECT_EQ(messageTexts(), kCannotOpen);
}

} // namespace
