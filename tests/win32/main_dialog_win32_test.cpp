// The real main dialog from template 1: class, frame, every control of the
// layout file, and the parts of the message table that belong to the host.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_driver.h"
#include "ui/control_ids.h"
#include "ui/host_win32.h"
#include "ui/layout.h"
#include "ui/prompts_recorder.h"

namespace {

std::string classOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string textOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<HWND> childrenInOrder(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The control's rectangle in the dialog's client coordinates.
RECT placeOf(HWND dialog, HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(NULL, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class MainDialogWin32 : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = openMainDialogForTest();
        ASSERT_NE(dialog, nullptr);
        window = reinterpret_cast<HWND>(dialog);
    }
    void TearDown() override { closeMainDialogForTest(dialog); }

    Dialog* dialog = nullptr;
    HWND window = NULL;
};

TEST_F(MainDialogWin32, IsOfClassTrackerDialogWithItsProcedure)
{
    EXPECT_EQ(classOf(window), "trackerDialog");
    EXPECT_EQ(textOf(window), "Korvel Config V1.12");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(mainDialogProc));

    RECT client;
    GetClientRect(window, &client);
    RECT expected = {0, 0, kMainDialogWidth, kMainDialogHeight};
    MapDialogRect(window, &expected);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);

    WNDCLASSA windowClass = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(NULL), "trackerDialog", &windowClass));
    EXPECT_EQ(windowClass.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(windowClass.cbWndExtra, DLGWINDOWEXTRA);
    EXPECT_NE(windowClass.hIcon, nullptr);
    EXPECT_NE(windowClass.hbrBackground, nullptr);
}

// The template's items are checked in templates_win32_test.cpp; here, where the
// dialog manager put the controls made of them.
TEST_F(MainDialogWin32, PlacesEveryControlOfTheLayout)
{
    const std::vector<HWND> children = childrenInOrder(window);
    ASSERT_EQ(static_cast<int>(children.size()), mainDialogControlCount);
    for (int i = 0; i < mainDialogControlCount; ++i) {
        const ControlLayout& control = mainDialogLayout[i];
        SCOPED_TRACE(testing::Message() << "control " << i << " id " << control.id << " \"" << control.caption << "\"");
        EXPECT_EQ(static_cast<short>(GetDlgCtrlID(children[i])), control.id);

        // Position and size are mapped one by one, as the dialog manager does.
        RECT expected = {control.x, control.y, control.width, control.height};
        MapDialogRect(window, &expected);
        const RECT rect = placeOf(window, children[i]);
        EXPECT_EQ(rect.left, expected.left);
        EXPECT_EQ(rect.top, expected.top);
        EXPECT_EQ(rect.right - rect.left, expected.right);
        if (control.kind == KindCombo) {
            // A drop-down combo is as high as its field; the layout's height is for the list.
            RECT dropped = {};
            SendMessageA(children[i], CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            EXPECT_GT(dropped.bottom - dropped.top, rect.bottom - rect.top);
        } else {
            EXPECT_EQ(rect.bottom - rect.top, expected.bottom);
        }
    }
}

TEST_F(MainDialogWin32, NoControlHasTheFocusAtStart)
{
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == NULL || focus == window) << classOf(focus) << " " << GetDlgCtrlID(focus);
}

TEST_F(MainDialogWin32, OkAndCancelCommandsCloseNothing)
{
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0), 0);
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0), 0);
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, MAKEWPARAM(4711, 0x1234), 0), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(MainDialogWin32, ClosingDestroysTheDialogAndEndsTheLoopWithZero)
{
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    dialog = nullptr;
}

TEST_F(MainDialogWin32, ASecondRegistrationFailsWithItsMessage)
{
    clearRecordedPrompts();
    EXPECT_EQ(registerAndCreateMainDialog(GetModuleHandleA(NULL), NULL), nullptr);
    ASSERT_EQ(recordedMessages().size(), 1u);
    EXPECT_EQ(recordedMessages()[0].text, "cannot register dialog Class! (1410)"); // ERROR_CLASS_ALREADY_EXISTS
    EXPECT_EQ(recordedMessages()[0].caption, "KorvelConfig: Error");
}

// The SSID boxes are one digit wide: without scrolling, an edit refuses what does
// not fit, and SSIDs 10 to 15 could not be typed.
TEST_F(MainDialogWin32, TwoDigitSsidsCanBeTyped)
{
    for (int id : {IdSsid0, IdSsid1}) {
        setItemText(dialog, id, "");
        userType(dialog, id, "15");
        EXPECT_EQ(getItemText(dialog, id, 10), "15");
        EXPECT_EQ(getItemUnsigned(dialog, id), 15u);
    }
}

} // namespace

