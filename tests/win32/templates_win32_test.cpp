// The dialog templates as linked into the program: read back from the resource
// section and compared, item by item, with the layout file and the chooser's
// fixed template.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/control_ids.h"
#include "ui/layout.h"

namespace {

// A name or ordinal of a template: a class, a title or a menu.
struct NameOrOrdinal {
    std::string name;
    int ordinal = -1;
};

struct TemplateItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int id = 0;
    NameOrOrdinal className;
    NameOrOrdinal title;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    NameOrOrdinal className;
    std::string title;
    int pointSize = 0, weight = 0, italic = 0, charset = 0;
    std::string font;
    std::vector<TemplateItem> items;
};

class Reader {
public:
    explicit Reader(const std::uint8_t* start) : start(start), at(start) {}
    std::uint16_t word()
    {
        std::uint16_t value = static_cast<std::uint16_t>(at[0] | at[1] << 8);
        at += 2;
        return value;
    }
    std::uint32_t dword()
    {
        std::uint32_t low = word();
        return low | static_cast<std::uint32_t>(word()) << 16;
    }
    std::uint8_t byte() { return *at++; }
    std::string text() // UTF-16 of ASCII only in these templates
    {
        std::string value;
        for (std::uint16_t c = word(); c; c = word())
            value += static_cast<char>(c);
        return value;
    }
    NameOrOrdinal nameOrOrdinal()
    {
        NameOrOrdinal value;
        const std::uint16_t first = word();
        if (first == 0xFFFF) {
            value.ordinal = word();
        } else if (first != 0) {
            at -= 2;
            value.name = text();
        }
        return value;
    }
    void alignToDword() { at += (4 - ((at - start) & 3)) & 3; }
    void skip(std::size_t count) { at += count; }

private:
    const std::uint8_t* start;
    const std::uint8_t* at;
};

bool readTemplate(int resourceId, DialogTemplate& dialog)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(5)); // RT_DIALOG
    if (!resource)
        return false;
    Reader read(static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource))));
    if (read.word() != 1 || read.word() != 0xFFFF) // an extended template
        return false;
    read.dword(); // help id
    dialog.exStyle = read.dword();
    dialog.style = read.dword();
    const int count = read.word();
    dialog.x = static_cast<short>(read.word());
    dialog.y = static_cast<short>(read.word());
    dialog.width = static_cast<short>(read.word());
    dialog.height = static_cast<short>(read.word());
    read.nameOrOrdinal(); // menu
    dialog.className = read.nameOrOrdinal();
    dialog.title = read.text();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = read.word();
        dialog.weight = read.word();
        dialog.italic = read.byte();
        dialog.charset = read.byte();
        dialog.font = read.text();
    }
    for (int i = 0; i < count; ++i) {
        read.alignToDword();
        TemplateItem item;
        read.dword(); // help id
        item.exStyle = read.dword();
        item.style = read.dword();
        item.x = static_cast<short>(read.word());
        item.y = static_cast<short>(read.word());
        item.width = static_cast<short>(read.word());
        item.height = static_cast<short>(read.word());
        item.id = static_cast<int>(read.dword());
        item.className = read.nameOrOrdinal();
        item.title = read.nameOrOrdinal();
        read.skip(read.word());
        dialog.items.push_back(item);
    }
    return true;
}

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A predefined class is written as its ordinal or as its name.
std::string classNameOf(const NameOrOrdinal& value)
{
    switch (value.ordinal) {
    case 0x80: return "BUTTON";
    case 0x81: return "EDIT";
    case 0x82: return "STATIC";
    case 0x85: return "COMBOBOX";
    case -1: return upper(value.name);
    default: return "#" + std::to_string(value.ordinal);
    }
}

// The exact window style of each kind of control, with the layout's styles.
DWORD styleFor(const ControlLayout& control)
{
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const unsigned s = control.styles;
    switch (control.kind) {
    case KindGroup:
        return child | BS_GROUPBOX;
    case KindLabel:
        return child | WS_GROUP | SS_LEFT | (s & StyleCenter ? SS_CENTER : 0) | (s & StyleRight ? SS_RIGHT : 0) |
               (s & StyleSunken ? SS_SUNKEN : 0);
    case KindEdit:
        return child | WS_BORDER | WS_TABSTOP | ES_LEFT | (s & StyleUpper ? ES_UPPERCASE : 0) |
               (s & StyleCenter ? ES_CENTER : 0) | (s & StyleAutoHScroll ? ES_AUTOHSCROLL : 0) |
               (s & StyleMultiline ? ES_MULTILINE : 0);
    case KindTrackbar:
        return child | TBS_HORZ | TBS_BOTH; // no tab stop
    case KindCombo:
        return child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN;
    case KindPush:
        return child | WS_TABSTOP | BS_PUSHBUTTON | (s & StyleMultiline ? BS_MULTILINE : 0);
    case KindRadio:
        return child | BS_AUTORADIOBUTTON | (s & StyleGroup ? WS_GROUP : 0);
    }
    return 0;
}

const char* classFor(ControlKind kind)
{
    switch (kind) {
    case KindEdit: return "EDIT";
    case KindLabel: return "STATIC";
    case KindTrackbar: return "MSCTLS_TRACKBAR32";
    case KindCombo: return "COMBOBOX";
    default: return "BUTTON";
    }
}

TEST(TemplatesWin32, MainDialogIsTheTrackerDialogFrame)
{
    DialogTemplate dialog;
    ASSERT_TRUE(readTemplate(ResMainDialog, dialog));
    EXPECT_EQ(dialog.style, static_cast<DWORD>(DS_SETFONT | DS_FIXEDSYS | WS_CAPTION | WS_SYSMENU | DS_3DLOOK));
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.width, kMainDialogWidth);
    EXPECT_EQ(dialog.height, kMainDialogHeight);
    EXPECT_EQ(upper(dialog.className.name), "TRACKERDIALOG"); // class names are not case-sensitive
    EXPECT_EQ(dialog.title, kMainDialogCaption);
    EXPECT_EQ(dialog.pointSize, kDialogFontPoints);
    EXPECT_EQ(dialog.weight, 400);
    EXPECT_EQ(dialog.italic, 0);
    EXPECT_EQ(dialog.charset, 1);
    EXPECT_EQ(dialog.font, kDialogFontName);
}

TEST(TemplatesWin32, MainDialogHoldsTheLayoutFileItemByItem)
{
    DialogTemplate dialog;
    ASSERT_TRUE(readTemplate(ResMainDialog, dialog));
    ASSERT_EQ(static_cast<int>(dialog.items.size()), mainDialogControlCount);
    for (int i = 0; i < mainDialogControlCount; ++i) {
        const ControlLayout& control = mainDialogLayout[i];
        const TemplateItem& item = dialog.items[i];
        SCOPED_TRACE(testing::Message() << "item " << i << " id " << control.id << " \"" << control.caption << "\"");
        EXPECT_EQ(static_cast<short>(item.id), control.id);
        EXPECT_EQ(classNameOf(item.className), classFor(control.kind));
        EXPECT_EQ(item.style, styleFor(control)) << std::hex << item.style << " " << styleFor(control);
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.x, control.x);
        EXPECT_EQ(item.y, control.y);
        EXPECT_EQ(item.width, control.width);
        EXPECT_EQ(item.height, control.height);
        EXPECT_EQ(item.title.name, control.caption);
    }
}

TEST(TemplatesWin32, ChooserHasThePictureAndTheLabel)
{
    DialogTemplate chooser;
    ASSERT_TRUE(readTemplate(ResChooserDialog, chooser));
    EXPECT_EQ(chooser.style, static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS | DS_ABSALIGN));
    EXPECT_EQ(chooser.x, 0);
    EXPECT_EQ(chooser.y, 0);
    EXPECT_EQ(chooser.width, 199);
    EXPECT_EQ(chooser.height, 80);
    EXPECT_EQ(chooser.className.name, "");
    EXPECT_EQ(chooser.className.ordinal, -1);
    EXPECT_EQ(chooser.title, kChooserCaption);
    EXPECT_EQ(chooser.pointSize, 10);
    EXPECT_EQ(chooser.font, "MS Shell Dlg");
    ASSERT_EQ(chooser.items.size(), 2u);

    const TemplateItem& picture = chooser.items[0];
    EXPECT_EQ(static_cast<short>(picture.id), -1);
    EXPECT_EQ(classNameOf(picture.className), "STATIC");
    EXPECT_EQ(picture.style,
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_NOTIFY | SS_REALSIZEIMAGE | SS_SUNKEN));
    EXPECT_EQ(picture.title.ordinal, ResSymbolBitmap);
    EXPECT_EQ(picture.x, 3);
    EXPECT_EQ(picture.y, 3);
    EXPECT_EQ(picture.width, 194);
    EXPECT_EQ(picture.height, 65);

    const TemplateItem& label = chooser.items[1];
    EXPECT_EQ(label.id, IdChooserLabel);
    EXPECT_EQ(classNameOf(label.className), "STATIC");
    EXPECT_EQ(label.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT));
    EXPECT_EQ(label.title.name, kChooserLabel);
    EXPECT_EQ(label.x, 3);
    EXPECT_EQ(label.y, 70);
    EXPECT_EQ(label.width, 193);
    EXPECT_EQ(label.height, 8);
}

TEST(TemplatesWin32, BitmapIconVersionAndManifestAreLinked)
{
    HMODULE module = GetModuleHandleA(NULL);
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(ResSymbolBitmap), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 337);
    EXPECT_EQ(info.bmHeight, 127);
    DeleteObject(bitmap);

    EXPECT_NE(LoadIconA(module, MAKEINTRESOURCEA(ResIcon)), nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)), nullptr); // RT_VERSION

    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(text.find("asInvoker"), std::string::npos);
    EXPECT_NE(text.find("<dpiAware"), std::string::npos);

    // One manifest only: a second (a toolchain's default) would make the choice arbitrary.
    int manifests = 0;
    int languages = 0;
    EnumResourceNamesA(
        module, MAKEINTRESOURCEA(24),
        [](HMODULE, LPCSTR, LPSTR, LONG_PTR count) -> BOOL {
            ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&manifests));
    EnumResourceLanguagesA(
        module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1),
        [](HMODULE, LPCSTR, LPCSTR, WORD, LONG_PTR count) -> BOOL {
            ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, 1);
    EXPECT_EQ(manifests, 1);
}

} // namespace
