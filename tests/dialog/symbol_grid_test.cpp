#include <gtest/gtest.h>

#include "symbol_grid.h"

TEST(SymbolGrid, CellsGridLinesAndOutside)
{
    // The primary table in ASCII order, then two fillers.
    for (int i = 0; i < 96; ++i)
        EXPECT_EQ(symbolGrid[i], i < 94 ? std::string(1, static_cast<char>(0x21 + i)) + '/' : "--") << i;
    const struct {
        int x, y;
        const char* symbol;
    } cases[] = {
        {0, 0, "!/"},     {20, 20, "!/"},    {20, 21, "1/"},    {21, 0, "\"/"},   // grid lines open a cell
        {273, 21, ">/"},  {293, 41, ">/"},   {294, 21, "?/"},   {293, 125, "~/"}, // the car and the last
        {314, 125, "--"}, {335, 125, "--"},  {335, 0, "0/"},    {0, 125, "q/"},   // fillers, corners
        {336, 0, ">/"},   {-1, 5, ">/"},     {0, 126, ">/"},    {100, 300, ">/"}, // outside
        {-100, -100, ">/"}, {2147483647, 0, ">/"}, {0, -2147483647 - 1, ">/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(symbolAtPoint(c.x, c.y), c.symbol) << c.x << "," << c.y;
}
