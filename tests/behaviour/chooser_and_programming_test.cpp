#include "behaviour_fixture.h"

namespace {

const std::string kWarning =
    "please make sure that gps-receiver is disconnected from Tracker,\n"
    "otherwise to much power is consumed and/or serial interface will be disturbed.";

using SymbolChooser = MainDialogTest;

TEST_F(SymbolChooser, TheSecondPressPicksTheCellUnderIt)
{
    // The first press only arms the chooser, wherever it lands.
    queueChooserPresses({{100, 100}, {294, 21}});
    userFocus(dialog, IdSymbol0);
    EXPECT_EQ(text(IdSymbol0), "?/");
    EXPECT_EQ(text(IdSymbol1), ">/");
}

TEST_F(SymbolChooser, EachConfigurationGetsItsOwnPickAndEachOpeningStartsUnarmed)
{
    queueChooserPresses({{5, 5}, {20, 20}});
    userFocus(dialog, IdSymbol0);
    queueChooserPresses({{5, 5}, {293, 125}});
    userFocus(dialog, IdSymbol1);
    EXPECT_EQ(text(IdSymbol0), "!/");
    EXPECT_EQ(text(IdSymbol1), "~/");
}

TEST_F(SymbolChooser, PressesOutsideTheGridPickTheCar)
{
    queueChooserPresses({{0, 0}, {336, 0}});
    userFocus(dialog, IdSymbol1);
    EXPECT_EQ(text(IdSymbol1), ">/");
    queueChooserPresses({{0, 0}, {314, 125}});
    userFocus(dialog, IdSymbol0);
    EXPECT_EQ(text(IdSymbol0), "--");
}

TEST_F(SymbolChooser, EveryFocusOpensItAgain)
{
    queueChooserPresses({{1, 1}, {21, 0}});
    userFocus(dialog, IdSymbol0);
    EXPECT_EQ(text(IdSymbol0), "\"/");
    // The focus went on to the next control, so the same edit opens the chooser again.
    queueChooserPresses({{1, 1}, {42, 0}});
    userFocus(dialog, IdSymbol0);
    EXPECT_EQ(text(IdSymbol0), "#/");
}

using Programming = MainDialogTest;

TEST_F(Programming, WithoutAPortTheWarningIsFollowedByTheOpenFailure)
{
    setItemText(dialog, IdStatus, "done.");
    userClick(dialog, IdProgram);
    ASSERT_EQ(recordedMessages().size(), 2u);
    EXPECT_EQ(recordedMessages()[0].text, kWarning);
    EXPECT_EQ(recordedMessages()[0].caption, "KorvelConfig");
    EXPECT_EQ(recordedMessages()[1].text, "cannot open selected COM-Port!");
    EXPECT_EQ(recordedMessages()[1].caption, "KorvelConfig");
    EXPECT_EQ(text(IdStatus), "done.");
    EXPECT_EQ(text(IdLog), "");
    EXPECT_TRUE(recordedPauses().empty());
}

TEST_F(Programming, AnSsidAbove15IsRefusedBeforeAnythingIsSent)
{
    clearText(IdSsid1);
    userType(dialog, IdSsid1, "16");
    userClick(dialog, IdProgram);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"SSID of Config 1 must be a number from 0 to 15."});

    // Configuration 1 switched off is not programmed, so its SSID does not matter.
    clearRecordedPrompts();
    userClick(dialog, IdSecondConfig);
    userClick(dialog, IdProgram);
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{kWarning, "cannot open selected COM-Port!"}));
}

TEST_F(Programming, APressDuringARunsMessageDoesNotStartASecondRun)
{
    int presses = 0;
    setMessageHook([&](const RecordedMessage& message) {
        if (message.text == kWarning && presses++ == 0)
            userClick(dialog, IdProgram);
    });
    userClick(dialog, IdProgram);
    setMessageHook({});
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{kWarning, "cannot open selected COM-Port!"}));
    // And the run is over: the next press runs again.
    clearRecordedPrompts();
    userClick(dialog, IdProgram);
    EXPECT_EQ(recordedMessages().size(), 2u);
}

} // namespace
