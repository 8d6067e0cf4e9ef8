// The real symbol chooser from template 115: presses are measured from the
// pixel where the bitmap is drawn, and only a pick ends it.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "driver_win32.h"
#include "chooser_win32.h"
#include "control_ids.h"
#include "dialog_state.h"

namespace {

// Runs the chooser on its own and calls `step` from inside its modal loop, once
// per timer tick, until the chooser has ended.
std::function<void(HWND)> chooserStep;
SymbolPick pick;

void CALLBACK stepChooser(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND chooser = findOpenChooser())
        chooserStep(chooser);
}

void runChooserWith(std::function<void(HWND)> step)
{
    pick.armed = false;
    chooserStep = std::move(step);
    const UINT_PTR timer = SetTimer(NULL, 0, 20, stepChooser);
    DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(ResChooserDialog), NULL, symbolChooserProc,
                    reinterpret_cast<LPARAM>(&pick));
    KillTimer(NULL, timer);
}

// The grid's black lines and the red mark under ">/" (row 2's top line, x 274 to
// 294) at their own pixels from the origin: not clipped, stretched or shifted.
// Read from the picture's own painting; then closing tries, then real clicks.
TEST(ChooserWin32, DrawsTheBitmapAtThePressOriginAndEndsOnlyWithAPick)
{
    const COLORREF black = RGB(0, 0, 0), red = RGB(255, 0, 0);
    const std::vector<std::pair<POINT, COLORREF>> expected = {
        {{0, 0}, black},   {{21, 10}, black}, {{10, 21}, black}, {{315, 105}, black}, {{273, 42}, black},
        {{274, 42}, red},  {{294, 42}, red},  {{295, 42}, black}, {{0, 126}, black},   {{336, 126}, black},
    };
    int ticks = 0;
    bool openAfterClosing = false;
    runChooserWith([&](HWND chooser) {
        HWND picture = findChooserPicture(chooser);
        if (ticks == 0) {
            POINT clientOrigin = {0, 0};
            ClientToScreen(picture, &clientOrigin);
            const POINT origin = pictureOriginOnScreen(picture);
            EXPECT_EQ(std::make_pair(origin.x, origin.y), std::make_pair(clientOrigin.x, clientOrigin.y));
            UpdateWindow(picture);
            HDC drawn = GetDC(picture);
            for (const auto& [at, colour] : expected)
                EXPECT_EQ(GetPixel(drawn, at.x, at.y), colour) << "pixel " << at.x << "," << at.y;
            ReleaseDC(picture, drawn);

            SendMessageA(chooser, WM_CLOSE, 0, 0);                                  // close box, Alt+F4
            SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); // what WM_CLOSE becomes
            SendMessageA(chooser, WM_SYSCOMMAND, SC_CLOSE, 0);
            openAfterClosing = IsWindowVisible(chooser) && !pick.armed;
        } else if (ticks > 10) {
            pressChooserPicture(chooser, 0, 0); // the clicks never arrived: end it
        } else {
            // The real mouse path: arm, then pick row 4, column 2 ("c/").
            const POINT origin = pictureOriginOnScreen(picture);
            SetCursorPos(origin.x + 21 * 2 + 3, origin.y + 21 * 4 + 3);
            INPUT click[2] = {};
            click[0].type = click[1].type = INPUT_MOUSE;
            click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            SendInput(2, click, sizeof click[0]);
        }
        ++ticks;
    });
    EXPECT_TRUE(openAfterClosing);
    EXPECT_LE(ticks, 3);
    EXPECT_STREQ(pick.chosen, "c/");
}

TEST(ChooserWin32, TheSecondPressPicksTheCellUnderItsPixel)
{
    const struct {
        int x, y;
        const char* symbol;
    } cases[] = {
        {0, 0, "!/"},     {20, 20, "!/"},   {20, 21, "1/"},   {273, 21, ">/"}, {294, 21, "?/"},
        {335, 0, "0/"},   {0, 105, "q/"},   {335, 125, "--"}, {-1, 5, ">/"},   {336, 0, ">/"},
        {0, 126, ">/"},   {100, 300, ">/"},
    };
    for (const auto& c : cases) {
        int presses = 0;
        runChooserWith([&](HWND chooser) {
            pressChooserPicture(chooser, presses ? c.x : 5, presses ? c.y : 5);
            ++presses;
        });
        EXPECT_STREQ(pick.chosen, c.symbol) << "at " << c.x << "," << c.y;
    }
}

} // namespace
