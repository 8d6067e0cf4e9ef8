#include "behaviour_fixture.h"

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
        {IdSymbol0, 1, 1, 42, 0, {"#/", ">/"}},
    };
    for (const auto& pick : picks) {
        queueChooserPresses({{pick.armX, pick.armY}, {pick.x, pick.y}});
        userFocus(dialog, pick.edit);
        EXPECT_EQ(texts({IdSymbol0, IdSymbol1}), pick.symbols) << pick.x << "," << pick.y;
    }
}

const Texts kCannotOpen{MainDialogTest::kWarning, "cannot open selected COM-Port!"};

using Programming = MainDialogTest;

// Only a whole number from 0 to 15 is an SSID; configuration 1 switched off is not
// programmed, so its SSID does not matter. Without a port the run ends at the open.
TEST_F(Programming, AnSsidThatIsNoWholeNumberFrom0To15IsRefusedBeforeAnythingIsSent)
{
    const struct {
        int id;
        const char* ssid;
        bool refused;
    } cases[] = {
        {IdSsid1, "16", true}, {IdSsid1, "15", false}, {IdSsid0, "-1", true},          {IdSsid0, "4294967295", true},
        {IdSsid0, "1 5", true}, {IdSsid0, "+3", true},  {IdSsid0, "99999999999", true}, {IdSsid0, "07", false},
        {IdSsid0, "", false},   {IdSsid1, "16", true},  {IdSecondConfig, nullptr, false},
    };
    for (const auto& c : cases) {
        c.ssid ? retype(c.id, c.ssid) : userClick(dialog, c.id);
        clearRecordedPrompts();
        userClick(dialog, IdProgram);
        const std::string refusal = "SSID of Config " + std::string(c.id == IdSsid0 ? "0" : "1") +
                                    " must be a number from 0 to 15.";
        EXPECT_EQ(messageTexts(), c.refused ? Texts{refusal} : kCannotOpen) << (c.ssid ? c.ssid : "off");
    }
    EXPECT_EQ(texts({IdStatus, IdLog}), (Texts{"", ""})); // without a port nothing was sent
    EXPECT_TRUE(recordedPauses().empty());
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
    EXPECT_EQ(messageTexts(), kCannotOpen);
    clearRecordedPrompts(); // and the run is over: the next press runs again
    userClick(dialog, IdProgram);
    EXPECT_EQ(recordedMessages().size(), 2u);
}

} // namespace
