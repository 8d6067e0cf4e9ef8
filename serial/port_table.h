#pragma once
// Serial ports by device path, opened with fixed line settings and write
// time-outs. Nothing is ever read from a port. Which ports there are: port_list.h.

#include <cstdint>
#include <string>
#include <vector>

constexpr int kBaudRowCount = 8;

struct BaudRow {
    char name[12];
    std::uint32_t rate;
};

extern const BaudRow baudTable[kBaudRowCount];
extern const int parityCodes[4];
extern const int stopBitsCodes[4];

// Why a port could not be opened or written: a small closed set, and the system's
// own code and words for it.
enum PortErrorKind {
    PortNoError = 0,
    PortNotFound,       // no such device
    PortBusy,           // another program holds it
    PortNoPermission,   // this user may not open it
    PortLineRefused,    // the device did not take the line settings
    PortBadRequest,     // no port named, or a rate or code outside the tables
    PortWriteIncomplete, // the time-out passed before every byte went out
    PortLineGone,       // hung up or unplugged while writing
    PortSystemError,    // anything else
};

struct PortError {
    PortErrorKind kind = PortNoError;
    int systemCode = 0; // errno, or GetLastError on Windows
    std::string systemText;
};

// Line settings in the terms of a Win32 DCB; the POSIX backend maps them to termios.
struct LineSettings {
    std::uint32_t baud;
    std::uint32_t flags; // DCB bit field word: 0x1011, or 0x1013 with parity
    int byteSize;        // 7 or 8
    int parity;          // parityCodes[parityIndex]
    int stopBits;        // stopBitsCodes[stopBitsIndex]
};
// An index outside 0 to 3 gives the code -1, which openPort refuses.
LineSettings lineSettingsFor(int baud, int parityIndex, int stopBitsIndex, int dataBits);

// A write of n bytes may take multiplier * n + constant milliseconds.
// A baud rate of 0 or less has no time-outs ({0, 0}); openPort refuses it.
struct WriteTimeouts {
    std::uint32_t multiplier;
    std::uint32_t constant;
};
WriteTimeouts writeTimeoutsFor(int baud);

// Whether openPort may try a line at all: a positive rate and codes from the tables.
bool lineRequestValid(int baud, const LineSettings& line);

// Backend (one per OS), keyed by the device path ("\\.\COM12", "/dev/ttyUSB0").
// All return 0 for an empty path without touching a device. On failure the
// reason goes to error, when one is given.
// 1 when the device opens (it is closed again at once), or is open here already.
int probePort(const std::string& devicePath, PortError* error = nullptr);
// 0 also when the port is open here already; the open port stays as it is.
int openPort(const std::string& devicePath, int baud, int parityIndex, int stopBitsIndex, int dataBits,
             PortError* error = nullptr);
// The count of bytes written; a short count says why in error.
std::uint32_t writePort(const std::string& devicePath, const void* data, std::uint32_t length,
                        PortError* error = nullptr);
int closePort(const std::string& devicePath);

// A backend's table of the ports open here: the entry for devicePath, or nullptr.
template <typename OpenPort>
OpenPort* findOpenPort(std::vector<OpenPort>& openPorts, const std::string& devicePath)
{
    for (OpenPort& port : openPorts)
        if (port.devicePath == devicePath)
            return &port;
    return nullptr;
}

// Fills error (when given) and returns 0, for the failure paths of the backends.
int portFailure(PortError* error, PortErrorKind kind, int systemCode);
// The system's words for a code of its own (strerror, FormatMessage); per backend.
std::string systemErrorText(int systemCode);
