#pragma once
// The programs' command line, apart from any window system: the records of a
// settings file, programming a tracker from one, --help and --version. Both
// programs run it before they make a window.

#include <functional>
#include <string>
#include <vector>

struct CommandLineOutput {
    std::function<void(const std::string& text)> out; // standard output
    std::function<void(const std::string& text)> err; // standard error
};

struct CommandLineResult {
    bool runDialog = true;  // nothing for the command line: start the dialog
    std::string fileToOpen; // with runDialog: the settings file named, if any
    int exitCode = 0;       // without runDialog
};

// args without the program's own name.
CommandLineResult runCommandLine(const std::vector<std::string>& args, const std::string& programName,
                                 const CommandLineOutput& output);
