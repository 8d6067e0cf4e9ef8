// The behaviour suite's driver for the real Win32 dialog (run under Wine): the
// dialog comes from template 1 through the program's own class and procedure,
// and the user's actions are the messages that the controls would get or send.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <deque>

#include "ansi_text.h"
#include "driver_win32.h"
#include "host_driver.h"
#include "chooser_win32.h"
#include "symbol_grid.h"
#include "host_win32.h"
#include "main_dialog.h"
#include "prompts_recorder.h"

namespace {

HWND windowOf(Dialog* dialog) { return reinterpret_cast<HWND>(dialog); }

std::deque<std::pair<int, int>> queuedPresses;
UINT_PTR chooserTimer;
HWND lastChooserWithoutPress;

// Where an unexpected chooser is pressed to end it: outside the grid.
constexpr std::pair<int, int> kFallbackPress = {-1, -1};

void pressKey(int key) // as the keyboard gives it, to whatever has the focus
{
    static const BYTE keys[] = {VK_TAB,  VK_TAB, VK_LEFT, VK_RIGHT, VK_UP,     VK_DOWN,  VK_PRIOR,
                                VK_NEXT, VK_HOME, VK_END, VK_RETURN, VK_SPACE, VK_ESCAPE};
    if (key == KeyShiftTab)
        keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(keys[key], 0, 0, 0);
    keybd_event(keys[key], 0, KEYEVENTF_KEYUP, 0);
    if (key == KeyShiftTab)
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
}

BOOL CALLBACK findChooserProc(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && findChooserPicture(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE; // top-level windows come topmost first: the innermost chooser
    }
    return TRUE;
}

// Runs inside the chooser's modal loop: one press per tick, as the mouse would
// give it. The cursor is put over the pixel and the picture control gets the
// WM_MOUSEACTIVATE that a button press sends, which it passes on to the chooser.
void CALLBACK feedChooser(HWND, UINT, UINT_PTR, DWORD)
{
    HWND chooser = findOpenChooser();
    if (!chooser)
        return;
    std::pair<int, int> press = kFallbackPress;
    if (!queuedPresses.empty()) {
        press = queuedPresses.front();
        queuedPresses.pop_front();
    } else if (chooser != lastChooserWithoutPress) {
        lastChooserWithoutPress = chooser;
        ADD_FAILURE() << "the symbol chooser opened with no press queued";
    }
    if (press.first == kChooserKey)
        pressKey(press.second);
    else
        pressChooserPicture(chooser, press.first, press.second);
}

HWND item(Dialog* dialog, int id) { return GetDlgItem(windowOf(dialog), id); }

// Black pixels of a text painted by a twin of the control of that window size.
int inkOf(HWND control, const std::string& text, int width, int height)
{
    char kind[32] = "";
    GetClassNameA(control, kind, sizeof kind);
    HWND twin = CreateWindowExA(0, kind, text.c_str(), GetWindowLongA(control, GWL_STYLE) & ~WS_VISIBLE, 0, 0, width,
                                height, GetParent(control), NULL, NULL, NULL);
    SendMessageA(twin, WM_SETFONT, SendMessageA(control, WM_GETFONT, 0, 0), FALSE);
    RECT client;
    GetClientRect(twin, &client);
    HDC screen = GetDC(twin);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, client.right, client.bottom));
    PatBlt(dc, 0, 0, client.right, client.bottom, WHITENESS);
    SendMessageA(twin, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    int ink = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            ink += GetPixel(dc, x, y) == RGB(0, 0, 0);
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    ReleaseDC(twin, screen);
    DestroyWindow(twin);
    return ink;
}

void putCaretAtEnd(HWND edit)
{
    const int length = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, length, length);
}

void processPendingMessages(HWND dialog = NULL) // with that dialog's manager, as the program's loop
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            continue; // left by a dialog closed in this test
        if (dialog && IsDialogMessageA(dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

HWND findOpenChooser()
{
    HWND chooser = NULL;
    EnumThreadWindows(GetCurrentThreadId(), findChooserProc, reinterpret_cast<LPARAM>(&chooser));
    return chooser;
}

void pressChooserPicture(HWND chooser, int x, int y)
{
    HWND picture = findChooserPicture(chooser);
    const POINT origin = pictureOriginOnScreen(picture);
    const int factor = pictureFactor(picture);
    SetCursorPos(origin.x + x * factor + factor / 2, origin.y + y * factor + factor / 2);
    SendMessageA(picture, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(chooser), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
}

Dialog* openMainDialogForTest(const PortFinder& findPorts)
{
    clearRecordedPrompts();
    setMessageHook({});
    setPauseHook({});
    queuedPresses.clear();
    lastChooserWithoutPress = NULL;

    // The class is registered by the first dialog and lives as long as the process.
    static bool registered = false;
    instanceHandle = GetModuleHandleA(NULL);
    HWND dialog = registered ? createMainDialog(instanceHandle, NULL, &findPorts)
                            : registerAndCreateMainDialog(instanceHandle, NULL, &findPorts);
    registered = registered || dialog != NULL;
    if (!dialog) {
        ADD_FAILURE() << "the main dialog could not be created (" << GetLastError() << ")";
        return nullptr;
    }
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    processPendingMessages();
    // Any chooser that opens while the dialog is up is fed from the queue.
    chooserTimer = SetTimer(NULL, 0, 20, feedChooser);
    return reinterpret_cast<Dialog*>(dialog);
}

void closeMainDialogForTest(Dialog* dialog)
{
    if (chooserTimer) {
        KillTimer(NULL, chooserTimer);
        chooserTimer = 0;
    }
    if (dialog)
        DestroyWindow(windowOf(dialog));
    // WM_DESTROY posted WM_QUIT: taken out, or the next modal loop would end at once.
    processPendingMessages();
    queuedPresses.clear();
}

void userType(Dialog* dialog, int id, const std::string& characters)
{
    HWND edit = item(dialog, id);
    if (!IsWindowEnabled(edit))
        return; // a greyed-out edit takes no keystroke
    for (char c : characters) {
        putCaretAtEnd(edit);
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
}

void userBackspace(Dialog* dialog, int id, int count)
{
    HWND edit = item(dialog, id);
    if (!IsWindowEnabled(edit))
        return;
    for (int i = 0; i < count; ++i) {
        putCaretAtEnd(edit);
        SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    }
}

void userDragTrackbar(Dialog* dialog, int id, int position)
{
    HWND trackbar = item(dialog, id);
    if (!IsWindowEnabled(trackbar))
        return;
    const int minimum = static_cast<int>(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0));
    const int maximum = static_cast<int>(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0));
    if (position < minimum)
        position = minimum;
    if (position > maximum)
        position = maximum;
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
    // What the trackbar sends the dialog for a mouse drag that ends there; each
    // notification is handled in full.
    const LPARAM from = reinterpret_cast<LPARAM>(trackbar);
    SendMessageA(windowOf(dialog), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), from);
    SendMessageA(windowOf(dialog), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), from);
    SendMessageA(windowOf(dialog), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), from);
}

void userChooseComboRow(Dialog* dialog, int id, int row)
{
    HWND combo = item(dialog, id);
    if (!IsWindowEnabled(combo))
        return;
    SendMessageA(combo, CB_SETCURSEL, row, 0);
    SendMessageA(windowOf(dialog), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void userOpenComboList(Dialog* dialog, int id)
{
    // The combo box tells the dialog (CBN_DROPDOWN) before its list shows.
    HWND combo = item(dialog, id);
    if (IsWindowEnabled(combo)) {
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    }
}

void userClick(Dialog* dialog, int id)
{
    HWND button = item(dialog, id);
    if (!IsWindowEnabled(button))
        return; // a greyed-out button takes no click
    SendMessageA(button, BM_CLICK, 0, 0);
}

void userFocus(Dialog* dialog, int id)
{
    // As a click: nothing for a greyed-out edit, and no new focus notification for
    // the edit that has the focus already.
    HWND edit = item(dialog, id);
    if (IsWindowEnabled(edit))
        SetFocus(edit);
}

void queueChooserPresses(const std::vector<std::pair<int, int>>& presses)
{
    queuedPresses.insert(queuedPresses.end(), presses.begin(), presses.end());
}

unsigned textLimitOf(Dialog* dialog, int id)
{
    HWND edit = item(dialog, id);
    if (editTakesNoCharacter(edit))
        return 0;
    return static_cast<unsigned>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
}

void userPaste(Dialog* dialog, int id, const std::string& text)
{
    HWND edit = item(dialog, id);
    const std::u16string wide = utf16FromAnsi(text);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    auto* characters = static_cast<wchar_t*>(GlobalLock(data));
    std::copy(wide.begin(), wide.end(), characters);
    characters[wide.size()] = L'\0';
    GlobalUnlock(data);
    ASSERT_TRUE(OpenClipboard(windowOf(dialog)));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    if (!IsWindowEnabled(edit))
        return;
    putCaretAtEnd(edit);
    SendMessageW(edit, WM_PASTE, 0, 0);
}

void userCloseMainDialog(Dialog* dialog) { SendMessageA(windowOf(dialog), WM_CLOSE, 0, 0); }

void userKeys(Dialog* dialog, const std::vector<UserKey>& keys)
{
    for (UserKey key : keys) {
        pressKey(key);
        processPendingMessages(windowOf(dialog));
    }
}

int focusedControl(Dialog* dialog) { return GetDlgCtrlID(focusedChild(windowOf(dialog))); }

int textCutOff(Dialog* dialog, int id, const std::string& text)
{
    RECT size; // what a twin twice as large shows of it, and the control does not
    GetWindowRect(item(dialog, id), &size);
    const int width = size.right - size.left, height = size.bottom - size.top;
    return inkOf(item(dialog, id), text, 2 * width, 2 * height) - inkOf(item(dialog, id), text, width, height);
}
