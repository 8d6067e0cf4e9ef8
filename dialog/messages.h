#pragma once
// The texts that the user meets in more than one place (the dialog, the command
// line, both programs' start-up), each with one home.

// Message box captions.
constexpr const char* kCaption = "KorvelConfig";
constexpr const char* kErrorCaption = "KorvelConfig: Error";
constexpr const char* kSecondInstanceCaption = "Error";

constexpr const char* kAlreadyStarted = "KorvelConfig allready started.";

// The programming run.
constexpr const char* kGpsWarning =
    "please make sure that gps-receiver is disconnected from Tracker,\n"
    "otherwise to much power is consumed and/or serial interface will be disturbed.";
constexpr const char* kCannotOpenPort = "cannot open selected COM-Port!";
constexpr const char* kWritingRecord0 = "writing cfgString0 ...";
constexpr const char* kWritingRecord1 = "writing cfgString1 ...";
constexpr const char* kBurning = "wait for tracker to burn EEprom ...";
constexpr const char* kDone = "done.";
constexpr const char* kRecord0Failed = "sending data (config0) to tracker failed.";
constexpr const char* kRecord1Failed = "sending data (config1) to tracker failed.";
