#pragma once
// Dialog units to pixels, computed as Windows does for a dialog font, so that a
// toolkit other than Win32 can place the controls of main_dialog_layout.def.

// Base units of a dialog font: the average width of "A".."Z" "a".."z" in pixels,
// rounded, and the font's height in pixels.
struct DialogBaseUnits {
    int x;
    int y;
};

// a * b / c rounded to the nearest integer, halves away from zero (Win32 MulDiv);
// -1 when c is 0.
int mulDiv(int a, int b, int c);

// The rounded average of a width measured over the 52 letters.
int averageLetterWidth(int widthOf52Letters);

struct PixelRect {
    int x, y, width, height;
};

int dluToPixelsX(int dlu, DialogBaseUnits units);
int dluToPixelsY(int dlu, DialogBaseUnits units);
// Each of the four values converted on its own, as dialog templates are.
PixelRect dluRectToPixels(int x, int y, int width, int height, DialogBaseUnits units);
