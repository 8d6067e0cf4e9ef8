#include "chooser_win32.h"

#include <commctrl.h>

#include "accessibility_win32.h"
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
        const int factor = pictureFactor(picture);
        return POINT{symbolPicturePixel(cursor.x - origin.x, factor), symbolPicturePixel(cursor.y - origin.y, factor)};
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(chooser, &placement);
    return POINT{cursor.x - placement.rcNormalPosition.left - kClassicOffsetX,
                 cursor.y - placement.rcNormalPosition.top - kClassicOffsetY};
}

int dpiOf(HWND window)
{
    // The DPI of the window's own monitor (Windows 10 on, per-monitor aware), else
    // the system's.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    const FARPROC found = GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    if (found)
        if (const UINT dpi = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(found))(window))
            return static_cast<int>(dpi);
    HDC screen = GetDC(window);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(window, screen);
    return dpi;
}

// Shows the bitmap at the whole factor of the chooser's DPI, each pixel repeated,
// never smoothed. The enlarged image is the chooser's own (deleted on WM_DESTROY).
void scalePicture(HWND chooser, HWND picture)
{
    const int factor = symbolPictureFactor(dpiOf(chooser) / 96.0);
    HBITMAP original = reinterpret_cast<HBITMAP>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP bitmap = {};
    if (factor == 1 || !original || !GetObjectA(original, sizeof bitmap, &bitmap))
        return;
    HDC screen = GetDC(NULL);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP scaled = CreateCompatibleBitmap(screen, bitmap.bmWidth * factor, bitmap.bmHeight * factor);
    HGDIOBJ oldFrom = SelectObject(from, original);
    HGDIOBJ oldTo = SelectObject(to, scaled);
    SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, 0, 0, bitmap.bmWidth * factor, bitmap.bmHeight * factor, from, 0, 0, bitmap.bmWidth,
               bitmap.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(NULL, screen);
    HGDIOBJ replaced = reinterpret_cast<HGDIOBJ>(
        SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled)));
    if (replaced && replaced != scaled)
        DeleteObject(replaced);
}

// The highlight of the arrow keys: a frame on the cell's grid lines and inward.
void drawHighlight(HWND picture, int cell)
{
    const int factor = pictureFactor(picture);
    const SymbolCellSquare square = symbolCellSquare(cell);
    RECT frame = {square.x * factor, square.y * factor, (square.x + square.size) * factor,
                  (square.y + square.size) * factor};
    HDC dc = GetDC(picture);
    for (int i = 0; i < kSymbolHighlightWidth * factor; ++i) {
        FrameRect(dc, &frame, GetSysColorBrush(COLOR_HIGHLIGHT));
        InflateRect(&frame, -1, -1);
    }
    ReleaseDC(picture, dc);
}

bool chooserKeyOf(WPARAM virtualKey, ChooserKey& key)
{
    switch (virtualKey) {
    case VK_LEFT: key = ChooserLeft; return true;
    case VK_RIGHT: key = ChooserRight; return true;
    case VK_UP: key = ChooserUp; return true;
    case VK_DOWN: key = ChooserDown; return true;
    case VK_RETURN:
    case VK_SPACE: key = ChooserPick; return true;
    case VK_ESCAPE: key = ChooserCancel; return true;
    default: return false;
    }
}

SymbolPick* pickOf(HWND chooser) { return reinterpret_cast<SymbolPick*>(GetWindowLongPtrA(chooser, DWLP_USER)); }

// The picture has the chooser's keyboard focus and takes every key itself, so that
// Return and Escape reach it rather than becoming IDOK and IDCANCEL, which the
// close box and Alt+F4 send too and which close nothing.
LRESULT CALLBACK pictureProc(HWND picture, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId, DWORD_PTR)
{
    HWND chooser = GetParent(picture);
    SymbolPick* pick = pickOf(chooser);
    ChooserKey key = ChooserPick;
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (!pick || !chooserKeyOf(wParam, key))
            break;
        if (symbolChooserKey(*pick, key)) {
            EndDialog(chooser, 0);
        } else {
            InvalidateRect(picture, NULL, FALSE);
            describeSymbolHighlight(picture, pick->highlighted);
        }
        return 0;
    case WM_PAINT: {
        const LRESULT result = DefSubclassProc(picture, message, wParam, lParam);
        if (pick && pick->highlighted >= 0)
            drawHighlight(picture, pick->highlighted);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(picture, pictureProc, subclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(picture, message, wParam, lParam);
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

int pictureFactor(HWND picture)
{
    HBITMAP image = reinterpret_cast<HBITMAP>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP bitmap = {};
    if (!image || !GetObjectA(image, sizeof bitmap, &bitmap) || bitmap.bmWidth < kSymbolPictureWidth)
        return 1;
    return bitmap.bmWidth / kSymbolPictureWidth;
}

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
        if (HWND picture = findChooserPicture(chooser)) {
            scalePicture(chooser, picture);
            SetWindowSubclass(picture, pictureProc, 1, 0);
            if (const SymbolPick* pick = pickOf(chooser))
                describeSymbolHighlight(picture, pick->highlighted);
        }
        fitPictureToBitmap(chooser);
        return TRUE; // the focus goes to the picture, the one tab stop
    case WM_DESTROY:
        // An enlarged image is ours; the bitmap as loaded is the control's.
        if (HWND picture = findChooserPicture(chooser))
            if (pictureFactor(picture) > 1)
                DeleteObject(reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)));
        return FALSE;
    case WM_MOUSEACTIVATE: {
        SymbolPick* pick = pickOf(chooser);
        if (!pick)
            return TRUE;
        // Every press over the picture, and any press on the inactive chooser.
        const POINT pixel = pressedPixel(chooser);
        if (symbolChooserPress(*pick, pixel.x, pixel.y))
            EndDialog(chooser, 0);
        return TRUE;
    }
    default:
        // The close box and Alt+F4 (WM_CLOSE, then IDCANCEL) are left alone: a
        // pick, or Escape on the picture, ends the chooser.
        return FALSE;
    }
}

int runSymbolChooser(Dialog* mainDialog)
{
    HWND main = reinterpret_cast<HWND>(mainDialog);
    // No owner: the main dialog stays enabled while the chooser is open.
    DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(ResChooserDialog), NULL, symbolChooserProc,
                    reinterpret_cast<LPARAM>(&dialogState(mainDialog).pick));
    // Closing the main dialog meanwhile destroyed it, and its state with it.
    return IsWindow(main) ? 1 : 0;
}
