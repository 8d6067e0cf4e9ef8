#include "programming_sequence.h"

namespace {

void report(const ProgrammingHooks& hooks, ProgrammingEvent event, const PortError& error = PortError())
{
    if (hooks.report)
        hooks.report(event, error);
}

void pause(const ProgrammingHooks& hooks)
{
    if (hooks.pause)
        hooks.pause(kProgrammingPauseMs);
}

bool writeRecord(PortHandle& port, const std::string& record, PortError& error)
{
    const auto length = static_cast<std::uint32_t>(record.size());
    return writePort(port, record.data(), length, &error) == length;
}

} // namespace

int runProgrammingSequence(const ProgrammingRequest& request, const ProgrammingHooks& hooks)
{
    PortError error;
    PortHandle port;
    if (openPort(request.devicePath, request.baud, port, &error) != 1) {
        report(hooks, ProgrammingOpenFailed, error);
        return 0;
    }

    // The tracker needs a moment after the line comes up, between the records
    // and before the close, while it burns its EEPROM.
    pause(hooks);
    report(hooks, ProgrammingWritingRecord0);
    bool complete = writeRecord(port, request.record0, error);
    if (!complete) {
        report(hooks, ProgrammingRecord0Failed, error);
    } else if (request.sendRecord1) {
        report(hooks, ProgrammingWritingRecord1);
        pause(hooks);
        report(hooks, ProgrammingSendingRecord1);
        complete = writeRecord(port, request.record1, error);
        if (!complete)
            report(hooks, ProgrammingRecord1Failed, error);
    }

    report(hooks, ProgrammingBurning);
    pause(hooks);
    closePort(port);
    report(hooks, ProgrammingDone);
    return complete ? 1 : 0;
}
