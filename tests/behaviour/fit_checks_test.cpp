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

    // A text put into the path at once, as a paste does.
    void pastePath(int id, const std::string& path) { setItemText(dialog, id, path); }
};

TEST_F(FitChecks, APathThatDoesNotFitLosesTwoCharactersAtATimeUnderOneMessage)
{
    leaveRoomForPath0(25); // room for one element
    EXPECT_EQ(text(IdConfig0SpaceLeft), "7");
    pastePath(IdPath0, "WIDE1-1,WIDE2-2");
    EXPECT_EQ(text(IdPath0), "WIDE1-1");
    EXPECT_EQ(messageTexts(), std::vector<std::string>(1, kPathDoesNotFit));
    EXPECT_EQ(recordedMessages().front().caption, "KorvelConfig");
    EXPECT_EQ(text(IdConfig0SpaceLeft), "0");
}

TEST_F(FitChecks, TypingThePathStopsAtWhatFits)
{
    // Both configurations on: 21 bytes, room for three elements.
    clearText(IdPath0);
    userType(dialog, IdPath0, "WIDE1-1,WIDE2-2,WIDE3-3,W");
    EXPECT_EQ(text(IdPath0), "WIDE1-1,WIDE2-2,WIDE3-3");
    EXPECT_EQ(messageTexts(), std::vector<std::string>(1, kPathDoesNotFit));
    EXPECT_EQ(text(IdEepromSpaceLeft), "0");
}

TEST_F(FitChecks, APathWithoutSeparatorFallsBackToCompressedInOneStep)
{
    leaveRoomForPath0(26); // six bytes: not even one element
    pastePath(IdPath0, "WIDE1-1");
    EXPECT_EQ(text(IdPath0), "COMPRESSED");
    EXPECT_EQ(getComboSelection(dialog, IdPathType0), 0);
    EXPECT_EQ(messageTexts(), std::vector<std::string>(1, kPathDoesNotFit));
}

TEST_F(FitChecks, ChoosingAPathTypeThatDoesNotFitStillAppliesItsMinimum)
{
    leaveRoomForPath0(26);
    userDragTrackbar(dialog, IdHops0, 3);
    userChooseComboRow(dialog, IdPathType0, WideNN);
    EXPECT_EQ(messageTexts(), std::vector<std::string>(1, kPathDoesNotFit));
    EXPECT_EQ(getComboSelection(dialog, IdPathType0), 0);
    EXPECT_EQ(text(IdPath0), "COMPRESSED");
    EXPECT_EQ(position(IdDriveInterval0), 60);
    userDragTrackbar(dialog, IdDriveInterval0, 5);
    EXPECT_EQ(position(IdDriveInterval0), 60);
}

TEST_F(FitChecks, APathOfASwitchedOffConfiguration1IsNotCounted)
{
    leaveRoomForPath0(32); // Config0 area full, EEPROM has 11 left
    pastePath(IdPath1, "WIDE1-1");
    EXPECT_EQ(text(IdPath1), "WIDE1-1"); // configuration 1 is off: not counted
    EXPECT_TRUE(recordedMessages().empty());
}

// Configuration 1 with a long path, and a comment 0 that makes them not fit while
// both are on (reached through the automatic switching, which turns it back on).
class Overfull : public FitChecks {
protected:
    void overfill()
    {
        clearText(IdPath1);
        userType(dialog, IdPath1, "WIDE1-1,WIDE2-2,WIDE3-3");
        ASSERT_EQ(text(IdEepromSpaceLeft), "0");
        userType(dialog, IdComment0, "A"); // switches configuration 1 off ...
        userType(dialog, IdComment0, "B"); // ... and on again: 63 - 23 - 42
        ASSERT_EQ(text(IdEepromSpaceLeft), "-2");
        ASSERT_EQ(text(IdSecondConfig), "Disable 2nd Config");
        clearRecordedPrompts();
    }
};

TEST_F(Overfull, ACompressedPathThatCannotFitIsReportedOnceAndLeftAlone)
{
    overfill();
    userDragTrackbar(dialog, IdFrames0, 11); // rewrites both paths
    EXPECT_EQ(text(IdPath0), "COMPRESSED");
    EXPECT_EQ(text(IdPath1), "COMPRESSED"); // its path type is still "compressed"
    EXPECT_EQ(messageTexts(), std::vector<std::string>(1, kPathDoesNotFit));
}

TEST_F(Overfull, AnEmptyComment1ThatCannotFitIsReportedOnceAndLeftAlone)
{
    overfill();
    userType(dialog, IdComment1, "Z");
    EXPECT_EQ(text(IdComment1), "");
    EXPECT_EQ(messageTexts(), std::vector<std::string>(1, kCommentDoesNotFit));
}

TEST_F(FitChecks, TheCharacterThatOverflowsComment1EmptiesIt)
{
    userFocus(dialog, IdComment1);
    userType(dialog, IdComment1, std::string(21, 'c'));
    EXPECT_EQ(text(IdEepromSpaceLeft), "0");
    EXPECT_TRUE(recordedMessages().empty());

    // With no room left at the focus, comment 1 gets no usable limit.
    focusElsewhere();
    userFocus(dialog, IdComment1);
    userType(dialog, IdComment1, "d");
    EXPECT_EQ(text(IdComment1), "");
    EXPECT_EQ(messageTexts(), std::vector<std::string>(1, kCommentDoesNotFit));
    EXPECT_EQ(recordedMessages().front().caption, "KorvelConfig");
}

TEST_F(FitChecks, Comment1LimitCountsTheWholeText)
{
    // Comment 1 of 10 with 5 left: nothing more until it is shorter than 5.
    userType(dialog, IdComment1, "0123456789");
    userType(dialog, IdComment0, "abcdef");
    ASSERT_EQ(text(IdEepromSpaceLeft), "5");
    userFocus(dialog, IdComment1);
    EXPECT_EQ(textLimitOf(dialog, IdComment1), 5u);
    userType(dialog, IdComment1, "X");
    EXPECT_EQ(text(IdComment1), "0123456789");
    userBackspace(dialog, IdComment1, 6);
    userType(dialog, IdComment1, "XY");
    EXPECT_EQ(text(IdComment1), "0123X");
}

TEST_F(FitChecks, Comment0LimitIsItsLengthPlusTheRoomLeft)
{
    userClick(dialog, IdSecondConfig);
    pastePath(IdPath0, "WIDE1-1,WIDE2-2,WIDE3-3");
    userType(dialog, IdComment0, "abcdef");
    ASSERT_EQ(text(IdConfig0SpaceLeft), "5");
    userFocus(dialog, IdComment0);
    EXPECT_EQ(textLimitOf(dialog, IdComment0), 11u);
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(FitChecks, Comment0IsNeverRefusedOnlyLimited)
{
    userFocus(dialog, IdComment0);
    EXPECT_EQ(textLimitOf(dialog, IdComment0), 32u);
    userType(dialog, IdComment0, std::string(40, 'q'));
    EXPECT_EQ(text(IdComment0), std::string(32, 'q'));
    EXPECT_TRUE(recordedMessages().empty());
    EXPECT_EQ(text(IdConfig0SpaceLeft), "0");
}

} // namespace
