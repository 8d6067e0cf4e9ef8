// Start-up of the Windows program: one instance, the main dialog (which finds the
// ports) and the message loop.

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "command_line.h"
#include "host_win32.h"
#include "messages.h"
#include "prompts.h"
#include "settings_win32.h"
#include "wide_text_win32.h"

HANDLE instanceMutex;

namespace {
constexpr const char* kMutexName = "KorvelConfig";
}

// The wide entry point (-municode): file names on the command line keep every
// character, whatever the system's code page.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    instanceHandle = instance;

    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i)
        args.push_back(utf8FromWide(__wargv[i]));
    // The command line makes no window, so it runs beside a dialog too.
    const CommandLineResult command = runCommandLine(
        args, "KorvelConfig",
        {[](const std::string& text) { writeToConsole(STD_OUTPUT_HANDLE, text); },
         [](const std::string& text) { writeToConsole(STD_ERROR_HANDLE, text); }});
    if (!command.runDialog)
        return command.exitCode;

    HANDLE running = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName);
    if (running) {
        showMessage(kAlreadyStarted, kSecondInstanceCaption);
        return -1;
    }
    // Checking and creating are two steps: of two instances started at the same
    // moment, the one that did not create the mutex stops here.
    instanceMutex = CreateMutexA(NULL, TRUE, kMutexName);
    if (instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        showMessage(kAlreadyStarted, kSecondInstanceCaption);
        return -1;
    }

    // COM1 to COM9 are opened once, here; the list never opens a port again.
    const StartPorts start = probeStartPorts();
    const PortFinder findPorts = [&start] { return discoverPorts(DiscoveryRoot(), start); };
    HWND dialog = registerAndCreateMainDialog(instance, NULL, &findPorts);
    if (!dialog) {
        char text[128];
        std::snprintf(text, sizeof text, "cannot create Main-Dialog! (%i)", static_cast<int>(GetLastError()));
        showMessage(text, kErrorCaption);
        return -1;
    }
    ShowWindow(dialog, SW_SHOW); // whatever show command the program was started with
    enableSettingsFiles(dialog);
    if (!command.fileToOpen.empty())
        openSettingsAtStart(dialog, command.fileToOpen);
    HACCEL accelerators = settingsAccelerators();

    // Typed characters stay UTF-16 on their way to the edits.
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        if (TranslateAcceleratorW(dialog, accelerators, &message))
            continue; // Ctrl+O, Ctrl+S
        // Tab and Shift+Tab through the controls; Return and Escape become IDOK and
        // IDCANCEL, which close nothing.
        if (IsDialogMessageW(dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    ReleaseMutex(instanceMutex);
    return 0;
}
