// The dialog templates as linked into the program, read back from the resource
// section: the resource script must turn ui/main_dialog_layout.def into
// exactly these controls.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "control_ids.h"
#include "layout.h"

namespace {

// An extended template (DLGTEMPLATEEX); its texts are ASCII.
struct Reader {
    const std::uint8_t* start;
    const std::uint8_t* at = start;

    int word() { return at += 2, at[-2] | at[-1] << 8; }
    int shortValue() { return static_cast<short>(word()); }
    DWORD dword() { return static_cast<DWORD>(word()) | static_cast<DWORD>(word()) << 16; }
    std::string text()
    {
        std::string value;
        for (int c = word(); c; c = word())
            value += static_cast<char>(c);
        return value;
    }
    // Upper-cased names; predefined classes by their names, other ordinals as "#n".
    std::string nameOrOrdinal()
    {
        if (at[0] == 0xFF && at[1] == 0xFF) {
            word();
            const int ordinal = word();
            static const char* const predefined[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
            return ordinal >= 0x80 && ordinal <= 0x85 ? predefined[ordinal - 0x80] : "#" + std::to_string(ordinal);
        }
        std::string name = text();
        for (char& c : name)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        return name;
    }
};

DWORD expectedStyle(const ControlLayout& control)
{
    const auto bit = [&control](unsigned style, DWORD win32) { return control.styles & style ? win32 : 0; };
    const DWORD child = WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
    case KindGroup: return child | BS_GROUPBOX;
    case KindLabel:
        return child | WS_GROUP | bit(StyleCenter, SS_CENTER) | bit(StyleRight, SS_RIGHT) | bit(StyleSunken, SS_SUNKEN);
    case KindEdit:
        return child | WS_BORDER | WS_TABSTOP | bit(StyleUpper, ES_UPPERCASE) | bit(StyleCenter, ES_CENTER) |
               bit(StyleAutoHScroll, ES_AUTOHSCROLL) | bit(StyleMultiline, ES_MULTILINE);
    case KindTrackbar: return child | TBS_HORZ | TBS_BOTH | WS_TABSTOP; // end ticks only
    case KindCombo: return child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN;
    case KindPush: return child | WS_TABSTOP | BS_PUSHBUTTON | bit(StyleMultiline, BS_MULTILINE);
    case KindRadio: return child | BS_AUTORADIOBUTTON | bit(StyleGroup, WS_GROUP | WS_TABSTOP);
    case KindPicture: return child | WS_TABSTOP | SS_BITMAP | SS_NOTIFY | SS_REALSIZEIMAGE | SS_SUNKEN;
    }
    return 0;
}

TEST(TemplatesWin32, MainDialogHoldsTheLayoutFileItemByItem)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(ResMainDialog), MAKEINTRESOURCEA(5)); // RT_DIALOG
    ASSERT_NE(resource, nullptr);
    Reader read{static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource)))};
    ASSERT_EQ(read.dword(), 0xFFFF0001u) << "an extended template";
    read.dword(); // help id
    EXPECT_EQ(read.dword(), 0u);
    ASSERT_EQ(read.dword(), static_cast<DWORD>(DS_SETFONT | DS_FIXEDSYS | WS_CAPTION | WS_SYSMENU | DS_3DLOOK));
    const int count = read.word();
    read.dword(); // x, y
    EXPECT_EQ(read.shortValue(), KORVEL_MAIN_WIDTH);
    EXPECT_EQ(read.shortValue(), KORVEL_MAIN_HEIGHT);
    EXPECT_EQ(read.nameOrOrdinal(), ""); // menu
    EXPECT_EQ(read.nameOrOrdinal(), "TRACKERDIALOG") << "the class whose procedure runs the logic";
    EXPECT_EQ(read.text(), KORVEL_MAIN_CAPTION);
    EXPECT_EQ(read.word(), KORVEL_FONT_POINTS);
    read.dword(); // weight, italic, charset
    EXPECT_EQ(read.text(), KORVEL_FONT_NAME);

    ASSERT_EQ(count, mainDialogControlCount);
    static const char* const classOfKind[] = {"BUTTON", "STATIC", "EDIT", "MSCTLS_TRACKBAR32",
                                              "COMBOBOX", "BUTTON", "BUTTON"};
    for (int i = 0; i < count; ++i) {
        const ControlLayout& control = mainDialogLayout[i];
        SCOPED_TRACE(testing::Message() << "id " << control.id << " \"" << control.caption << "\"");
        read.at += (4 - ((read.at - read.start) & 3)) & 3;
        read.dword(); // help id
        EXPECT_EQ(read.dword(), 0u) << "extended style";
        const DWORD style = read.dword();
        EXPECT_EQ(style, expectedStyle(control)) << std::hex << style << " " << expectedStyle(control);
        const std::vector<int> rect{read.shortValue(), read.shortValue(), read.shortValue(), read.shortValue()};
        EXPECT_EQ(rect, (std::vector<int>{control.x, control.y, control.width, control.height}));
        EXPECT_EQ(static_cast<short>(read.dword()), control.id);
        EXPECT_EQ(read.nameOrOrdinal(), classOfKind[control.kind]);
        EXPECT_EQ(read.text(), control.caption);
        read.at += read.word(); // creation data
    }
}

// The program's manifest alone (no toolchain default beside it) asks for common
// controls 6 and per-monitor DPI awareness.
TEST(TemplatesWin32, OneManifestWithCommonControls6)
{
    HMODULE module = GetModuleHandleA(NULL);
    int manifests = 0;
    EnumResourceLanguagesA(
        module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), // RT_MANIFEST
        [](HMODULE, LPCSTR, LPCSTR, WORD, LONG_PTR count) -> BOOL { return ++*reinterpret_cast<int*>(count), TRUE; },
        reinterpret_cast<LONG_PTR>(&manifests));
    EXPECT_EQ(manifests, 1);
    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    EXPECT_NE(text.find("\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
}

} // namespace
