// The yardstick of the start-up benchmark: a dialog with nothing in it, built as
// KorvelConfig.exe is (static runtime, resource script, the same manifest), so
// that what Wine itself costs to start a dialog program can be told apart.

#include <windows.h>

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
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(1), NULL, emptyDialogProc, 0);
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
