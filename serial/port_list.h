#pragma once
// The serial ports the system has, found again whenever they are asked for: what
// the port list shows and what openPort is given.

#include <functional>
#include <string>
#include <vector>

#include "port_table.h"

struct PortEntry {
    std::string name;        // "COM12", "ttyUSB0"
    std::string devicePath;  // what openPort opens: "\\.\COM12", "/dev/ttyUSB0"
    std::string description; // "FT232R USB UART"; "" when the system tells nothing
    std::string detail;      // the /dev/serial/by-id name, else the device path; "" on Windows
    bool available = false;  // the probe opened it
    PortError reason;        // why not, when it is not available
};

// Where the system's inventory is read. POSIX: the folder that stands for "/" (its
// sys/, dev/ and proc/), "" for the system's own; tests give a tree of their own.
// Windows reads its registry and device namespace and ignores it.
struct DiscoveryRoot {
    std::string path;
};

// Backend. Windows: the COM ports of the registry's SERIALCOMM map and COM1 to COM9,
// those that open, by number. Linux: the serial devices that exist, USB adapters
// first; one that does not open is listed with the reason.
std::vector<PortEntry> discoverPorts(const DiscoveryRoot& root = DiscoveryRoot());

// Makes the dialog's port list: the system's, unless a test gives its own.
using PortFinder = std::function<std::vector<PortEntry>()>;

// The entry whose name (in any case), device path or by-id name is text, or nullptr.
const PortEntry* findPort(const std::vector<PortEntry>& ports, const std::string& text);

// The list row: "COM3", "ttyUSB0 - FT232R USB UART", "ttyS0 (no permission)".
std::string portRowText(const PortEntry& port);

// The second line of "cannot open selected COM-Port!": why, and what the user can
// do about it; "" when there is nothing to add.
std::string openFailureAdvice(const PortEntry& port, const PortError& error,
                              const DiscoveryRoot& root = DiscoveryRoot());

// "\\.\COM1" to "\\.\COM255"; "" for any other number.
std::string comDevicePath(unsigned number);

// Backend; "" where the system does not tell (always on Windows). The program that
// holds the device, as "ModemManager (process 812)"; the group whose members may
// open it.
std::string portHolder(const DiscoveryRoot& root, const std::string& devicePath);
std::string portAccessGroup(const std::string& devicePath);
