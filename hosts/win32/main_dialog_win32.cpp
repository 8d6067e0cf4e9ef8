// The main dialog on Win32: class trackerDialog, whose window procedure is also
// the dialog procedure of template 1, and its message table.

#include <windows.h>
#include <commctrl.h>

#include <cassert>
#include <cstdio>

#include "accessibility_win32.h"
#include "control_ids.h"
#include "host_win32.h"
#include "messages.h"
#include "main_dialog.h"
#include "prompts.h"
#include "settings_win32.h"

HINSTANCE instanceHandle;

namespace {

Dialog* dialogOf(HWND window) { return reinterpret_cast<Dialog*>(window); }

// The dialog's state lives beside the window, from its first message to its last.
DialogState* stateOf(HWND window) { return reinterpret_cast<DialogState*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

// A dialog closed while a handler ran goes once the outermost handler has returned,
// from the message loop: the control whose notification ran the handler may still
// be inside its own message.
void closeLaterIfClosed(HWND window)
{
    const DialogState* state = stateOf(window);
    if (state && state->closed && state->handlerDepth == 0)
        PostMessageA(window, WM_CLOSE, 0, 0);
}

// A multi-line edit takes every key, and inside a dialog it answers Escape by
// closing the dialog. The log leaves Escape to the dialog manager, which turns it
// into an IDCANCEL that closes nothing.
LRESULT CALLBACK logProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId, DWORD_PTR)
{
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(edit, logProc, subclassId);
    LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    const MSG* key = reinterpret_cast<const MSG*>(lParam);
    if (message == WM_GETDLGCODE && key && key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE)
        result &= ~DLGC_WANTALLKEYS;
    return result;
}

// WM_NEXTDLGCTL, which IsDialogMessage sends for Tab and Shift+Tab and which
// DefWindowProc would drop: the next (wParam 0) or previous tab stop, or the
// control wParam when lParam says so. An edit comes with its text selected.
void moveFocus(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    HWND next = reinterpret_cast<HWND>(wParam);
    const bool backward = !LOWORD(lParam) && wParam;
    if (!LOWORD(lParam))
        next = GetNextDlgTabItem(dialog, focusedChild(dialog), backward);
    if (!next)
        return;
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(next, EM_SETSEL, 0, -1);
    stateOf(dialog)->focusCameBackward = backward;
    SetFocus(next); // a Symbol edit runs its chooser in here
    if (DialogState* state = stateOf(dialog))
        state->focusCameBackward = false;
}

} // namespace

HWND focusedChild(HWND dialog)
{
    HWND focus = GetFocus();
    while (focus && GetParent(focus) != dialog) // a combo box's own edit stands for the combo
        focus = GetParent(focus);
    return focus;
}

DialogState& dialogState(Dialog* dialog)
{
    HWND window = reinterpret_cast<HWND>(dialog);
    DialogState* state = stateOf(window);
    assert(state && "no dialog state on this window");
    return *state;
}

LRESULT CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (handleSettingsMessage(dialog, message, wParam, lParam))
        return 0;
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new DialogState));
        return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_NCDESTROY:
        forgetScreenReaderNotes(dialog);
        delete stateOf(dialog);
        SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
        return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_INITDIALOG:
        if (lParam)
            stateOf(dialog)->findPorts = *reinterpret_cast<const PortFinder*>(lParam);
        filterSingleLineInput(dialog);
        defaultButtonFollowsFocus(dialog);
        SetWindowSubclass(GetDlgItem(dialog, IdLog), logProc, 1, 0);
        initMainDialog(dialogOf(dialog));
        describeForScreenReaders(dialog, screenReaderRunning());
        return 0; // no control takes the focus, so no Symbol edit opens the chooser
    case WM_GETOBJECT: // an accessibility client asks for the dialog
        describeForScreenReaders(dialog, true);
        return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETSCREENREADER)
            describeForScreenReaders(dialog, screenReaderRunning());
        return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_CLOSE:
        // Closed while a handler waits in a message box or the chooser: their loops
        // end at the quit message, the handlers return without showing or touching
        // anything more, and the dialog (its state with it) goes after the outermost.
        if (stateOf(dialog) && stateOf(dialog)->handlerDepth > 0) {
            stateOf(dialog)->closed = true;
            ShowWindow(dialog, SW_HIDE);
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_SETFOCUS && givingFocusBack())
            return 0;
        // IDOK and IDCANCEL land here too and close nothing.
        handleCommand(dialogOf(dialog), LOWORD(wParam), HIWORD(wParam));
        closeLaterIfClosed(dialog);
        return 0;
    case WM_NEXTDLGCTL:
        moveFocus(dialog, wParam, lParam);
        return 0;
    case WM_HSCROLL:
        handleHScroll(dialogOf(dialog));
        closeLaterIfClosed(dialog);
        return DefWindowProcA(dialog, message, wParam, lParam);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(dialog, message, wParam, lParam);
    }
}

HWND createMainDialog(HINSTANCE instance, HWND parent, const PortFinder* findPorts)
{
    // On Win64 the two procedure types are one; the cast serves 32-bit builds. The
    // W call makes the controls hold UTF-16, so typed text does not go through the
    // system's ANSI code page.
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(ResMainDialog), parent,
                              reinterpret_cast<DLGPROC>(mainDialogProc), reinterpret_cast<LPARAM>(findPorts));
}

HWND registerAndCreateMainDialog(HINSTANCE instance, HWND parent, const PortFinder* findPorts)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainDialogProc;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ResIcon));
    windowClass.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    // Made once and kept for the whole run.
    windowClass.hbrBackground = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    windowClass.lpszClassName = "trackerDialog";
    if (!RegisterClassA(&windowClass)) {
        char text[128];
        std::snprintf(text, sizeof text, "cannot register dialog Class! (%i)", static_cast<int>(GetLastError()));
        showMessage(text, kErrorCaption);
        return NULL;
    }
    return createMainDialog(instance, parent, findPorts);
}
