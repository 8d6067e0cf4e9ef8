#pragma once
// Programming a tracker: open the port, write one or two records with the pauses
// the tracker needs, close. Reports each step as a value; shows nothing, so it
// serves the dialog and the command line alike.

#include <functional>
#include <string>

#include "port_table.h"

enum ProgrammingEvent {
    ProgrammingOpenFailed,     // error tells why; nothing else follows
    ProgrammingWritingRecord0, // after the first pause, before its write
    ProgrammingRecord0Failed,  // record 1 is not sent then
    ProgrammingWritingRecord1, // before the pause that precedes record 1
    ProgrammingSendingRecord1, // after that pause, before its write
    ProgrammingRecord1Failed,
    ProgrammingBurning,        // before the last pause; the port closes after it
    ProgrammingDone,
};

struct ProgrammingRequest {
    std::string devicePath; // "": no port chosen, nothing is opened
    int baud = 0; // a rate of baudTable; with any other the port is not opened
    std::string record0;
    std::string record1;
    bool sendRecord1 = false;
};

struct ProgrammingHooks {
    // error is set for the failure events.
    std::function<void(ProgrammingEvent event, const PortError& error)> report;
    std::function<void(unsigned milliseconds)> pause;
};

constexpr unsigned kProgrammingPauseMs = 500;

// 1 when every record that was to be sent was written whole, else 0.
int runProgrammingSequence(const ProgrammingRequest& request, const ProgrammingHooks& hooks);
