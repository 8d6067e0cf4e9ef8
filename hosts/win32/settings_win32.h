#pragma once
// Settings files on the Win32 dialog: two entries in the system menu, Ctrl+O and
// Ctrl+S, the standard open and save dialogs, and files dropped on the window.

#include <windows.h>

#include <string>

// The menu entries and dropping files; the program's dialog only.
void enableSettingsFiles(HWND dialog);
// Ctrl+O and Ctrl+S, for TranslateAcceleratorA in the message loop.
HACCEL settingsAccelerators();
// The dialog procedure's part: true when the message was this feature's.
bool handleSettingsMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// A file named on the command line, once the dialog shows.
void openSettingsAtStart(HWND dialog, const std::string& path);

// The command line's output: to where the program's output was sent, or else to
// the console of whoever started it. A GUI program has no console of its own.
void writeToConsole(DWORD standardHandle, const std::string& text);
