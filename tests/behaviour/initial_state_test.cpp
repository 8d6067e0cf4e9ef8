#include "behaviour_fixture.h"

namespace {

PortEntry portNamed(const std::string& name) { return {name, "korvel-no-such-port-" + name, "", "", true, {}}; }

class InitialState : public MainDialogTest {
protected:
    void setUpPorts() override
    {
        ports = {{"ttyS0", "/dev/ttyS0", "", "", false, {PortBusy, 16, ""}}, portNamed("COM1"), portNamed("COM4")};
    }
};

// Both configurations in their units, the budget, the first port that opens and
// 4800 Bd; only Tiny13 can be chosen.
TEST_F(InitialState, BothConfigurationsHoldTheDefaultsInTheirUnits)
{
    const Texts shown{"NOCALL", "9", ">/", "COMPRESSED", "", "2",
                      "233.3 ms", "30 sec", "6min 0sec", "10 km/h", "10 frames"};
    EXPECT_EQ(texts({IdCallsign0, IdSsid0, IdSymbol0, IdPath0, IdComment0, IdHopCount0, IdTxDelayValue0,
                     IdDriveIntervalValue0, IdIdleIntervalValue0, IdDriveSpeedValue0, IdFramesValue0}), shown);
    EXPECT_EQ(texts({IdCallsign1, IdSsid1, IdSymbol1, IdPath1, IdComment1, IdHopCount1, IdTxDelayValue1,
                     IdDriveIntervalValue1, IdIdleIntervalValue1, IdDriveSpeedValue1, IdFramesValue1}), shown);
    EXPECT_EQ(texts({IdConfig0SpaceLeft, IdEepromSpaceLeft, IdSecondConfig, IdStatus, IdLog, IdBaud, IdPort}),
              (Texts{"32", "21", "Disable 2nd Config", "", "", "4800 Bd", "COM1"}));
    EXPECT_TRUE(recordedMessages().empty());
    EXPECT_TRUE(getCheck(dialog, IdTiny13) && enabled(IdTiny13) && !enabled(IdTiny2313) && !enabled(IdMega8));
    for (int id : {IdCallsign0, IdCallsign1})
        EXPECT_EQ(textLimitOf(dialog, id), 6u);
    userChooseComboRow(dialog, IdPort, 0);
    EXPECT_EQ(text(IdPort), "ttyS0 (busy)");
}

// Each opening of the list finds the ports again and keeps the choice. A chosen
// port that is gone stays chosen, marked, and the press refuses it until another
// is picked; nothing else is opened in its place.
TEST_F(InitialState, OpeningThePortListFindsThePortsAgainAndKeepsTheChoice)
{
    ports = {portNamed("COM3"), portNamed("COM4"), portNamed("COM1")}; // plugged in, and the order changed
    userChooseComboRow(dialog, IdPort, -1);
    EXPECT_EQ(text(IdPort), "COM1");
    ports.pop_back();
    for (int opening = 0; opening < 2; ++opening)
        userChooseComboRow(dialog, IdPort, -1);
    EXPECT_EQ(getComboRowData(dialog, IdPort, 3), -1); // COM3, COM4, COM1: kept once
    userClick(dialog, IdProgram);
    EXPECT_EQ(texts({IdPort, IdStatus}), (Texts{"COM1 (not connected)", ""}));
    EXPECT_EQ(messageTexts().back(),
              "cannot open selected COM-Port!\nCOM1 is not connected: connect it, or choose another port.");
    userChooseComboRow(dialog, IdPort, 1); // another picked: the mark goes
    userChooseComboRow(dialog, IdPort, -1);
    EXPECT_EQ(getComboRowData(dialog, IdPort, 2), -1);
    EXPECT_EQ(text(IdPort), "COM4");
}

// Typed and pasted text is Windows-1252, upper-cased within it where a field
// wants capitals; a paste ends at its first line break and no control character
// gets in.
TEST_F(MainDialogTest, TypedAndPastedTextIsWindows1252WithoutControlCharacters)
{
    retype(IdCallsign0, "dl1\xe9\xff\x9axyz");
    retype(IdPath1, "wide1-1");
    userType(dialog, IdComment0, "\x80\xe9");
    userPaste(dialog, IdComment0, "ab\tc\x01\x7f" "d\r\nsecond line");
    userType(dialog, IdComment0, "\t\x7f" "e");
    userPaste(dialog, IdComment1, "\nnothing");
    EXPECT_EQ(texts({IdCallsign0, IdPath1, IdComment0, IdComment1}),
              (Texts{"DL1\xc9\x9f\x8a", "WIDE1-1", "\x80\xe9" "abcde", ""}));
}

// Limits count what the record counts: a character outside Windows-1252, even one
// of two UTF-16 units, goes in whole or not at all (a host that holds
// Windows-1252 shows the record's text).
TEST_F(MainDialogTest, APasteAtTheLimitNeverSplitsACharacter)
{
    const struct {
        unsigned limit;
        std::u16string paste, shown;
        const char* record;
    } cases[] = {
        {4, u"\U0001F600", u"abc\U0001F600", "abc?"}, {3, u"\U0001F600", u"abc", "abc"},
        {5, u"x\U0001F600y", u"abcx\U0001F600", "abcx?"},
        {6, u"\u0141\U0001F600\U0001F600z", u"abc\u0141\U0001F600\U0001F600", "abc???"},
    };
    for (const auto& c : cases) {
        setItemText(dialog, IdComment0, "abc");
        setTextLimit(dialog, IdComment0, c.limit);
        userPaste(dialog, IdComment0, c.paste);
        const std::u16string shown = shownText(dialog, IdComment0);
        EXPECT_TRUE(shown == c.shown || shown == utf16FromAnsi(c.record)) << c.limit << ", " << shown.size();
        EXPECT_EQ(text(IdComment0), c.record) << c.limit;
    }
}

} // namespace
