#pragma once
// The program's start-up and event loop on the Qt host.

#include <string>

// Refuses a second instance, builds and shows the main dialog (which finds the ports) and
// runs until it is closed. Returns the exit code: 0 after a normal end, -1 for a
// second instance. afterShow, when given, runs once the dialog is shown; a
// settingsFile, when given, is opened before that. Tests name a lock of their own.
int runKorvelConfig(int& argc, char** argv, void (*afterShow)() = nullptr, const std::string& settingsFile = {},
                    const char* instanceLockName = "KorvelConfig");
