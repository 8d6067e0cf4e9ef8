// Frozen copy of dialog/symbol_grid.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_symbol_grid.h"

#include "ref_dialog_state.h"

#include <cmath>
#include <cstring>

namespace reference {

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
constexpr int kCells = kSymbolColumns * kSymbolRows;
constexpr int kDefaultCell = 29; // ">/"

void takeCell(SymbolPick& pick, const char* symbol)
{
    std::memset(pick.chosen, 0, sizeof pick.chosen);
    std::memcpy(pick.chosen, symbol, std::strlen(symbol) < 2 ? std::strlen(symbol) : 2);
    pick.armed = false;
    pick.cancelled = false;
}
} // namespace

int symbolCell(const std::string& symbol)
{
    for (int cell = 0; cell < kCells; ++cell)
        if (symbol == symbolGrid[cell])
            return cell;
    return -1;
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
    takeCell(pick, symbolAtPoint(x, y).c_str());
    return 1;
}

int symbolChooserKey(SymbolPick& pick, ChooserKey key)
{
    int cell = pick.highlighted >= 0 && pick.highlighted < kCells ? pick.highlighted : kDefaultCell;
    switch (key) {
    case ChooserLeft: // reading order: from a row's start to the end of the row above
        cell = cell > 0 ? cell - 1 : cell;
        break;
    case ChooserRight:
        cell = cell + 1 < kCells ? cell + 1 : cell;
        break;
    case ChooserUp:
        cell = cell >= kSymbolColumns ? cell - kSymbolColumns : cell;
        break;
    case ChooserDown:
        cell = cell + kSymbolColumns < kCells ? cell + kSymbolColumns : cell;
        break;
    case ChooserPick:
        takeCell(pick, symbolGrid[cell]);
        return 1;
    case ChooserCancel:
        // Ends as a pick does, so the next chooser starts unarmed too.
        pick.armed = false;
        pick.cancelled = true;
        return 1;
    }
    pick.highlighted = cell;
    return 0;
}

int symbolPictureFactor(double screenScale)
{
    const int factor = static_cast<int>(std::floor(screenScale + 0.5));
    return factor > 1 ? factor : 1;
}

int symbolPicturePixel(double screenOffset, int factor)
{
    return static_cast<int>(std::floor(screenOffset / factor));
}

SymbolCellSquare symbolCellSquare(int cell)
{
    return {cell % kSymbolColumns * kSymbolCellPitch, cell / kSymbolColumns * kSymbolCellPitch, kSymbolCellPitch + 1};
}

} // namespace reference
