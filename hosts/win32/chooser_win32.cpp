#include "chooser_win32.h"

#include "symbol_chooser.h"
#include "symbol_grid.h"
#include "control_ids.h"
#include "host_win32.h"

namespace {

// The distance from the window's outer corner to the picture at the classic
// frame and caption sizes; only used if the picture control cannot be found.
constexpr int kClassicOffsetX = 11;
constexpr int kClassicOffsetY = 33;

BOOL CALLBACK findPictureProc(HWND child, LPARAM found)
{
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_BITMAP) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

// The picture pixel under the cursor.
POINT pressedPixel(HWND chooser)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    if (HWND picture = findChooserPicture(chooser)) {
        const POINT origin = pictureOriginOnScreen(picture);
        return POINT{cursor.x - origin.x, cursor.y - origin.y};
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(chooser, &placement);
    return POINT{cursor.x - placement.rcNormalPosition.left - kClassicOffsetX,
                 cursor.y - placement.rcNormalPosition.top - kClassicOffsetY};
}

// Gives the picture a client area of exactly the bitmap's size, and the chooser
// room for it. Sized in dialog units only, the picture clips the bitmap where the
// dialog font is smaller than planned, and some systems stretch the bitmap to the
// client area, which would move every cell off its pixels.
void fitPictureToBitmap(HWND chooser)
{
    HWND picture = findChooserPicture(chooser);
    if (!picture)
        return;
    HBITMAP image = reinterpret_cast<HBITMAP>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP bitmap = {};
    if (!image || !GetObjectA(image, sizeof bitmap, &bitmap))
        return;

    RECT outer = {0, 0, bitmap.bmWidth, bitmap.bmHeight};
    AdjustWindowRectEx(&outer, GetWindowLongA(picture, GWL_STYLE), FALSE, GetWindowLongA(picture, GWL_EXSTYLE));
    SetWindowPos(picture, NULL, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The label keeps its distance below the picture; the margin of 3 dialog
    // units stays around both.
    RECT margin = {3, 3, 3, 3};
    MapDialogRect(chooser, &margin);
    RECT pictureRect;
    GetWindowRect(picture, &pictureRect);
    MapWindowPoints(NULL, chooser, reinterpret_cast<POINT*>(&pictureRect), 2);
    RECT needed = {0, 0, pictureRect.right + margin.right, pictureRect.bottom + margin.bottom};
    if (HWND label = GetDlgItem(chooser, IdChooserLabel)) {
        RECT labelRect;
        GetWindowRect(label, &labelRect);
        MapWindowPoints(NULL, chooser, reinterpret_cast<POINT*>(&labelRect), 2);
        if (labelRect.top < pictureRect.bottom + 1) {
            OffsetRect(&labelRect, 0, pictureRect.bottom + 1 - labelRect.top);
            SetWindowPos(label, NULL, labelRect.left, labelRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (labelRect.bottom + margin.bottom > needed.bottom)
            needed.bottom = labelRect.bottom + margin.bottom;
    }
    RECT client;
    GetClientRect(chooser, &client);
    const int growX = needed.right > client.right ? needed.right - client.right : 0;
    const int growY = needed.bottom > client.bottom ? needed.bottom - client.bottom : 0;
    if (growX || growY) {
        RECT window;
        GetWindowRect(chooser, &window);
        SetWindowPos(chooser, NULL, 0, 0, window.right - window.left + growX, window.bottom - window.top + growY,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace

HWND findChooserPicture(HWND chooser)
{
    HWND picture = NULL;
    EnumChildWindows(chooser, findPictureProc, reinterpret_cast<LPARAM>(&picture));
    return picture;
}

POINT pictureOriginOnScreen(HWND picture)
{
    // The sunken edge is non-client (WS_EX_STATICEDGE) and the client area is
    // exactly the bitmap's size (fitPictureToBitmap), so the bitmap starts at the
    // client's top-left pixel whether the control stretches it or not.
    POINT origin = {0, 0};
    ClientToScreen(picture, &origin);
    return origin;
}

INT_PTR CALLBACK symbolChooserProc(HWND chooser, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        // The main dialog's pick, shared by every chooser it opens.
        SetWindowLongPtrA(chooser, DWLP_USER, lParam);
        fitPictureToBitmap(chooser);
        return TRUE;
    case WM_MOUSEACTIVATE: {
        auto* pick = reinterpret_cast<SymbolPick*>(GetWindowLongPtrA(chooser, DWLP_USER));
        if (!pick)
            return TRUE;
        // Every press over the picture, and any press on the inactive chooser.
        const POINT pixel = pressedPixel(chooser);
        if (symbolChooserPress(*pick, pixel.x, pixel.y))
            EndDialog(chooser, 0);
        return TRUE;
    }
    default:
        // Close box, Alt+F4 and Escape are left alone: only a pick ends the chooser.
        return FALSE;
    }
}

void runSymbolChooser(Dialog* mainDialog)
{
    // No owner: the main dialog stays enabled while the chooser is open.
    DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(ResChooserDialog), NULL, symbolChooserProc,
                    reinterpret_cast<LPARAM>(&dialogState(mainDialog).pick));
}
