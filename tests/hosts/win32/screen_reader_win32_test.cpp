// The Win32 dialog as a screen reader finds it. Windows names an edit, trackbar or
// combo after the static right before it in the template, so each tab stop must
// follow the static that names it. oleacc gives the names (Wine's names edits
// this way); where the system takes annotations, the names carry the configuration
// and each trackbar says what its label shows. Prints what oleacc gives.
#include <initguid.h>

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "control_ids.h"
#include "host_win32.h"

namespace {

std::string text(HWND window)
{
    char buffer[256] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string narrow(BSTR s)
{
    return s ? std::string(s, s + SysStringLen(s)) : std::string(); // the names are ASCII
}

TEST(ScreenReader, EveryTabStopFollowsItsLabelAndOleaccNamesIt)
{
    const struct {
        int ids[2];
        const char* label;
        const char* value; // trackbars: their label at start
    } rows[] = {
        {{IdCallsign0, IdCallsign1}, "Mycall", ""}, {{IdSsid0, IdSsid1}, "SSID", ""},
        {{IdSymbol0, IdSymbol1}, "Symbol", ""}, {{IdHops0, IdHops1}, "Digi-Hops", "2"},
        {{IdPathType0, IdPathType1}, "Path type", ""}, {{IdPath0, IdPath1}, "Path", ""},
        {{IdTxDelay0, IdTxDelay1}, "TX Delay", "233.3 ms"},
        {{IdDriveInterval0, IdDriveInterval1}, "Transmitt intervall during drive", "30 sec"},
        {{IdDriveSpeed0, IdDriveSpeed1}, "km/h above is drive", "10 km/h"},
        {{IdIdleFactor0, IdIdleFactor1}, "Transmitt intervall if not drive", "6min 0sec"},
        {{IdComment0, IdComment1}, "CommentText", ""}, {{IdFrames0, IdFrames1}, "Frames without Text", "10 frames"},
        {{IdLog, -1}, "Log", ""}, {{IdPort, -1}, "Port", ""}, {{IdBaud, -1}, "Baud rate", ""},
        {{IdTiny13, -1}, "", ""}, {{IdSecondConfig, -1}, "", ""}, {{IdProgram, -1}, "", ""}, // their own text
    };
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    instanceHandle = GetModuleHandleA(NULL);
    const PortFinder noPorts = [] { return std::vector<PortEntry>(); };
    HWND dialog = registerAndCreateMainDialog(instanceHandle, NULL, &noPorts);
    ASSERT_NE(dialog, nullptr);
    // Asking for the dialog's object makes the dialog annotate its controls.
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(dialog, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                         reinterpret_cast<void**>(&object)), S_OK);
    object->Release();
    IAccPropServices* services = nullptr;
    HRESULT annotates = CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                         reinterpret_cast<void**>(&services));
    if (services) {
        annotates = services->SetHwndPropStr(dialog, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_HELP, L"");
        services->Release();
    }
    std::printf("annotations %s\n", annotates == S_OK ? "taken" : "not taken here");

    int tabStops = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        tabStops += (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) != 0;
    int checked = 0;
    for (const auto& row : rows)
        for (int n = 0; n < 2 && row.ids[n] >= 0; ++n, ++checked) {
            HWND control = GetDlgItem(dialog, row.ids[n]);
            SCOPED_TRACE(testing::Message() << "control " << row.ids[n]);
            ASSERT_TRUE(GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP);
            const std::string label = *row.label ? row.label : text(control);
            const std::string name = (row.ids[1] >= 0 ? "Config " + std::to_string(n) + " " : "") + label;
            HWND before = GetWindow(control, GW_HWNDPREV);
            if (*row.label) {
                EXPECT_EQ(text(before), label);
            }
            // The labels the dialog does not show are hidden.
            const bool shown = label != "Path type" && label != "Log" && label != "Port" && label != "Baud rate";
            EXPECT_EQ((GetWindowLongA(before, GWL_STYLE) & WS_VISIBLE) != 0, shown || !*row.label);

            IAccessible* accessible = nullptr;
            ASSERT_EQ(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                 reinterpret_cast<void**>(&accessible)), S_OK);
            VARIANT self;
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR got = nullptr;
            BSTR value = nullptr;
            accessible->get_accName(self, &got);
            accessible->get_accValue(self, &value);
            std::printf("%4d  name \"%s\"  value \"%s\"\n", row.ids[n], narrow(got).c_str(), narrow(value).c_str());
            if (annotates == S_OK) {
                EXPECT_EQ(narrow(got), name);
                EXPECT_TRUE(!*row.value || narrow(value) == row.value);
            } else if (!*row.label || SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
                EXPECT_EQ(narrow(got), label); // an edit, or a button's own text
            }
            SysFreeString(got);
            SysFreeString(value);
            accessible->Release();
        }
    EXPECT_EQ(checked, tabStops) << "a tab stop without a name";
    DestroyWindow(dialog);
}

} // namespace
