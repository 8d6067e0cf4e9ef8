// Start-up of the Windows program: one instance, the port inventory, the main
// dialog and the message loop.

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "port_table.h"
#include "host_win32.h"
#include "prompts.h"

HANDLE instanceMutex;

namespace {
constexpr const char* kMutexName = "KorvelConfig";
constexpr const char* kAlreadyStarted = "KorvelConfig allready started.";
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    instanceHandle = instance;

    HANDLE running = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName);
    if (running) {
        showMessage(kAlreadyStarted, "Error");
        return -1;
    }
    // Checking and creating are two steps: of two instances started at the same
    // moment, the one that did not create the mutex stops here.
    instanceMutex = CreateMutexA(NULL, TRUE, kMutexName);
    if (instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        showMessage(kAlreadyStarted, "Error");
        return -1;
    }

    PortProbeResult probes[kPortSlotCount];
    probePorts(probes, kPortSlotCount);

    HWND dialog = registerAndCreateMainDialog(instance, NULL, probes);
    if (!dialog) {
        char text[128];
        std::snprintf(text, sizeof text, "cannot create Main-Dialog! (%i)", static_cast<int>(GetLastError()));
        showMessage(text, "KorvelConfig: Error");
        return -1;
    }
    ShowWindow(dialog, SW_SHOW); // whatever show command the program was started with

    // No IsDialogMessage: the main dialog has no keyboard navigation of its own.
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    ReleaseMutex(instanceMutex);
    return 0;
}

// The runtime's default terminate handler names the type of an uncaught exception,
// which links the whole C++ demangler into the program. Nothing here throws; the
// handler only has to end the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx
