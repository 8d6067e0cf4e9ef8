#include "settings_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include "host_win32.h"
#include "settings_io.h"
#include "wide_text_win32.h"

namespace {

// System menu ids lie below 0xF000 with the low four bits clear.
constexpr UINT kOpenCommand = 0x0010;
constexpr UINT kSaveCommand = 0x0020;
constexpr wchar_t kFilter[] = L"KorvelConfig settings (*.korvel)\0*.korvel\0";

Dialog* dialogOf(HWND window) { return reinterpret_cast<Dialog*>(window); }

// The file dialogs and dropped files need comdlg32 and shell32, which take a
// while to load: loaded when first used, not at every start.
template <typename Function>
Function systemFunction(const char* library, const char* name)
{
    HMODULE module = LoadLibraryA(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

void chooseAndRun(HWND dialog, bool save)
{
    wchar_t path[1024] = {};
    OPENFILENAMEW choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = dialog;
    choice.lpstrFilter = kFilter;
    choice.lpstrFile = path;
    choice.nMaxFile = 1024;
    choice.lpstrDefExt = L"korvel";
    choice.lpstrTitle = save ? L"Save settings as" : L"Open settings";
    choice.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    using FileDialog = BOOL(WINAPI*)(OPENFILENAMEW*);
    const auto run = systemFunction<FileDialog>("comdlg32.dll", save ? "GetSaveFileNameW" : "GetOpenFileNameW");
    HWND focus = GetFocus();
    const bool chosen = run && run(&choice);
    giveFocusBack(focus);
    if (!chosen)
        return;
    if (save)
        saveSettingsFile(dialogOf(dialog), utf8FromWide(path));
    else
        openSettingsFile(dialogOf(dialog), utf8FromWide(path));
}

bool runCommand(HWND dialog, UINT command)
{
    if (command != kOpenCommand && command != kSaveCommand)
        return false;
    chooseAndRun(dialog, command == kSaveCommand);
    return true;
}

} // namespace

void enableSettingsFiles(HWND dialog)
{
    HMENU menu = GetSystemMenu(dialog, FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(menu, MF_STRING, kOpenCommand, "Open settings...\tCtrl+O");
    AppendMenuA(menu, MF_STRING, kSaveCommand, "Save settings as...\tCtrl+S");
    // What DragAcceptFiles does, without loading shell32 at the start.
    SetWindowLongPtrA(dialog, GWL_EXSTYLE, GetWindowLongPtrA(dialog, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}

HACCEL settingsAccelerators()
{
    ACCEL keys[2] = {{FVIRTKEY | FCONTROL, 'O', kOpenCommand}, {FVIRTKEY | FCONTROL, 'S', kSaveCommand}};
    return CreateAcceleratorTableA(keys, 2);
}

bool handleSettingsMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        return runCommand(dialog, static_cast<UINT>(wParam & 0xFFF0));
    case WM_COMMAND:
        // An accelerator: notification 1 and no control.
        return HIWORD(wParam) == 1 && lParam == 0 && runCommand(dialog, LOWORD(wParam));
    case WM_DROPFILES: {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        wchar_t path[1024] = {};
        const auto dragQueryFile = systemFunction<UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT)>("shell32.dll", "DragQueryFileW");
        const auto dragFinish = systemFunction<void(WINAPI*)(HDROP)>("shell32.dll", "DragFinish");
        const UINT length = dragQueryFile ? dragQueryFile(drop, 0, path, 1024) : 0;
        if (dragFinish)
            dragFinish(drop);
        if (length > 0 && length < 1024)
            openSettingsFile(dialogOf(dialog), utf8FromWide(path));
        return true;
    }
    default:
        return false;
    }
}

void openSettingsAtStart(HWND dialog, const std::string& path)
{
    openSettingsFile(dialogOf(dialog), path);
}

void writeToConsole(DWORD standardHandle, const std::string& text)
{
    HANDLE handle = GetStdHandle(standardHandle);
    if (!handle || handle == INVALID_HANDLE_VALUE) {
        // Once per stream: the console of the parent, if it has one.
        AttachConsole(ATTACH_PARENT_PROCESS);
        handle = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                             OPEN_EXISTING, 0, NULL);
        if (handle == INVALID_HANDLE_VALUE)
            return;
        SetStdHandle(standardHandle, handle);
    }
    DWORD written = 0;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) { // a console shows UTF-16 whatever its code page
        const std::vector<wchar_t> wide = wideFromShownText(text);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size() - 1), &written, NULL);
        return;
    }
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, NULL); // UTF-8 names to a pipe or file
}
