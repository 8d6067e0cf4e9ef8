// The behaviour suite's driver for the real Win32 dialog (run under Wine): the
// dialog comes from template 1 through the program's own class and procedure,
// and the user's actions are the messages that the controls would get or send.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "ansi_text.h"
#include "chooser_win32.h"
#include "host_driver.h"
#include "host_win32.h"

namespace {

std::deque<std::pair<int, int>> queuedPresses;
UINT_PTR chooserTimer;
HWND chooserWithoutPress;

HWND windowOf(Dialog* dialog) { return reinterpret_cast<HWND>(dialog); }
HWND item(Dialog* dialog, int id) { return GetDlgItem(windowOf(dialog), id); }
// A greyed-out control takes no user action: NULL then.
HWND enabledItem(Dialog* dialog, int id) { return IsWindowEnabled(item(dialog, id)) ? item(dialog, id) : NULL; }

void pressKey(int key) // as the keyboard gives it, to whatever has the focus
{
    static const BYTE keys[] = {VK_TAB,  VK_TAB,  VK_LEFT, VK_RIGHT,  VK_UP,    VK_DOWN,  VK_PRIOR,
                                VK_NEXT, VK_HOME, VK_END,  VK_RETURN, VK_SPACE, VK_ESCAPE};
    if (key == KeyShiftTab)
        keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(keys[key], 0, 0, 0);
    keybd_event(keys[key], 0, KEYEVENTF_KEYUP, 0);
    if (key == KeyShiftTab)
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
}

// Runs inside the chooser's modal loop, which has the active window: one queued
// press per tick, as the mouse gives them: the cursor over the picture pixel, and the
// WM_MOUSEACTIVATE of a button press, which the picture passes on to the chooser. A
// chooser nobody expected is pressed outside the grid, which ends it.
void CALLBACK feedChooser(HWND, UINT, UINT_PTR, DWORD)
{
    HWND chooser = GetActiveWindow();
    HWND picture = chooser ? findChooserPicture(chooser) : NULL;
    if (!picture)
        return;
    if (queuedPresses.empty() && chooser != chooserWithoutPress)
        ADD_FAILURE() << "the symbol chooser opened with no press queued";
    chooserWithoutPress = queuedPresses.empty() ? chooser : NULL;
    const auto [x, y] = queuedPresses.empty() ? std::make_pair(-1, -1) : queuedPresses.front();
    if (!queuedPresses.empty())
        queuedPresses.pop_front();
    if (x == kChooserKey)
        return pressKey(y);
    const POINT origin = pictureOriginOnScreen(picture);
    const int factor = pictureFactor(picture);
    SetCursorPos(origin.x + x * factor + factor / 2, origin.y + y * factor + factor / 2);
    SendMessageA(picture, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(chooser), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
}

void processPendingMessages(HWND dialog = NULL) // with that dialog's manager, as the program's loop
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT || (dialog && IsDialogMessageA(dialog, &message)))
            continue; // WM_QUIT: left by a dialog closed in this test
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

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

} // namespace

Dialog* openMainDialogForTest(const PortFinder& findPorts)
{
    queuedPresses.clear();
    // The class is registered by the first dialog and lives as long as the process.
    static bool registered = false;
    instanceHandle = GetModuleHandleA(NULL);
    HWND dialog = registered ? createMainDialog(instanceHandle, NULL, &findPorts)
                             : registerAndCreateMainDialog(instanceHandle, NULL, &findPorts);
    registered = registered || dialog;
    EXPECT_NE(dialog, nullptr) << "the main dialog could not be created (" << GetLastError() << ")";
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    processPendingMessages();
    chooserTimer = SetTimer(NULL, 0, 20, feedChooser); // feeds any chooser opened while the dialog is up
    return reinterpret_cast<Dialog*>(dialog);
}

void closeMainDialogForTest(Dialog* dialog)
{
    KillTimer(NULL, chooserTimer);
    if (dialog)
        DestroyWindow(windowOf(dialog));
    processPendingMessages(); // WM_DESTROY posted WM_QUIT: taken out, or the next modal loop would end at once
}

// Characters at the end of an edit's text, one message each.
void userType(Dialog* dialog, int id, const std::string& characters)
{
    for (char c : characters)
        if (HWND edit = enabledItem(dialog, id)) {
            const int length = GetWindowTextLengthA(edit);
            SendMessageA(edit, EM_SETSEL, length, length);
            SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
        }
}

void userBackspace(Dialog* dialog, int id, int count) { userType(dialog, id, std::string(count, VK_BACK)); }

std::u16string shownText(Dialog* dialog, int id)
{
    std::vector<wchar_t> text(30001, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(item(dialog, id), text.data(), 30001)));
    return std::u16string(text.begin(), text.end());
}

void userPaste(Dialog* dialog, int id, const std::u16string& wide)
{
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    auto* characters = static_cast<wchar_t*>(GlobalLock(data));
    characters[std::copy(wide.begin(), wide.end(), characters) - characters] = L'\0';
    GlobalUnlock(data);
    ASSERT_TRUE(OpenClipboard(windowOf(dialog)));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    if (HWND edit = enabledItem(dialog, id)) {
        const int length = GetWindowTextLengthW(edit);
        SendMessageW(edit, EM_SETSEL, length, length);
        SendMessageW(edit, WM_PASTE, 0, 0);
    }
}

void userDragTrackbar(Dialog* dialog, int id, int position)
{
    HWND trackbar = enabledItem(dialog, id);
    if (!trackbar)
        return;
    position = std::clamp(position, static_cast<int>(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0)),
                          static_cast<int>(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0)));
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
    // What the trackbar sends the dialog for a mouse drag that ends there; each handled in full.
    for (int code : {TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK})
        SendMessageA(windowOf(dialog), WM_HSCROLL, MAKEWPARAM(code, code == TB_ENDTRACK ? 0 : position),
                     reinterpret_cast<LPARAM>(trackbar));
}

void userChooseComboRow(Dialog* dialog, int id, int row)
{
    HWND combo = enabledItem(dialog, id);
    if (!combo)
        return;
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0); // the combo box sends CBN_DROPDOWN before its list shows
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    if (row >= 0) {
        SendMessageA(combo, CB_SETCURSEL, row, 0);
        SendMessageA(windowOf(dialog), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
}

void userClick(Dialog* dialog, int id) { SendMessageA(enabledItem(dialog, id), BM_CLICK, 0, 0); }

// As a click: no new focus notification for the edit that has the focus already.
void userFocus(Dialog* dialog, int id)
{
    if (HWND edit = enabledItem(dialog, id))
        SetFocus(edit);
}

void userKeys(Dialog* dialog, const std::vector<UserKey>& keys)
{
    for (UserKey key : keys) {
        pressKey(key);
        processPendingMessages(windowOf(dialog));
    }
}

int focusedControl(Dialog* dialog) { return GetDlgCtrlID(focusedChild(windowOf(dialog))); }

void queueChooserPresses(const std::vector<std::pair<int, int>>& presses)
{
    queuedPresses.insert(queuedPresses.end(), presses.begin(), presses.end());
}

unsigned textLimitOf(Dialog* dialog, int id) { return editCharacterLimit(item(dialog, id)); }

int textCutOff(Dialog* dialog, int id, const std::string& text)
{
    RECT size; // what a twin twice as large shows of it, and the control does not
    GetWindowRect(item(dialog, id), &size);
    const int width = size.right - size.left, height = size.bottom - size.top;
    return inkOf(item(dialog, id), text, 2 * width, 2 * height) - inkOf(item(dialog, id), text, width, height);
}
