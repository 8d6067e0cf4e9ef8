// The Win32 dialog as a screen reader finds it. Windows names an edit, trackbar or
// combo after the static right before it in the template, so every tab stop must
// follow the static that names it; oleacc then gives the names (Wine's names the
// edits this way), and where the system's property services take annotations, the
// names with their configuration and each trackbar's value as its label shows it.
#include <initguid.h>

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "control_ids.h"
#include "host_win32.h"

namespace {

struct Expected {
    int id;
    std::string label; // the static before it; "" where the control shows its own text
    std::string name;  // what a screen reader says
    std::string value; // trackbars: what their label shows at start
};

std::vector<Expected> expectedControls()
{
    std::vector<Expected> all;
    const struct {
        int ids[2];
        const char* label;
        const char* value;
    } rows[] = {
        {{IdCallsign0, IdCallsign1}, "Mycall", ""},
        {{IdSsid0, IdSsid1}, "SSID", ""},
        {{IdSymbol0, IdSymbol1}, "Symbol", ""},
        {{IdHops0, IdHops1}, "Digi-Hops", "2"},
        {{IdPathType0, IdPathType1}, "Path type", ""},
        {{IdPath0, IdPath1}, "Path", ""},
        {{IdTxDelay0, IdTxDelay1}, "TX Delay", "233.3 ms"},
        {{IdDriveInterval0, IdDriveInterval1}, "Transmitt intervall during drive", "30 sec"},
        {{IdDriveSpeed0, IdDriveSpeed1}, "km/h above is drive", "10 km/h"},
        {{IdIdleFactor0, IdIdleFactor1}, "Transmitt intervall if not drive", "6min 0sec"},
        {{IdComment0, IdComment1}, "CommentText", ""},
        {{IdFrames0, IdFrames1}, "Frames without Text", "10 frames"},
    };
    for (int n = 0; n < 2; ++n)
        for (const auto& row : rows)
            all.push_back({row.ids[n], row.label, "Config " + std::to_string(n) + " " + row.label, row.value});
    all.push_back({IdTiny13, "", "Tiny13", ""});
    all.push_back({IdSecondConfig, "", "Disable 2nd Config", ""});
    all.push_back({IdLog, "Log", "Log", ""});
    all.push_back({IdProgram, "", "Generate Config and Programm", ""});
    all.push_back({IdPort, "Port", "Port", ""});
    all.push_back({IdBaud, "Baud rate", "Baud rate", ""});
    return all;
}

std::string textOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string classOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string narrow(BSTR text)
{
    std::string result;
    for (UINT i = 0; text && i < SysStringLen(text); ++i)
        result.push_back(static_cast<char>(text[i]));
    return result;
}

class ScreenReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        instanceHandle = GetModuleHandleA(NULL);
        const PortFinder noPorts = [] { return std::vector<PortEntry>(); };
        WNDCLASSA registered;
        dialog = GetClassInfoA(instanceHandle, "trackerDialog", &registered)
                     ? createMainDialog(instanceHandle, NULL, &noPorts)
                     : registerAndCreateMainDialog(instanceHandle, NULL, &noPorts);
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override { DestroyWindow(dialog); }

    HWND dialog = NULL;
};

// Tab visits the controls in template order, so each tab stop is checked where it
// stands; a control added without its label fails here.
TEST_F(ScreenReader, EveryTabStopFollowsTheStaticThatNamesIt)
{
    const std::vector<Expected> expected = expectedControls();
    std::size_t found = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!(GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP))
            continue;
        const int id = GetDlgCtrlID(child);
        SCOPED_TRACE(testing::Message() << "control " << id);
        const Expected* row = nullptr;
        for (const Expected& e : expected)
            row = e.id == id ? &e : row;
        ASSERT_NE(row, nullptr) << "a tab stop screen readers cannot name";
        ++found;
        if (row->label.empty()) {
            EXPECT_EQ(textOf(child), row->name);
            continue;
        }
        HWND before = GetWindow(child, GW_HWNDPREV);
        EXPECT_EQ(classOf(before), "Static");
        EXPECT_EQ(textOf(before), row->label);
        // Hidden where the dialog shows no caption.
        EXPECT_EQ((GetWindowLongA(before, GWL_STYLE) & WS_VISIBLE) != 0, row->label != "Path type" && row->label != "Log" &&
                                                        row->label != "Port" && row->label != "Baud rate");
    }
    EXPECT_EQ(found, expected.size());
}

// What oleacc gives a screen reader, printed for the record.
TEST_F(ScreenReader, OleaccNamesTheControls)
{
    ShowWindow(dialog, SW_SHOW);
    // Asking for the dialog's object is what makes the dialog annotate itself.
    IAccessible* whole = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(dialog, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                         reinterpret_cast<void**>(&whole)),
              S_OK);
    whole->Release();
    IAccPropServices* services = nullptr;
    HRESULT annotates = CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                         reinterpret_cast<void**>(&services));
    if (services) {
        annotates = services->SetHwndPropStr(GetDlgItem(dialog, IdStatus), static_cast<DWORD>(OBJID_CLIENT),
                                             CHILDID_SELF, PROPID_ACC_HELP, L"probe");
        services->Release();
    }
    std::printf("property services: %s\n", annotates == S_OK ? "annotate" : "not implemented here");

    for (const Expected& row : expectedControls()) {
        SCOPED_TRACE(testing::Message() << "control " << row.id);
        IAccessible* control = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(GetDlgItem(dialog, row.id), static_cast<DWORD>(OBJID_CLIENT),
                                             IID_IAccessible, reinterpret_cast<void**>(&control)),
                  S_OK);
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        BSTR value = nullptr;
        control->get_accName(self, &name);
        control->get_accValue(self, &value);
        std::printf("%4d  name \"%s\"  value \"%s\"\n", row.id, narrow(name).c_str(), narrow(value).c_str());
        if (annotates == S_OK) {
            EXPECT_EQ(narrow(name), row.name);
            if (!row.value.empty())
                EXPECT_EQ(narrow(value), row.value);
        } else if (classOf(GetDlgItem(dialog, row.id)) == "Edit" || row.label.empty()) {
            EXPECT_EQ(narrow(name), row.label.empty() ? row.name : row.label);
        }
        SysFreeString(name);
        SysFreeString(value);
        control->Release();
    }
}

} // namespace
