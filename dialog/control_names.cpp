#include "control_names.h"

#include "layout.h"
#include "symbol_grid.h"

namespace {

int indexOf(int id)
{
    for (int i = 0; i < mainDialogControlCount; ++i)
        if (mainDialogLayout[i].id == id)
            return i;
    return -1;
}

bool isCaption(int index)
{
    return index >= 0 && mainDialogLayout[index].kind == KindLabel && *mainDialogLayout[index].caption;
}

bool encloses(const ControlLayout& frame, const ControlLayout& c)
{
    return c.x >= frame.x && c.y >= frame.y && c.x + c.width <= frame.x + frame.width &&
           c.y + c.height <= frame.y + frame.height;
}

} // namespace

std::string labelBefore(int id)
{
    const int index = indexOf(id);
    return index > 0 && isCaption(index - 1) ? mainDialogLayout[index - 1].caption : "";
}

std::string accessibleNameOf(int id)
{
    const int index = indexOf(id);
    if (index < 0)
        return "";
    const ControlLayout& c = mainDialogLayout[index];
    if (c.kind == KindPush || c.kind == KindRadio || c.kind == KindGroup)
        return c.caption;
    if (c.kind == KindLabel)
        return "";
    const std::string label = labelBefore(id);
    if (label.empty())
        return "";
    for (int i = 0; i < mainDialogControlCount; ++i) {
        const ControlLayout& frame = mainDialogLayout[i];
        if (frame.kind == KindGroup && encloses(frame, c))
            return std::string(frame.caption) + " " + label;
    }
    return label;
}

int valueLabelOf(int trackbarId)
{
    const int index = indexOf(trackbarId);
    if (index < 0 || index + 1 >= mainDialogControlCount || mainDialogLayout[index].kind != KindTrackbar)
        return -1;
    const ControlLayout& next = mainDialogLayout[index + 1];
    return next.kind == KindLabel && next.id >= 0 && !*next.caption ? next.id : -1;
}

int trackbarShownBy(int labelId)
{
    const int index = indexOf(labelId);
    return index > 0 && valueLabelOf(mainDialogLayout[index - 1].id) == labelId ? mainDialogLayout[index - 1].id : -1;
}

std::string displayReading(int id, const std::string& shown)
{
    const int index = indexOf(id);
    const bool display = index > 0 && mainDialogLayout[index].kind == KindLabel && !*mainDialogLayout[index].caption;
    if (display && isCaption(index - 1))
        return std::string(mainDialogLayout[index - 1].caption) + ": " + shown;
    return shown;
}

std::string chooserPictureName()
{
    for (int i = 0; i < chooserControlCount; ++i)
        if (chooserLayout[i].kind == KindLabel)
            return chooserLayout[i].caption;
    return "";
}

std::string highlightedSymbolReading(int cell)
{
    if (cell < 0 || cell >= kSymbolColumns * kSymbolRows)
        return "";
    return std::string(symbolGrid[cell]) + ", row " + std::to_string(cell / kSymbolColumns + 1) + ", column " +
           std::to_string(cell % kSymbolColumns + 1);
}
