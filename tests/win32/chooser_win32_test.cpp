// The real symbol chooser from template 115: where the picture is on screen,
// which cell a press takes, and what does not end the chooser.

#include <windows.h>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "driver_win32.h"
#include "host_driver.h"
#include "symbols/chooser_win32.h"
#include "symbols/symbol_chooser.h"
#include "symbols/symbol_grid.h"
#include "ui/control_ids.h"
#include "ui/host_win32.h"
#include "ui/layout.h"

namespace {

// Runs the chooser on its own and calls `step` from inside its modal loop, once
// per timer tick with the open chooser, until the chooser has ended.
std::function<void(HWND)> chooserStep;

void CALLBACK stepChooser(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND chooser = findOpenChooser())
        chooserStep(chooser);
}

void runChooserWith(std::function<void(HWND)> step)
{
    instanceHandle = GetModuleHandleA(NULL);
    pickArmed = false;
    chooserStep = std::move(step);
    const UINT_PTR timer = SetTimer(NULL, 0, 20, stepChooser);
    runSymbolChooser(nullptr);
    KillTimer(NULL, timer);
}

// The grid's black lines and the red mark under ">/" (row 2's top line at x 274
// to 294) must be at their own pixels: not clipped, not stretched, not shifted.
// Read from the picture's own painting, which the screen shows only after a delay.
TEST(ChooserWin32, TheBitmapIsDrawnPixelForPixelFromThePictureOrigin)
{
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF red = RGB(255, 0, 0);
    std::vector<std::pair<POINT, COLORREF>> expected = {
        {{0, 0}, black},     {{21, 10}, black},  {{10, 21}, black},  {{315, 105}, black},
        {{273, 42}, black},  {{274, 42}, red},   {{284, 42}, red},   {{294, 42}, red},
        {{295, 42}, black},  {{0, 126}, black},  {{336, 0}, black},  {{336, 126}, black},
    };
    std::vector<COLORREF> seen;
    POINT origin = {};
    POINT clientOrigin = {};
    runChooserWith([&](HWND chooser) {
        HWND picture = findChooserPicture(chooser);
        origin = pictureOriginOnScreen(picture);
        ClientToScreen(picture, &clientOrigin);
        UpdateWindow(picture);
        HDC drawn = GetDC(picture);
        for (const auto& point : expected)
            seen.push_back(GetPixel(drawn, point.first.x, point.first.y));
        ReleaseDC(picture, drawn);
        pressChooserPicture(chooser, 0, 0);
        pressChooserPicture(chooser, 0, 0);
    });
    EXPECT_EQ(origin.x, clientOrigin.x);
    EXPECT_EQ(origin.y, clientOrigin.y);
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(seen[i], expected[i].second) << "pixel " << expected[i].first.x << "," << expected[i].first.y;
}

TEST(ChooserWin32, OnlyASecondPressEndsIt)
{
    int ticks = 0;
    bool openAfterFirstPress = false;
    bool openAfterCloseAndEscape = false;
    runChooserWith([&](HWND chooser) {
        switch (ticks++) {
        case 0:
            pressChooserPicture(chooser, 300, 10); // arms only; where does not matter
            openAfterFirstPress = IsWindow(chooser) && IsWindowVisible(chooser) && pickArmed;
            break;
        case 1:
            SendMessageA(chooser, WM_CLOSE, 0, 0);                                  // close box, Alt+F4
            SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); // Escape
            SendMessageA(chooser, WM_SYSCOMMAND, SC_CLOSE, 0);
            openAfterCloseAndEscape = IsWindow(chooser) && IsWindowVisible(chooser);
            break;
        default:
            pressChooserPicture(chooser, 21 * 13 + 5, 21 + 5); // cell 29
        }
    });
    EXPECT_TRUE(openAfterFirstPress);
    EXPECT_TRUE(openAfterCloseAndEscape);
    EXPECT_EQ(ticks, 3);
    EXPECT_STREQ(chosenSymbol, ">/");
    EXPECT_FALSE(pickArmed);
}

TEST(ChooserWin32, RealMouseClicksReachTheChooser)
{
    int clicks = 0;
    runChooserWith([&](HWND chooser) {
        const POINT origin = pictureOriginOnScreen(findChooserPicture(chooser));
        SetCursorPos(origin.x + 21 * 2 + 3, origin.y + 21 * 4 + 3); // row 4, column 2: 'c'
        INPUT press[2] = {};
        press[0].type = press[1].type = INPUT_MOUSE;
        press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, press, sizeof press[0]);
        if (++clicks > 10)
            pressChooserPicture(chooser, 0, 0); // the clicks never arrived: end it
    });
    EXPECT_LE(clicks, 2);
    EXPECT_STREQ(chosenSymbol, "c/");
}

class ChooserFromMainDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = openMainDialogForTest();
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override { closeMainDialogForTest(dialog); }

    std::string pick(int edit, int x, int y)
    {
        queueChooserPresses({{5, 5}, {x, y}});
        userFocus(dialog, edit);
        return getItemText(dialog, edit, 10);
    }

    Dialog* dialog = nullptr;
};

TEST_F(ChooserFromMainDialog, PicksTheCellUnderTheSecondPress)
{
    struct Case {
        int x, y;
        const char* symbol;
    };
    const Case cases[] = {
        {0, 0, "!/"},     {20, 20, "!/"},   {20, 21, "1/"},   {273, 21, ">/"},  {293, 41, ">/"},
        {294, 21, "?/"},  {293, 125, "~/"}, {314, 125, "--"}, {335, 125, "--"}, {336, 0, ">/"},
        {-1, 5, ">/"},    {0, 126, ">/"},   {100, 300, ">/"}, {0, 105, "q/"},   {335, 0, "0/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pick(IdSymbol0, c.x, c.y), c.symbol) << "at " << c.x << "," << c.y;
}

TEST_F(ChooserFromMainDialog, TheFocusGoesBackToTheDialogNotToTheEdit)
{
    EXPECT_EQ(pick(IdSymbol1, 21 * 9 + 1, 21 * 2 + 1), "J/");
    EXPECT_EQ(GetFocus(), reinterpret_cast<HWND>(dialog));
}

TEST_F(ChooserFromMainDialog, AChooserWithoutQueuedPressesFailsTheTestInsteadOfHanging)
{
    EXPECT_NONFATAL_FAILURE(userFocus(dialog, IdSymbol0), "no press queued");
    EXPECT_EQ(getItemText(dialog, IdSymbol0, 10), ">/");
}

} // namespace
