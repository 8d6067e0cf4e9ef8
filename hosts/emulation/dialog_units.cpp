#include "dialog_units.h"

#include <cstdint>

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    if (product < 0)
        product = -product;
    const std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t rounded = (product + divisor / 2) / divisor;
    return static_cast<int>(negative ? -rounded : rounded);
}

int averageLetterWidth(int widthOf52Letters)
{
    // Windows' own rounding of the letter average (GdiGetCharDimensions).
    return (widthOf52Letters / 26 + 1) / 2;
}

int dluToPixelsX(int dlu, DialogBaseUnits units) { return mulDiv(dlu, units.x, 4); }
int dluToPixelsY(int dlu, DialogBaseUnits units) { return mulDiv(dlu, units.y, 8); }

PixelRect dluRectToPixels(int x, int y, int width, int height, DialogBaseUnits units)
{
    return {dluToPixelsX(x, units), dluToPixelsY(y, units), dluToPixelsX(width, units), dluToPixelsY(height, units)};
}
