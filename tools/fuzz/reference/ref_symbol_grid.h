// Frozen copy of dialog/symbol_grid.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// The APRS primary symbol table as a 16 x 6 grid of 21-pixel cells, and the
// chooser's two-press pick rule.

#include <string>

namespace reference {

// resources/artwork_layout.py reads these to draw and check symbols.bmp.
constexpr int kSymbolColumns = 16;
constexpr int kSymbolRows = 6;
constexpr int kSymbolCellPitch = 21;
constexpr int kSymbolPictureWidth = 337;  // bitmap 134
constexpr int kSymbolPictureHeight = 127;

extern const char symbolGrid[kSymbolColumns * kSymbolRows][3];

// The symbol under a picture pixel; ">/" outside the grid area.
std::string symbolAtPoint(int x, int y);

struct SymbolPick;

// The grid cell (row * 16 + column) that shows a symbol text, or -1.
int symbolCell(const std::string& symbol);

// One activation of the chooser (a mouse press over the picture, or on the
// inactive chooser) at picture pixel x, y. The first press only arms; the next
// one picks into pick.chosen. Returns 1 when the chooser is to end.
int symbolChooserPress(SymbolPick& pick, int x, int y);

// Keys of the chooser: the arrows move the highlight over the grid, Pick (Enter,
// Space) takes the highlighted symbol at once, Cancel (Escape) leaves the field as
// it was. Returns 1 when the chooser is to end.
enum ChooserKey { ChooserLeft, ChooserRight, ChooserUp, ChooserDown, ChooserPick, ChooserCancel };
int symbolChooserKey(SymbolPick& pick, ChooserKey key);

// The whole factor by which the picture is shown on a screen of this scale (its
// DPI / 96, or its device pixel ratio): whole, so the pictograms stay crisp.
int symbolPictureFactor(double screenScale);
// Picture pixel of an offset in screen pixels from the picture's corner.
int symbolPicturePixel(double screenOffset, int factor);

// The square the highlight is drawn on: the cell with its four grid lines, in
// picture pixels; the frame is kSymbolHighlightWidth wide, inward.
struct SymbolCellSquare {
    int x, y, size;
};
SymbolCellSquare symbolCellSquare(int cell);
constexpr int kSymbolHighlightWidth = 2;

} // namespace reference
