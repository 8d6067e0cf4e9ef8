#include "behaviour_fixture.h"

namespace {

const std::string kPathDoesNotFit = "path doesn't fit in EEprom";

std::string repeated(const std::string& piece, int times) { return times > 0 ? piece + repeated(piece, times - 1) : ""; }

using OversizedInput = MainDialogTest;

TEST_F(OversizedInput, ALongPastedPathIsTrimmedToWhatFitsUnderOneMessage)
{
    // The first one holds "COMPRESSED" only beyond the 255 characters the budget counts.
    for (const std::string& paste : {repeated("WIDE1-1,", 40) + "COMPRESSED", repeated("WIDE1-1,", 125),
                                     repeated("RELAY,", 50)}) {
        clearText(IdPath0);
        clearRecordedPrompts();
        userPaste(dialog, IdPath0, paste);
        EXPECT_EQ(messageTexts(), std::vector<std::string>(1, kPathDoesNotFit)) << paste.size();
        EXPECT_GE(std::stoi(text(IdConfig0SpaceLeft)), 0) << paste.size();
        EXPECT_GE(std::stoi(text(IdEepromSpaceLeft)), 0) << paste.size();
        EXPECT_EQ(text(IdPath0).substr(0, 5), paste.substr(0, 5));
    }
}

TEST_F(OversizedInput, ClosingTheDialogWhileTheMessageIsOpenEndsEverything)
{
    clearText(IdPath0);
    clearRecordedPrompts();
    setMessageHook([this](const RecordedMessage&) { userCloseMainDialog(dialog); });
    userPaste(dialog, IdPath0, repeated("RELAY,", 50));
    setMessageHook({});
    userClick(dialog, IdProgram);
    userType(dialog, IdComment1, std::string(30, 'c'));
    EXPECT_EQ(messageTexts(), std::vector<std::string>(1, kPathDoesNotFit));
}

TEST_F(OversizedInput, NoControlCharacterReachesAnEdit)
{
    userPaste(dialog, IdComment0, "ab\tc\x01\x7f" "d\r\nsecond line");
    userType(dialog, IdComment0, "\t\x7f" "e");
    userPaste(dialog, IdComment1, "\nnothing");
    EXPECT_EQ(text(IdComment0), "abcde");
    EXPECT_EQ(text(IdComment1), "");
}

TEST_F(OversizedInput, TypedTextIsWindows1252)
{
    userType(dialog, IdComment0, "\x80\xe9");
    clearText(IdCallsign0);
    userType(dialog, IdCallsign0, "\xe9\xff\x9a");
    EXPECT_EQ(text(IdComment0), "\x80\xe9");
    EXPECT_EQ(text(IdCallsign0), "\xc9\x9f\x8a"); // upper case within Windows-1252
}

TEST_F(OversizedInput, AnSsidThatIsNoWholeNumberFrom0To15IsRefused)
{
    for (const char* ssid : {"-1", "4294967295", "99999999999", "16", "1 5", "+3", "07", ""}) {
        clearText(IdSsid0);
        userType(dialog, IdSsid0, ssid);
        clearRecordedPrompts();
        userClick(dialog, IdProgram);
        const bool valid = std::string(ssid) == "07" || !*ssid;
        ASSERT_FALSE(messageTexts().empty());
        EXPECT_EQ(messageTexts()[0] == "SSID of Config 0 must be a number from 0 to 15.", !valid) << ssid;
        EXPECT_EQ(messageTexts().size() == 1, !valid) << ssid; // the warning and the port's message
    }
}

} // namespace
