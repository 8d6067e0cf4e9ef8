// Where the keyboard focus goes beyond what the dialog manager does for a window
// that is no dialog class of its own: back to its control after a modal window,
// and the default push button with it.

#include <windows.h>
#include <commctrl.h>

#include "host_win32.h"

namespace {

bool returning = false;

// As the dialog manager does it: the push button with the focus is the default
// one, so that Enter presses it; elsewhere Enter stays IDOK, which closes nothing.
LRESULT CALLBACK pushButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                DWORD_PTR)
{
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(button, pushButtonProc, subclassId);
    } else if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        // BM_SETSTYLE takes the style's whole low word: BS_MULTILINE stays.
        const LONG style = GetWindowLongW(button, GWL_STYLE) & 0xFFFF & ~BS_TYPEMASK;
        SendMessageW(button, BM_SETSTYLE, style | (message == WM_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), TRUE);
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

BOOL CALLBACK followFocusProc(HWND control, LPARAM)
{
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (lstrcmpiW(className, L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON))
        SetWindowSubclass(control, pushButtonProc, 1, 0);
    return TRUE;
}

} // namespace

void defaultButtonFollowsFocus(HWND dialog) { EnumChildWindows(dialog, followFocusProc, 0); }

void giveFocusBack(HWND control)
{
    // Not to a control that went away, or was hidden or greyed out meanwhile.
    if (!control || !IsWindow(control) || !IsWindowVisible(control) || !IsWindowEnabled(control) ||
        GetFocus() == control)
        return;
    returning = true;
    SetFocus(control);
    returning = false;
}

bool givingFocusBack() { return returning; }
