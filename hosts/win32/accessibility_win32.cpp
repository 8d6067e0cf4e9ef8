// What screen readers find in the Win32 dialogs beyond what Windows reads from the
// templates. Windows names an edit, trackbar or combo after the static right before
// it; the annotations of the system's property services add the configuration to
// the names ("Config 0 Mycall"), give each trackbar the value its label shows, read
// a space display with its caption and make the status line a live region.
//
// The services are set up only once a screen reader or another accessibility
// client is about, not at every start (COM's set-up takes 20 to 45 ms under Wine).
#include "accessibility_win32.h"

#include <initguid.h> // before oleacc.h: its GUIDs are defined here

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "ansi_text.h"
#include "control_ids.h"
#include "control_names.h"
#include "layout.h"

namespace {

// UI Automation's LiveSetting, which the property services pass on: 1 is polite.
const GUID kLiveSettingProperty = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr const char* kAnnotatedProperty = "KorvelAnnotated";
constexpr DWORD kLiveRegionChanged = 0x8019; // EVENT_OBJECT_LIVEREGIONCHANGED, Windows 8 on

using CoInitializeExProc = HRESULT(WINAPI*)(void*, DWORD);
using CoCreateInstanceProc = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

// The property services, loading COM when asked to; else only once they were made
// (oleacc, which provides them, stays loaded). Null where the system has none. The
// caller releases them.
IAccPropServices* propertyServices(bool mayLoad)
{
    if (!mayLoad && !GetModuleHandleA("oleacc.dll"))
        return nullptr;
    HMODULE ole = GetModuleHandleA("ole32.dll");
    if (!ole)
        ole = LoadLibraryA("ole32.dll");
    if (!ole)
        return nullptr;
    const auto initialize =
        reinterpret_cast<CoInitializeExProc>(reinterpret_cast<void*>(GetProcAddress(ole, "CoInitializeEx")));
    const auto create =
        reinterpret_cast<CoCreateInstanceProc>(reinterpret_cast<void*>(GetProcAddress(ole, "CoCreateInstance")));
    if (!initialize || !create)
        return nullptr;
    initialize(nullptr, COINIT_APARTMENTTHREADED); // once more on this thread is harmless
    IAccPropServices* services = nullptr;
    if (FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                      reinterpret_cast<void**>(&services))))
        return nullptr;
    return services;
}

std::vector<wchar_t> wide(const std::string& text)
{
    const std::u16string converted = utf16FromAnsi(text);
    std::vector<wchar_t> terminated(converted.begin(), converted.end());
    terminated.push_back(L'\0');
    return terminated;
}

std::string windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return ansiFromUtf16(std::u16string(text.begin(), text.begin() + lstrlenW(text.data())));
}

void annotate(IAccPropServices* services, HWND window, const GUID& property, const std::string& text)
{
    if (window)
        services->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property, wide(text).data());
}

void notify(HWND window, DWORD event)
{
    NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
}

// What a text shown in label id says of the dialog, annotated where it belongs.
void annotateShownText(IAccPropServices* services, HWND dialog, int id)
{
    HWND label = GetDlgItem(dialog, id);
    const std::string shown = windowText(label);
    const int trackbar = trackbarShownBy(id);
    if (trackbar >= 0) {
        annotate(services, GetDlgItem(dialog, trackbar), PROPID_ACC_VALUE, shown);
        notify(GetDlgItem(dialog, trackbar), EVENT_OBJECT_VALUECHANGE);
    }
    const std::string reading = displayReading(id, shown);
    if (reading != shown) {
        annotate(services, label, PROPID_ACC_NAME, reading);
        notify(label, EVENT_OBJECT_NAMECHANGE);
    }
}

} // namespace

bool screenReaderRunning()
{
    BOOL running = FALSE;
    return SystemParametersInfoA(SPI_GETSCREENREADER, 0, &running, 0) && running;
}

void describeForScreenReaders(HWND dialog, bool mayLoad)
{
    if (GetPropA(dialog, kAnnotatedProperty))
        return;
    IAccPropServices* services = propertyServices(mayLoad);
    if (!services)
        return;
    SetPropA(dialog, kAnnotatedProperty, reinterpret_cast<HANDLE>(1));
    for (int i = 0; i < mainDialogControlCount; ++i) {
        const int id = mainDialogLayout[i].id;
        if (id < 0)
            continue;
        HWND control = GetDlgItem(dialog, id);
        // Buttons and frames are named by their own text already.
        const ControlKind kind = mainDialogLayout[i].kind;
        const std::string name = accessibleNameOf(id);
        if (!name.empty() && (kind == KindEdit || kind == KindTrackbar || kind == KindCombo)) {
            annotate(services, control, PROPID_ACC_NAME, name);
            COMBOBOXINFO combo = {};
            combo.cbSize = sizeof combo;
            if (kind == KindCombo && GetComboBoxInfo(control, &combo))
                annotate(services, combo.hwndItem, PROPID_ACC_NAME, name);
        }
        if (kind == KindLabel)
            annotateShownText(services, dialog, id);
    }
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = 1;
    services->SetHwndProp(GetDlgItem(dialog, IdStatus), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                          kLiveSettingProperty, polite);
    services->Release();
}

void readTextChanged(HWND dialog, int id)
{
    if (id == IdStatus)
        notify(GetDlgItem(dialog, id), kLiveRegionChanged);
    if (!GetPropA(dialog, kAnnotatedProperty))
        return;
    if (IAccPropServices* services = propertyServices(false)) {
        annotateShownText(services, dialog, id);
        services->Release();
    }
}

void forgetScreenReaderNotes(HWND dialog) { RemovePropA(dialog, kAnnotatedProperty); }

void describeSymbolHighlight(HWND picture, int cell)
{
    IAccPropServices* services = propertyServices(false);
    if (!services)
        return;
    annotate(services, picture, PROPID_ACC_NAME, chooserPictureName());
    annotate(services, picture, PROPID_ACC_DESCRIPTION, highlightedSymbolReading(cell));
    notify(picture, EVENT_OBJECT_DESCRIPTIONCHANGE);
    services->Release();
}
