#include <gtest/gtest.h>

#include "ui/dialog_units.h"

TEST(MulDiv, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(mulDiv(194, 7, 4), 340); // 339.5
    EXPECT_EQ(mulDiv(5, 1, 2), 3);
    EXPECT_EQ(mulDiv(-5, 1, 2), -3);
    EXPECT_EQ(mulDiv(5, -1, 2), -3);
    EXPECT_EQ(mulDiv(5, 1, -2), -3);
    EXPECT_EQ(mulDiv(7, 1, 3), 2);  // 2.33
    EXPECT_EQ(mulDiv(8, 1, 3), 3);  // 2.67
    EXPECT_EQ(mulDiv(0, 9, 4), 0);
}

TEST(MulDiv, KeepsTheFullProductAndRefusesZeroDivisor)
{
    EXPECT_EQ(mulDiv(2000000000, 3, 4), 1500000000);
    EXPECT_EQ(mulDiv(1, 2, 0), -1);
}

TEST(DialogUnits, LetterAverageRoundsAsWindowsDoes)
{
    EXPECT_EQ(averageLetterWidth(52 * 7), 7);
    EXPECT_EQ(averageLetterWidth(52 * 6 + 25), 6); // 6.48
    EXPECT_EQ(averageLetterWidth(52 * 6 + 26), 7); // 6.5
    EXPECT_EQ(averageLetterWidth(0), 0);
}

TEST(DialogUnits, ConvertsEachValueOnItsOwn)
{
    const DialogBaseUnits tahoma10{7, 16};
    const PixelRect rect = dluRectToPixels(3, 3, 194, 65, tahoma10);
    EXPECT_EQ(rect.x, 5);   // 5.25
    EXPECT_EQ(rect.y, 6);
    EXPECT_EQ(rect.width, 340);
    EXPECT_EQ(rect.height, 130);
    // Classic 8 pt base units: 4 x 8 dialog units are 6 x 13 pixels (12.5, rounded up).
    const DialogBaseUnits classic{6, 13};
    EXPECT_EQ(dluToPixelsX(4, classic), 6);
    EXPECT_EQ(dluToPixelsY(8, classic), 13);
    EXPECT_EQ(dluToPixelsY(4, classic), 7);
}
