#include "behaviour_fixture.h"

namespace {

const Texts kPathDoesNotFit{"path doesn't fit in EEprom"};

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
        EXPECT_EQ(messageTexts(), kPathDoesNotFit) << paste.size();
        EXPECT_GE(std::stoi(text(IdConfig0SpaceLeft)), 0) << paste.size();
        EXPECT_GE(std::stoi(text(IdEepromSpaceLeft)), 0) << paste.size();
        EXPECT_EQ(text(IdPath0).substr(0, 5), paste.substr(0, 5));
    }
}

TEST_F(OversizedInput, ClosingTheDialogWhileTheMessageIsOpenEndsEverything)
{
    clearText(IdPath0);
    setMessageHook([this](const RecordedMessage&) { userCloseMainDialog(dialog); });
    userPaste(dialog, IdPath0, repeated("RELAY,", 50));
    setMessageHook({});
    userClick(dialog, IdProgram);
    userType(dialog, IdComment1, std::string(30, 'c'));
    EXPECT_EQ(messageTexts(), kPathDoesNotFit);
}

// Typed and pasted text is Windows-1252, upper-cased within it where a field
// wants capitals; a paste ends at its first line break and no control character
// gets in.
TEST_F(OversizedInput, TextIsWindows1252WithoutControlCharacters)
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

} // namespace
