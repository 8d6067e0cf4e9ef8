// The Win32 dialog under Wine where the behaviour suite does not look: the real
// message box, and the dialog as a screen reader finds it.
#include <initguid.h>

#include <windows.h>
#include <oleacc.h>

#include <string>

#include <gtest/gtest.h>

#include "control_ids.h"
#include "host_win32.h"
#include "prompts.h"

namespace {

// One dialog for both tests, with no ports: its class is registered once a process.
HWND theDialog()
{
    static const PortFinder noPorts = [] { return std::vector<PortEntry>(); };
    instanceHandle = GetModuleHandleA(NULL);
    static HWND dialog = registerAndCreateMainDialog(instanceHandle, NULL, &noPorts);
    return dialog;
}

std::wstring shown;

// In the box's own loop: its text (the static 0xFFFF), then OK.
void CALLBACK readAndClose(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowW(L"#32770", L"KorvelConfig");
    wchar_t text[256] = L"";
    if (!box || !GetDlgItemTextW(box, 0xFFFF, text, 256))
        return;
    shown = text;
    KillTimer(NULL, timer);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// A file name in UTF-8 and a Windows-1252 text shown as they are, read back from the
// box; the focus back on its field after.
TEST(PromptsWin32, ABoxShowsTextsAsTheyAreAndGivesTheFocusBack)
{
    HWND dialog = theDialog();
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    const struct {
        const char* text;
        const wchar_t* shown;
    } cases[] = {
        {"C:\\\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9mega\\x.korvel, line 1: not UTF-8 text",
         L"C:\\\x0141\x00F3" L"d\x017A \x03A9mega\\x.korvel, line 1: not UTF-8 text"},
        {"Gr\xFC\xDF" "e \x80", L"Gr\x00FC\x00DF" L"e \x20AC"},
    };
    for (const auto& c : cases) {
        SetFocus(GetDlgItem(dialog, IdPath0));
        shown.clear();
        SetTimer(NULL, 0, 50, readAndClose);
        showMessage(c.text, "KorvelConfig");
        EXPECT_TRUE(shown == c.shown) << c.text;
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IdPath0));
    }
}

std::string text(HWND window)
{
    char buffer[256] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

// Windows names an edit, trackbar or combo after the static right before it in the
// template, so each tab stop must follow the static that names it; oleacc gives the
// names of edits and buttons so under Wine too. (Wine takes no annotations, which
// carry the configuration and the trackbars' values: WINEDEBUG=fixme+oleacc shows
// what the dialog annotates.)
TEST(ScreenReader, EveryTabStopFollowsItsLabelAndOleaccNamesIt)
{
    const struct {
        int ids[2];
        const char* label;
    } rows[] = {
        {{IdCallsign0, IdCallsign1}, "Mycall"}, {{IdSsid0, IdSsid1}, "SSID"}, {{IdSymbol0, IdSymbol1}, "Symbol"},
        {{IdHops0, IdHops1}, "Digi-Hops"}, {{IdPathType0, IdPathType1}, "Path type"}, {{IdPath0, IdPath1}, "Path"},
        {{IdTxDelay0, IdTxDelay1}, "TX Delay"}, {{IdDriveInterval0, IdDriveInterval1}, "Transmitt intervall during drive"},
        {{IdDriveSpeed0, IdDriveSpeed1}, "km/h above is drive"},
        {{IdIdleFactor0, IdIdleFactor1}, "Transmitt intervall if not drive"}, {{IdComment0, IdComment1}, "CommentText"},
        {{IdFrames0, IdFrames1}, "Frames without Text"}, {{IdLog, -1}, "Log"}, {{IdPort, -1}, "Port"},
        {{IdBaud, -1}, "Baud rate"}, {{IdTiny13, -1}, ""}, {{IdSecondConfig, -1}, ""}, {{IdProgram, -1}, ""}, // their own text
    };
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND dialog = theDialog();
    ASSERT_NE(dialog, nullptr);
    int tabStops = 0, checked = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        tabStops += (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) != 0;
    for (const auto& row : rows)
        for (int n = 0; n < 2 && row.ids[n] >= 0; ++n, ++checked) {
            HWND control = GetDlgItem(dialog, row.ids[n]), before = GetWindow(control, GW_HWNDPREV);
            SCOPED_TRACE(testing::Message() << "control " << row.ids[n]);
            ASSERT_TRUE(GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP);
            const std::string label = *row.label ? row.label : text(control);
            if (*row.label) { // the labels the dialog does not show are hidden
                EXPECT_EQ(text(before), label);
                const bool hidden = label == "Path type" || label == "Log" || label == "Port" || label == "Baud rate";
                EXPECT_EQ((GetWindowLongA(before, GWL_STYLE) & WS_VISIBLE) == 0, hidden);
            }
            if (*row.label && !(SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
                continue; // not an edit, nor a button named by its own text
            IAccessible* accessible = nullptr;
            ASSERT_EQ(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                 reinterpret_cast<void**>(&accessible)), S_OK);
            VARIANT self{}; // lVal 0: CHILDID_SELF
            self.vt = VT_I4;
            BSTR name = nullptr;
            accessible->get_accName(self, &name);
            EXPECT_EQ(name ? std::string(name, name + SysStringLen(name)) : "", label); // the names are ASCII
            SysFreeString(name);
            accessible->Release();
        }
    EXPECT_EQ(checked, tabStops) << "a tab stop without a name";
}

} // namespace
