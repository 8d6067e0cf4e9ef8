// The platform layer on real Win32 controls, in a window of the test's own that
// records what the controls tell their parent.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/dialog_text.h"
#include "ui/host_win32.h"
#include "ui/platform.h"

namespace {

enum TestId { Upper = 10, Plain, Multi, Bar, Combo, Radio };

std::vector<std::pair<int, int>> commands; // id, notification
int scrolls;

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    else if (message == WM_HSCROLL)
        ++scrolls;
    return DefWindowProcA(window, message, wParam, lParam);
}

class PlatformWin32 : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        static ATOM registered = 0;
        if (!registered) {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = parentProc;
            windowClass.hInstance = GetModuleHandleA(NULL);
            windowClass.lpszClassName = "korvelPlatformTest";
            registered = RegisterClassA(&windowClass);
        }
        parent = CreateWindowExA(0, "korvelPlatformTest", "platform", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, NULL,
                                 NULL, GetModuleHandleA(NULL), NULL);
        ASSERT_NE(parent, nullptr);
        child("Edit", Upper, ES_UPPERCASE | ES_AUTOHSCROLL | WS_BORDER);
        child("Edit", Plain, ES_AUTOHSCROLL | WS_BORDER);
        child("Edit", Multi, ES_MULTILINE | ES_AUTOHSCROLL | WS_BORDER);
        child(TRACKBAR_CLASSA, Bar, TBS_HORZ | TBS_BOTH);
        child("ComboBox", Combo, CBS_DROPDOWN | WS_VSCROLL);
        child("Button", Radio, BS_AUTORADIOBUTTON);
        dialog = reinterpret_cast<Dialog*>(parent);
        commands.clear();
        scrolls = 0;
    }

    void TearDown() override { DestroyWindow(parent); }

    void child(const char* className, int id, DWORD style)
    {
        CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 30 * (id - Upper), 200, 24, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(NULL), NULL);
    }

    void type(int id, const std::string& characters)
    {
        HWND edit = GetDlgItem(parent, id);
        for (char c : characters) {
            const int end = GetWindowTextLengthA(edit);
            SendMessageA(edit, EM_SETSEL, end, end);
            SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
        }
    }

    int count(int id, int notification) const
    {
        int n = 0;
        for (const auto& command : commands)
            n += command.first == id && command.second == notification;
        return n;
    }

    HWND parent = NULL;
    Dialog* dialog = nullptr;
};

TEST_F(PlatformWin32, SettingATextNotifiesAtOnceEvenWhenUnchanged)
{
    setItemText(dialog, Plain, "abc");
    EXPECT_EQ(count(Plain, EN_CHANGE), 1); // already there when the call returns: nested
    setItemText(dialog, Plain, "abc");
    EXPECT_EQ(count(Plain, EN_CHANGE), 2);
    EXPECT_EQ(getItemText(dialog, Plain, 100), "abc");
}

TEST_F(PlatformWin32, UpperCaseEditsUpperCaseSetAndTypedText)
{
    setItemText(dialog, Upper, "wide1-1");
    type(Upper, ",x");
    EXPECT_EQ(getItemText(dialog, Upper, 100), "WIDE1-1,X");
    setItemText(dialog, Plain, "wide");
    EXPECT_EQ(getItemText(dialog, Plain, 100), "wide");
}

TEST_F(PlatformWin32, ReadingATextIsBoundedByTheGivenCount)
{
    setItemText(dialog, Plain, "0123456789");
    EXPECT_EQ(getItemText(dialog, Plain, 4), "0123");
    EXPECT_EQ(getItemText(dialog, Plain, 10), "0123456789");
    EXPECT_EQ(getItemText(dialog, Plain, 0), "");
    setItemText(dialog, Plain, "");
    EXPECT_EQ(getItemText(dialog, Plain, 10), "");
}

TEST_F(PlatformWin32, NumbersAreReadUnsignedAndWrittenEitherWay)
{
    setItemUnsigned(dialog, Plain, 15);
    EXPECT_EQ(getItemText(dialog, Plain, 20), "15");
    EXPECT_EQ(getItemUnsigned(dialog, Plain), 15u);
    setItemSigned(dialog, Plain, -3);
    EXPECT_EQ(getItemText(dialog, Plain, 20), "-3");
    setItemUnsigned(dialog, Plain, 4000000000u);
    EXPECT_EQ(getItemText(dialog, Plain, 20), "4000000000");
}

// The headless host reads numbers with its own model of GetDlgItemInt.
TEST_F(PlatformWin32, NumbersAreReadAsTheHeadlessHostReadsThem)
{
    for (const char* text : {"12", " 12", "+5", "-3", "x7", "", "12abc", "4294967294", "99999999999",
                             "000000000000000000000000000000123"}) {
        setItemText(dialog, Plain, text);
        EXPECT_EQ(getItemUnsigned(dialog, Plain), dialogTextToUnsigned(text)) << '"' << text << '"';
    }
}

TEST_F(PlatformWin32, TrackbarsMoveWithoutScrollNotifications)
{
    setTrackbarRangeMin(dialog, Bar, 5);
    setTrackbarRangeMax(dialog, Bar, 254);
    setTrackbarPos(dialog, Bar, 30);
    EXPECT_EQ(getTrackbarPos(dialog, Bar), 30);
    setTrackbarPos(dialog, Bar, 300);
    EXPECT_EQ(getTrackbarPos(dialog, Bar), 254);
    setTrackbarRangeMin(dialog, Bar, 60); // raising the minimum pulls the position along
    setTrackbarPos(dialog, Bar, 10);
    EXPECT_EQ(getTrackbarPos(dialog, Bar), 60);
    EXPECT_EQ(scrolls, 0);
}

TEST_F(PlatformWin32, ComboRowsKeepTheirOrderDataAndSelectionQuietly)
{
    EXPECT_EQ(getComboSelection(dialog, Combo), -1);
    EXPECT_EQ(addComboRow(dialog, Combo, "compressed"), 0);
    EXPECT_EQ(addComboRow(dialog, Combo, "WIDEn-n"), 1);
    EXPECT_EQ(addComboRow(dialog, Combo, "RELAY"), 2); // unsorted
    setComboRowData(dialog, Combo, 0, 7);
    setComboRowData(dialog, Combo, 1, 3);
    setComboRowData(dialog, Combo, 2, 0);
    EXPECT_EQ(getComboRowData(dialog, Combo, 0), 7);
    EXPECT_EQ(getComboRowData(dialog, Combo, 2), 0);
    EXPECT_EQ(getComboRowData(dialog, Combo, 3), -1);
    EXPECT_EQ(getComboRowData(dialog, Combo, -1), -1);
    setComboSelection(dialog, Combo, 1);
    EXPECT_EQ(getComboSelection(dialog, Combo), 1);
    EXPECT_EQ(getComboRowData(dialog, Combo, getComboSelection(dialog, Combo)), 3);
    EXPECT_EQ(count(Combo, CBN_SELCHANGE), 0);
}

TEST_F(PlatformWin32, ATextLimitStopsTypingButNeverCutsTheText)
{
    setItemText(dialog, Plain, "NOCALL");
    setTextLimit(dialog, Plain, 3);
    EXPECT_EQ(getItemText(dialog, Plain, 100), "NOCALL");
    commands.clear();
    type(Plain, "X");
    EXPECT_EQ(getItemText(dialog, Plain, 100), "NOCALL");
    // Refused, with the notice of an edit at its limit. (Wine's edit follows it
    // with an EN_CHANGE for the unchanged text.)
    EXPECT_EQ(count(Plain, EN_MAXTEXT), 1);
    setItemText(dialog, Plain, "AB");
    type(Plain, "CDE");
    EXPECT_EQ(getItemText(dialog, Plain, 100), "ABC");
    EXPECT_EQ(SendMessageA(GetDlgItem(parent, Plain), EM_GETLIMITTEXT, 0, 0), 3);
}

TEST_F(PlatformWin32, ALimitOfZeroTakesNoFurtherCharacter)
{
    HWND edit = GetDlgItem(parent, Plain);
    setItemText(dialog, Plain, "abc");
    setTextLimit(dialog, Plain, 0);
    EXPECT_TRUE(editTakesNoCharacter(edit));
    commands.clear();
    type(Plain, "de");
    EXPECT_EQ(getItemText(dialog, Plain, 100), "abc");
    EXPECT_EQ(count(Plain, EN_CHANGE), 0);
    EXPECT_EQ(count(Plain, EN_MAXTEXT), 2);

    // Paste, from the clipboard and by Ctrl+V, inserts nothing either.
    ASSERT_TRUE(OpenClipboard(parent));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 4);
    memcpy(GlobalLock(memory), "xyz", 4);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    SendMessageA(edit, WM_PASTE, 0, 0);
    SendMessageA(edit, WM_CHAR, 0x16, 1);
    EXPECT_EQ(getItemText(dialog, Plain, 100), "abc");

    // A typed character over a selection removes it and puts nothing in its place.
    SendMessageA(edit, EM_SETSEL, 1, 3);
    SendMessageA(edit, WM_CHAR, 'Q', 1);
    EXPECT_EQ(getItemText(dialog, Plain, 100), "a");

    // Backspace still deletes, and the program still sets texts.
    SendMessageA(edit, EM_SETSEL, 1, 1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(getItemText(dialog, Plain, 100), "");
    setItemText(dialog, Plain, "set by the program");
    EXPECT_EQ(getItemText(dialog, Plain, 100), "set by the program");

    // A later limit lifts the block.
    setTextLimit(dialog, Plain, 20);
    EXPECT_FALSE(editTakesNoCharacter(edit));
    type(Plain, "!!");
    EXPECT_EQ(getItemText(dialog, Plain, 100), "set by the program!!");
}

TEST_F(PlatformWin32, ALimitOfZeroInAMultiLineEditAlsoRefusesLineBreaks)
{
    setTextLimit(dialog, Multi, 0);
    type(Multi, "a\r\t");
    EXPECT_EQ(getItemText(dialog, Multi, 100), "");
}

TEST_F(PlatformWin32, EnableAndCheckStatesReadBack)
{
    EXPECT_TRUE(isItemEnabled(dialog, Radio));
    enableItem(dialog, Radio, false);
    EXPECT_FALSE(isItemEnabled(dialog, Radio));
    enableItem(dialog, Radio, true);
    EXPECT_TRUE(isItemEnabled(dialog, Radio));
    EXPECT_FALSE(getCheck(dialog, Radio));
    setCheck(dialog, Radio, true);
    EXPECT_TRUE(getCheck(dialog, Radio));
    setCheck(dialog, Radio, false);
    EXPECT_FALSE(getCheck(dialog, Radio));
}

} // namespace
