#include "command_line.h"

#include "korvel_version.h"
#include "messages.h"
#include "port_choice.h"
#include "port_list.h"
#include "port_table.h"
#include "programming_sequence.h"
#include "prompts.h"
#include "settings_file.h"
#include "settings_storage.h"
#include "tracker_setup.h"

namespace {

constexpr const char* kUsage =
    "usage: %1 [FILE]\n"
    "       %1 --records FILE\n"
    "       %1 --program FILE --port PORT [--baud RATE]\n"
    "       %1 --help | --version\n"
    "\n"
    "FILE is a settings file (*.korvel). Without an option the dialog opens, with FILE's\n"
    "settings when one is named.\n"
    "  --records FILE  print the records that \"Generate Config and Programm\" would send\n"
    "  --program FILE  program the tracker without a window; status on standard error\n"
    "  --port PORT     a port of the dialog's list by name (COM3; on Linux ttyUSB0), or a\n"
    "                  device path such as /dev/ttyUSB0\n"
    "  --baud RATE     1200, 2400, 4800 (the default), 9600, 19200, 38400, 57600 or 115200\n"
    "Exit status: 0 when done, 1 on any failure (one line on standard error).\n";

// The records that the button would send for a file, or the line that says why not.
struct FileRecords {
    std::string record0;
    std::string record1;
    bool sendRecord1 = false;
    std::string failure;
};

// The file opened as the dialog opens it. Nobody can answer a message here, so
// where the dialog would cut a text or switch configuration 1 off, the file is
// refused, naming the field and what must go for everything to fit.
FileRecords recordsOfFile(const std::string& path)
{
    FileRecords result;
    std::string bytes;
    std::string why;
    SettingsFile file;
    SettingsFileError error;
    if (!readFileBytes(path, kSettingsFileMaxBytes, bytes, why)) {
        result.failure = path + ": " + why;
        return result;
    }
    if (!parseSettingsFile(bytes, file, error)) {
        result.failure = settingsFileErrorText(path, error);
        return result;
    }
    const SetupStep opened = openSettings(TrackerSetup(), file);
    if (!opened.notices.empty()) {
        const SetupNotice& notice = opened.notices.front();
        result.failure = path + ": " + doesNotFitText(notice.configNumber, settingDescriptions[notice.setting].key,
                                                      notice.bytesOver);
        return result;
    }
    const ProgrammingRecords records = programmingRecords(opened.setup);
    if (!records.refusal.empty()) {
        result.failure = path + ": " + records.refusal;
        return result;
    }
    result.record0 = records.record0;
    result.record1 = records.record1;
    result.sendRecord1 = records.sendRecord1;
    return result;
}

int fail(const CommandLineOutput& output, const std::string& line)
{
    output.err(line + "\n");
    return 1;
}

int printRecords(const std::string& path, const CommandLineOutput& output)
{
    const FileRecords records = recordsOfFile(path);
    if (!records.failure.empty())
        return fail(output, records.failure);
    output.out(records.record0 + "\n");
    if (records.sendRecord1)
        output.out(records.record1 + "\n");
    return 0;
}

int baudOf(const std::string& text)
{
    for (const BaudRow& row : baudTable) {
        if (text == std::to_string(row.rate))
            return static_cast<int>(row.rate);
    }
    return 0;
}

// What the dialog would say, on one line.
std::string refusalLine(const PortEntry& port, const PortError& error)
{
    const PortRefusal refusal = portRefusal(port, error);
    std::string line = refusal.text;
    for (char& c : line)
        if (c == '\n')
            c = ' ';
    return refusal.lineSetup.empty() ? line : line + " (" + refusal.lineSetup + ")";
}

// The port a --port names: a port of the list by name, device path or by-id name,
// any other device path, or a COM port by number (whether it opens shows when it
// is opened). Any other name is a port that is not connected: no device path.
PortEntry portNamed(const std::string& text)
{
    const std::vector<PortEntry> ports = discoverPorts();
    if (const PortEntry* entry = findPort(ports, text))
        return *entry;
    PortEntry port;
    port.name = text;
    if (!text.empty() && text[0] == '/')
        port.devicePath = text;
    // "COM" and up to three digits, in any case.
    if (text.size() >= 4 && text.size() <= 6 && (text[0] | 0x20) == 'c' && (text[1] | 0x20) == 'o' &&
        (text[2] | 0x20) == 'm' && text.find_first_not_of("0123456789", 3) == std::string::npos) {
        unsigned number = 0;
        for (std::size_t i = 3; i < text.size(); ++i)
            number = number * 10 + static_cast<unsigned>(text[i] - '0');
        port.devicePath = comDevicePath(number);
    }
    return port;
}

int programFromFile(const std::string& path, const std::string& port, const std::string& baud,
                    const CommandLineOutput& output)
{
    const FileRecords records = recordsOfFile(path);
    if (!records.failure.empty())
        return fail(output, records.failure);
    ProgrammingRequest request;
    request.baud = baudOf(baud);
    if (request.baud == 0)
        return fail(output, "--baud must be 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200");
    const PortEntry chosen = portNamed(port);
    request.devicePath = portOpenPath(chosen);
    if (request.devicePath.empty())
        return fail(output, refusalLine(chosen, PortError{PortNotFound, 0, std::string()}));
    request.record0 = records.record0;
    request.record1 = records.record1;
    request.sendRecord1 = records.sendRecord1;

    output.err(std::string(kGpsWarning) + "\n");
    ProgrammingHooks hooks;
    hooks.pause = pauseMilliseconds;
    hooks.report = [&](ProgrammingEvent event, const PortError& error) {
        switch (event) {
        case ProgrammingOpenFailed:
            output.err(refusalLine(chosen, error) + "\n");
            break;
        case ProgrammingWritingRecord0:
            output.err(std::string(kWritingRecord0) + "\n");
            output.out(request.record0 + "\n");
            break;
        case ProgrammingRecord0Failed:
            output.err(std::string(kRecord0Failed) + "\n");
            break;
        case ProgrammingWritingRecord1:
            output.err(std::string(kWritingRecord1) + "\n");
            break;
        case ProgrammingSendingRecord1:
            output.out(request.record1 + "\n");
            break;
        case ProgrammingRecord1Failed:
            output.err(std::string(kRecord1Failed) + "\n");
            break;
        case ProgrammingBurning:
            output.err(std::string(kBurning) + "\n");
            break;
        case ProgrammingDone:
            output.err(std::string(kDone) + "\n");
            break;
        }
    };
    return runProgrammingSequence(request, hooks) ? 0 : 1;
}

std::string usage(const std::string& programName)
{
    std::string text = kUsage;
    for (std::size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1", at + programName.size()))
        text.replace(at, 2, programName);
    return text;
}

} // namespace

CommandLineResult runCommandLine(const std::vector<std::string>& args, const std::string& programName,
                                 const CommandLineOutput& output)
{
    CommandLineResult result;
    enum { Records, Program, Port, Baud, OptionCount };
    const char* const names[OptionCount] = {"--records", "--program", "--port", "--baud"};
    std::string values[OptionCount];
    bool given[OptionCount] = {};
    std::string problem;
    for (std::size_t i = 0; i < args.size() && problem.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h" || arg == "--version") {
            result.runDialog = false;
            output.out(arg == "--version" ? std::string("KorvelConfig ") + KORVEL_VERSION + "\n" : usage(programName));
            return result;
        }
        int option = 0;
        while (option < OptionCount && arg != names[option])
            ++option;
        if (option < OptionCount && i + 1 < args.size()) {
            given[option] = true;
            values[option] = args[++i];
        } else if (option < OptionCount) {
            problem = arg + " needs a value";
        } else if (!arg.empty() && arg[0] == '-') {
            problem = "unknown option " + arg;
        } else if (result.fileToOpen.empty()) {
            result.fileToOpen = arg;
        } else {
            problem = "more than one file named";
        }
    }
    const bool options = given[Records] || given[Program] || given[Port] || given[Baud];
    if (!problem.empty() || !options) {
        // Nothing for the command line: the dialog, perhaps with a file.
    } else if (!result.fileToOpen.empty()) {
        problem = "a file without --records or --program";
    } else if (given[Records] == given[Program]) {
        problem = given[Records] ? "--records and --program together" : "--port and --baud go with --program";
    } else if (given[Program] && !given[Port]) {
        problem = "--program needs --port PORT";
    } else if (given[Records] && (given[Port] || given[Baud])) {
        problem = "--port and --baud go with --program";
    }
    if (problem.empty() && !options)
        return result;
    result.runDialog = false;
    if (!problem.empty())
        result.exitCode = fail(output, programName + ": " + problem + " (see --help)");
    else if (given[Records])
        result.exitCode = printRecords(values[Records], output);
    else
        result.exitCode = programFromFile(values[Program], values[Port], given[Baud] ? values[Baud] : "4800", output);
    return result;
}
