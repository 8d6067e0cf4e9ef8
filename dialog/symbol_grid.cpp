#include "symbol_grid.h"

#include "dialog_state.h"

#include <cstring>

// Row-major: the primary table in ASCII order from '!', then two fillers.
const char symbolGrid[kSymbolColumns * kSymbolRows][3] = {
    "!/", "\"/", "#/", "$/", "%/", "&/", "'/", "(/", ")/", "*/", "+/", ",/", "-/", "./", "//", "0/",
    "1/", "2/", "3/", "4/", "5/", "6/", "7/", "8/", "9/", ":/", ";/", "</", "=/", ">/", "?/", "@/",
    "A/", "B/", "C/", "D/", "E/", "F/", "G/", "H/", "I/", "J/", "K/", "L/", "M/", "N/", "O/", "P/",
    "Q/", "R/", "S/", "T/", "U/", "V/", "W/", "X/", "Y/", "Z/", "[/", "\\/", "]/", "^/", "_/", "`/",
    "a/", "b/", "c/", "d/", "e/", "f/", "g/", "h/", "i/", "j/", "k/", "l/", "m/", "n/", "o/", "p/",
    "q/", "r/", "s/", "t/", "u/", "v/", "w/", "x/", "y/", "z/", "{/", "|/", "}/", "~/", "--", "--",
};

namespace {
constexpr int kGridWidth = kSymbolColumns * kSymbolCellPitch;  // 336: the closing line is no cell's
constexpr int kGridHeight = kSymbolRows * kSymbolCellPitch;    // 126
}

std::string symbolAtPoint(int x, int y)
{
    if (x < 0 || x >= kGridWidth || y < 0 || y >= kGridHeight)
        return ">/";
    const int column = x / kSymbolCellPitch;
    const int row = y / kSymbolCellPitch;
    return symbolGrid[row * kSymbolColumns + column];
}

int symbolChooserPress(SymbolPick& pick, int x, int y)
{
    // The press that activates the chooser only arms it; the next one picks.
    if (!pick.armed) {
        pick.armed = true;
        return 0;
    }
    pick.armed = false;
    const std::string symbol = symbolAtPoint(x, y);
    std::memset(pick.chosen, 0, sizeof pick.chosen);
    std::memcpy(pick.chosen, symbol.data(), symbol.size() < 2 ? symbol.size() : 2);
    return 1;
}
