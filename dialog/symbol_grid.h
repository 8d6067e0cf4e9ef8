#pragma once
// The APRS primary symbol table as a 16 x 6 grid of 21-pixel cells, and the
// chooser's two-press pick rule.

#include <string>

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

// One activation of the chooser (a mouse press over the picture, or on the
// inactive chooser) at picture pixel x, y. The first press only arms; the next
// one picks into pick.chosen. Returns 1 when the chooser is to end.
int symbolChooserPress(SymbolPick& pick, int x, int y);
