// The Win32 behaviours that the other hosts reproduce, at their edges.
#include <gtest/gtest.h>

#include "dialog_text.h"
#include "dialog_units.h"

TEST(DialogText, ReadsNumbersLikeGetDlgItemInt)
{
    const struct {
        const char* text;
        unsigned value;
    } cases[] = {
        {"9", 9},          {"15", 15},       {"  12", 12},        {"12a", 12},
        {"+7", 7},         {"", 0},          {"abc", 0},          {" ", 0},
        {"-1", 0},         {"-5", 4294967291u}, {"4294967294", 4294967294u},
        {"4294967295", 0}, {"4294967296", 0}, {"99999999999999999999", 0},
        {"0000000000000000000000000000012", 0}, // only 29 characters count
    };
    for (const auto& c : cases)
        EXPECT_EQ(dialogTextToUnsigned(c.text), c.value) << '"' << c.text << '"';
}

// Rounded as Windows rounds, at edges that the fonts at hand need not reach.
TEST(DialogUnits, RoundAsWindowsDoes)
{
    EXPECT_EQ(averageLetterWidth(52 * 6 + 25), 6);
    EXPECT_EQ(averageLetterWidth(52 * 6 + 26), 7);
    EXPECT_EQ(dluToPixelsX(194, {7, 16}), 340); // 339.5
    EXPECT_EQ(dluToPixelsY(4, {6, 13}), 7);     // 6.5
}
