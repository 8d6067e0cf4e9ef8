// The yardstick of the start-up benchmark: the program's own main dialog template
// (all its controls, the same resources and manifest) shown with no logic at all,
// so that what the program adds to Wine's and Windows' own cost can be told apart.

#include <windows.h>
#include <commctrl.h>

#include "control_ids.h"

namespace {

INT_PTR CALLBACK emptyDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The template names the class; the dialog manager's own procedure runs it.
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefDlgProcA;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "trackerDialog";
    RegisterClassA(&windowClass);

    HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(ResMainDialog), NULL, emptyDialogProc, 0);
    if (!dialog)
        return -1;
    ShowWindow(dialog, SW_SHOW);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
