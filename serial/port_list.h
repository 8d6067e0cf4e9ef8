#pragma once
// The serial ports the system has, found again whenever they are asked for, without
// opening any of them: what the port list shows and what openPort is given.

#include <functional>
#include <string>
#include <vector>

#include "port_table.h"

struct PortEntry {
    std::string name;        // "COM12", "ttyUSB0"
    std::string devicePath;  // what openPort opens: "\\.\COM12", "/dev/ttyUSB0"
    std::string description; // "FT232R USB UART"; "" when the system tells nothing
    std::string detail;      // the /dev/serial/by-id name, else the device path; "" on Windows
    bool available = false;  // as far as can be told without opening it, it opens
    PortError reason;        // why not, when it is not available
};

// Where the system's inventory is read. POSIX: the folder that stands for "/" (its
// sys/, dev/ and proc/), "" for the system's own; tests give a tree of their own.
// Windows reads its registry and ignores it.
struct DiscoveryRoot {
    std::string path;
};

// What the Windows program finds before its window: COM1 to COM9 (slots 0 to 8;
// slot 9 names no port), each opened and closed again at once, and the COM numbers
// of the registry's port map at that moment.
enum PortProbeResult { NotFound = 0, Available = 1, Inaccessible = 2 };
constexpr int kComSlotCount = 10;
struct StartPorts {
    PortProbeResult probeResults[kComSlotCount] = {};
    std::vector<unsigned> mapped;
};

// Backend. Windows probes as above; elsewhere nothing is opened and nothing found.
StartPorts probeStartPorts();

// The COM numbers the list shows, in order: of COM1 to COM9 those that opened at
// the start, unless the map has dropped one since, and those the map has added
// since; above COM9 those the map names now. Nothing of it opens a port.
std::vector<unsigned> listedComNumbers(const StartPorts& start, const std::vector<unsigned>& mappedNow);

// Backend. Windows: the COM ports above (start from probeStartPorts). Linux: the
// serial devices that exist, USB adapters first; "no permission" from the device's
// mode and the user's groups.
std::vector<PortEntry> discoverPorts(const DiscoveryRoot& root = DiscoveryRoot(),
                                     const StartPorts& start = StartPorts());

// Makes the dialog's port list: the system's, unless a test gives its own.
using PortFinder = std::function<std::vector<PortEntry>()>;

// The entry whose name (in any case), device path or by-id name is text, or nullptr.
const PortEntry* findPort(const std::vector<PortEntry>& ports, const std::string& text);

// Whether two entries stand for the same device: the same by-id name where there is
// one (an adapter that comes back under another number), else the same path.
bool samePort(const PortEntry& a, const PortEntry& b);

// What to open for the entry: its by-id name when it has one, so that the adapter
// chosen is the one programmed, whichever number it has now; else its device path.
std::string portOpenPath(const PortEntry& port);

// A chosen port that went away, as the list keeps it: marked, never replaced.
PortEntry notConnected(const PortEntry& port);

// The list row: "COM3", "ttyUSB0 - FT232R USB UART", "ttyS0 (no permission)",
// "COM15 (not connected)".
std::string portRowText(const PortEntry& port);

// Why the port did not open and what the user can do about it ("ttyACM0 is busy:
// ModemManager (process 812) holds it. ..."); "" when there is nothing to add (no
// port chosen, or a refused line, which is told apart).
std::string openFailureAdvice(const PortEntry& port, const PortError& error,
                              const DiscoveryRoot& root = DiscoveryRoot());

// "\\.\COM1" to "\\.\COM255"; "" for any other number.
std::string comDevicePath(unsigned number);

// Backend; "" where the system does not tell (always on Windows). The program that
// holds the device, as "ModemManager (process 812)"; the group whose members may
// open it, unless joining it would not help (root's, or one without read and write).
std::string portHolder(const DiscoveryRoot& root, const std::string& devicePath);
std::string portAccessGroup(const std::string& devicePath);
