#include <cstring>

#include <gtest/gtest.h>

#include "dialog_state.h"
#include "symbol_grid.h"

namespace {

TEST(SymbolAtPoint, CellsGridLinesAndOutside)
{
    struct Case {
        int x, y;
        const char* symbol;
    };
    const Case cases[] = {
        {0, 0, "!/"},     {20, 20, "!/"},    {20, 21, "1/"},    {21, 0, "\"/"},   // grid lines open a cell
        {273, 21, ">/"},  {293, 41, ">/"},   {294, 21, "?/"},   {293, 125, "~/"}, // the car and the last
        {314, 125, "--"}, {335, 125, "--"},  {335, 0, "0/"},    {0, 125, "q/"},   // fillers, corners
        {336, 0, ">/"},   {-1, 5, ">/"},     {0, 126, ">/"},    {100, 300, ">/"}, // outside
        {-100, -100, ">/"}, {2147483647, 0, ">/"}, {0, -2147483647 - 1, ">/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(symbolAtPoint(c.x, c.y), c.symbol) << c.x << "," << c.y;
}

TEST(SymbolGrid, RunsThroughThePrimaryTableInAsciiOrder)
{
    for (int i = 0; i < 94; ++i) {
        EXPECT_EQ(symbolGrid[i][0], static_cast<char>(0x21 + i));
        EXPECT_EQ(symbolGrid[i][1], '/');
        EXPECT_EQ(symbolGrid[i][2], '\0');
    }
    EXPECT_STREQ(symbolGrid[94], "--");
    EXPECT_STREQ(symbolGrid[95], "--");
}

TEST(SymbolChooserPress, ArmsThenPicksThenStartsOver)
{
    SymbolPick pick;

    EXPECT_EQ(symbolChooserPress(pick, 294, 21), 0);
    EXPECT_TRUE(pick.armed);
    EXPECT_STREQ(pick.chosen, ""); // arming picks nothing

    EXPECT_EQ(symbolChooserPress(pick, 20, 20), 1);
    EXPECT_FALSE(pick.armed);
    EXPECT_STREQ(pick.chosen, "!/");

    // A new chooser starts unarmed and keeps the last pick until its own.
    EXPECT_EQ(symbolChooserPress(pick, 0, 0), 0);
    EXPECT_STREQ(pick.chosen, "!/");
    EXPECT_EQ(symbolChooserPress(pick, -5, -5), 1);
    EXPECT_STREQ(pick.chosen, ">/");
}

} // namespace
