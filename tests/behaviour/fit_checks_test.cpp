#include "behaviour_fixture.h"

namespace {

const std::string kPathDoesNotFit = "path doesn't fit in EEprom";
const std::string kCommentDoesNotFit = "comment text doesn't fit in EEprom.";

class FitChecks : public MainDialogTest {
protected:
    // Configuration 1 off by hand and a comment 0 of the given length: what is left
    // for configuration 0's path is 32 - length bytes.
    void leaveRoomForPath0(int commentLength)
    {
        userClick(dialog, IdSecondConfig);
        userFocus(dialog, IdComment0);
        userType(dialog, IdComment0, std::string(static_cast<std::size_t>(commentLength), 'X'));
        clearRecordedPrompts();
    }
};

TEST_F(FitChecks, APathThatDoesNotFitIsCutAtItsSeparatorsOrFallsBackToCompressed)
{
    const struct {
        int comment0; // with configuration 1 off; -1: both on and no comment
        int path;
        const char* text;
        bool typed; // else pasted at once
        Texts shown; // the path, the room left in configuration 0's area and in the EEPROM
        bool message;
    } cases[] = {
        {25, IdPath0, "WIDE1-1 WIDE2-2", false, {"WIDE1-1", "0", "11"}, true}, // two characters a step
        {-1, IdPath0, "WIDE1-1,WIDE2-2,WIDE3-3,W", true, {"WIDE1-1,WIDE2-2,WIDE3-3", "11", "0"}, true},
        {26, IdPath0, "WIDE1-1", false, {"COMPRESSED", "6", "17"}, true}, // no separator: in one step
        {32, IdPath1, "WIDE1-1", false, {"WIDE1-1", "0", "11"}, false}, // a switched-off configuration 1 is not counted
    };
    for (const auto& c : cases) {
        reopen();
        if (c.comment0 >= 0)
            leaveRoomForPath0(c.comment0);
        c.typed ? retype(c.path, c.text) : setItemText(dialog, c.path, c.text);
        EXPECT_EQ(texts({c.path, IdConfig0SpaceLeft, IdEepromSpaceLeft}), c.shown) << c.text;
        EXPECT_EQ(messageTexts(), c.message ? Texts{kPathDoesNotFit} : Texts{}) << c.text;
    }
}

TEST_F(FitChecks, ChoosingAPathTypeThatDoesNotFitStillAppliesItsMinimum)
{
    leaveRoomForPath0(26);
    userDragTrackbar(dialog, IdHops0, 3);
    userChooseComboRow(dialog, IdPathType0, WideNN);
    EXPECT_EQ(messageTexts(), Texts{kPathDoesNotFit});
    EXPECT_EQ(getComboSelection(dialog, IdPathType0), 0);
    EXPECT_EQ(texts({IdPath0, IdDriveIntervalValue0}), (Texts{"COMPRESSED", "60 sec"}));
    userDragTrackbar(dialog, IdDriveInterval0, 5);
    EXPECT_EQ(getTrackbarPos(dialog, IdDriveInterval0), 60);
}

// A comment's limit is set at its focus. Comment 1 takes the room left in the
// EEPROM; with none left it gets no usable limit, and the character that
// overflows empties it. Comment 0 takes its length plus the room left in its
// area, and is never refused.
TEST_F(FitChecks, CommentLimitsAtTheFocus)
{
    userFocus(dialog, IdComment1);
    userType(dialog, IdComment1, std::string(21, 'c'));
    EXPECT_EQ(text(IdEepromSpaceLeft), "0");
    EXPECT_TRUE(recordedMessages().empty());
    userFocus(dialog, IdCallsign0);
    userFocus(dialog, IdComment1);
    userType(dialog, IdComment1, "d");
    EXPECT_EQ(text(IdComment1), "");
    EXPECT_EQ(messageTexts(), Texts{kCommentDoesNotFit});
    EXPECT_EQ(recordedMessages().front().caption, "KorvelConfig");
    // Comment 1 of 10 with 5 left: nothing more until it is shorter than 5.
    userType(dialog, IdComment1, "0123456789");
    userType(dialog, IdComment0, "abcdef");
    ASSERT_EQ(text(IdEepromSpaceLeft), "5");
    userFocus(dialog, IdCallsign0);
    userFocus(dialog, IdComment1);
    EXPECT_EQ(textLimitOf(dialog, IdComment1), 5u);
    userType(dialog, IdComment1, "X");
    EXPECT_EQ(text(IdComment1), "0123456789");
    userBackspace(dialog, IdComment1, 6);
    userType(dialog, IdComment1, "XY");
    EXPECT_EQ(text(IdComment1), "0123X");
    userClick(dialog, IdSecondConfig);
    setItemText(dialog, IdPath0, "WIDE1-1,WIDE2-2,WIDE3-3");
    ASSERT_EQ(text(IdConfig0SpaceLeft), "5");
    userFocus(dialog, IdComment0);
    EXPECT_EQ(textLimitOf(dialog, IdComment0), 11u);
    userPaste(dialog, IdComment0, "0123456789");
    EXPECT_EQ(texts({IdComment0, IdConfig0SpaceLeft}), (Texts{"abcdef01234", "0"}));
    EXPECT_EQ(messageTexts(), Texts{kCommentDoesNotFit});
}

// A path cut to fit beside a configuration 1 switched off no longer fits once it is
// on again: the press refuses before anything is sent.
TEST_F(FitChecks, SettingsOverTheEepromAreNeverSent)
{
    userChooseComboRow(dialog, IdPathType1, Relay);
    userClick(dialog, IdSecondConfig);
    clearText(IdPath0);
    userPaste(dialog, IdPath0, "WIDE1-1,WIDE1-1,WIDE1-1,WIDE1-1,WIDE1-1,WIDE1-1,"); // cut to four elements
    userClick(dialog, IdSecondConfig);
    ASSERT_EQ(text(IdEepromSpaceLeft), "-14");
    clearRecordedPrompts();
    userClick(dialog, IdProgram);
    EXPECT_EQ(messageTexts(), Texts{"Config 1 does not fit in EEprom (14 bytes too many)"});
    EXPECT_EQ(texts({IdLog, IdStatus}), (Texts{"", ""}));
}

} // namespace
