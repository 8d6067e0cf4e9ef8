// The Windows program's real message box: a file name in UTF-8 and a Windows-1252
// text shown as they are, read back from the box; the focus back on its field after.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "control_ids.h"
#include "host_win32.h"
#include "prompts.h"

namespace {

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

TEST(PromptsWin32, ABoxShowsTextsAsTheyAreAndGivesTheFocusBack)
{
    instanceHandle = GetModuleHandleA(NULL);
    HWND dialog = registerAndCreateMainDialog(instanceHandle, NULL);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    const struct {
        const char* text;
        std::wstring shown;
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
    DestroyWindow(dialog);
}

} // namespace
