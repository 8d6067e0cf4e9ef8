// The real dialog logic on the Qt host, through the behaviour driver: the few
// things that only come out right when host and logic meet.

#include <QApplication>

#include <gtest/gtest.h>

#include "host_driver.h"
#include "symbols/symbol_grid.h"
#include "ui/control_ids.h"
#include "ui/dialog_qt.h"

namespace {

class QtDialogTest : public ::testing::Test {
protected:
    void SetUp() override { dialog = openMainDialogForTest(); }
    void TearDown() override { closeMainDialogForTest(dialog); }
    std::string text(int id) { return getItemText(dialog, id, 1023); }
    Dialog* dialog = nullptr;
};

TEST_F(QtDialogTest, InitialStateIsBuiltBeforeTheDialogShows)
{
    EXPECT_EQ(text(IdCallsign0), "NOCALL");
    EXPECT_EQ(text(IdSymbol1), ">/");
    EXPECT_EQ(text(IdPath0), "COMPRESSED") << "the path edit upper-cases the list's \"compressed\"";
    EXPECT_EQ(text(IdPath1), "COMPRESSED");
    EXPECT_EQ(text(IdTxDelayValue0), "233.3 ms");
    EXPECT_EQ(text(IdBaud), "4800 Bd");
    EXPECT_EQ(getComboSelection(dialog, IdPathType1), 0);
    EXPECT_EQ(textLimitOf(dialog, IdCallsign1), 6u);
    EXPECT_TRUE(getCheck(dialog, IdTiny13));
    EXPECT_FALSE(isItemEnabled(dialog, IdMega8));
    EXPECT_EQ(QApplication::focusWidget(), dialog) << "no Symbol edit has the focus, so no chooser opens";
}

TEST_F(QtDialogTest, TypedCallsignIsUpperCasedAndHeldToSixCharacters)
{
    userBackspace(dialog, IdCallsign0, 6);
    userType(dialog, IdCallsign0, "dl1abcd");
    EXPECT_EQ(text(IdCallsign0), "DL1ABC");
}

TEST_F(QtDialogTest, FocusOnASymbolEditPicksIntoIt)
{
    queueChooserPresses({{10, 10}, {105, 0}});
    userFocus(dialog, IdSymbol1);
    EXPECT_EQ(text(IdSymbol1), "&/");
    EXPECT_EQ(text(IdSymbol0), ">/");
}

TEST_F(QtDialogTest, PathTypeChosenByTheUserRewritesThePath)
{
    userChooseComboRow(dialog, IdPathType0, 1);
    EXPECT_EQ(text(IdPath0), "WIDE2-2");
    userDragTrackbar(dialog, IdHops0, 3);
    EXPECT_EQ(text(IdHopCount0), "3");
}

} // namespace
