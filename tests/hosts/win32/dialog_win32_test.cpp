// What the Win32 host adds to the standard controls, on real controls in a window
// of the test's own that records what they tell their parent; and the main
// dialog's message table.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "host_driver.h"
#include "dialog_text.h"
#include "host_win32.h"

namespace {

constexpr int kEdit = 10;
std::vector<int> notifications; // of the one edit

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        notifications.push_back(HIWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

class EditWin32 : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = parentProc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "korvelEditTest";
        RegisterClassA(&windowClass); // fails harmlessly from the second test on
        parent = CreateWindowExA(0, "korvelEditTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, NULL, NULL,
                                 windowClass.hInstance, NULL);
        edit = CreateWindowExA(0, "Edit", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 200, 24, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEdit)), NULL, NULL);
        ASSERT_NE(edit, nullptr);
        notifications.clear();
    }
    void TearDown() override { DestroyWindow(parent); }

    std::string text() { return getItemText(dialog(), kEdit, 100); }
    Dialog* dialog() { return reinterpret_cast<Dialog*>(parent); }
    long count(int notification) { return std::count(notifications.begin(), notifications.end(), notification); }
    void type(const std::string& characters)
    {
        for (char c : characters) {
            SendMessageA(edit, EM_SETSEL, 100, 100);
            SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
        }
    }

    HWND parent = NULL, edit = NULL;
};

TEST_F(EditWin32, SettingATextNotifiesAtOnceEvenWhenUnchanged)
{
    setItemText(dialog(), kEdit, "abc");
    EXPECT_EQ(count(EN_CHANGE), 1); // already there when the call returns: nested
    setItemText(dialog(), kEdit, "abc");
    EXPECT_EQ(count(EN_CHANGE), 2);
}

// EM_LIMITTEXT 0 would mean "no limit".
TEST_F(EditWin32, ALimitOfZeroTakesNoTypedOrPastedCharacter)
{
    setItemText(dialog(), kEdit, "abc");
    setTextLimit(dialog(), kEdit, 0);
    notifications.clear();
    type("de");
    EXPECT_EQ(count(EN_CHANGE), 0);
    EXPECT_EQ(count(EN_MAXTEXT), 2) << "refused as at a limit";

    ASSERT_TRUE(OpenClipboard(parent));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(memory), "xyz", 4);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    SendMessageA(edit, WM_PASTE, 0, 0);
    SendMessageA(edit, WM_CHAR, 0x16, 1); // Ctrl+V
    EXPECT_EQ(text(), "abc");

    // A character typed over a selection removes it; Backspace and program writes still work.
    SendMessageA(edit, EM_SETSEL, 1, 3);
    SendMessageA(edit, WM_CHAR, 'Q', 1);
    EXPECT_EQ(text(), "a");
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(text(), "");
    setItemText(dialog(), kEdit, "set");
    EXPECT_EQ(text(), "set");

    setTextLimit(dialog(), kEdit, 5); // lifts the block
    type("!!!");
    EXPECT_EQ(text(), "set!!");
}

// The headless and Qt hosts read numbers with dialog_text.h's model of GetDlgItemInt.
TEST_F(EditWin32, NumbersAreReadAsTheOtherHostsReadThem)
{
    for (const char* text : {"12", " 12", "+5", "-3", "x7", "", "12abc", "4294967294", "99999999999",
                             "000000000000000000000000000000123"}) {
        setItemText(dialog(), kEdit, text);
        EXPECT_EQ(getItemUnsigned(dialog(), kEdit), dialogTextToUnsigned(text)) << '"' << text << '"';
    }
}

// There is no OK or Cancel: the dialog manager's IDOK and IDCANCEL (Return, Escape)
// reach the logic and close nothing; only the close box ends the program, with 0.
TEST(MainDialogWin32, OnlyClosingEndsItAndNoControlHasTheFocusAtStart)
{
    Dialog* dialog = openMainDialogForTest([] { return std::vector<PortEntry>(); }); // off the machine's ports
    ASSERT_NE(dialog, nullptr);
    HWND window = reinterpret_cast<HWND>(dialog);
    EXPECT_TRUE(GetFocus() == NULL || GetFocus() == window) << GetDlgCtrlID(GetFocus());
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindowVisible(window));

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    closeMainDialogForTest(nullptr);
}

} // namespace
