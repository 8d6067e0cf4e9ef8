#pragma once
// Ten serial port slots (COM1 to COM9 and one that never holds a port) with fixed
// line settings and write time-outs. Nothing is ever read from a port.

#include <cstdint>
#include <string>

enum PortProbeResult { NotFound = 0, Available = 1, Inaccessible = 2 };

constexpr unsigned kPortSlotCount = 10;
// Slots 0 to 8 stand for COM1 to COM9; slot 9 never holds a port.
constexpr unsigned kUsablePortSlots = 9;
constexpr int kBaudRowCount = 8;

struct BaudRow {
    char name[12];
    std::uint32_t rate;
};

extern const char portNameTable[kPortSlotCount][12];
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
    PortBadRequest,     // a slot, rate or code outside the tables
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

// "\\.\COM1" with its last character replaced by '1' + slot; "" from slot 10 on.
std::string deviceNameFor(unsigned slot);

// The device a slot stands for, to show beside its name: "/dev/ttyUSB0" and the
// like on POSIX, "\\.\COM1" to "\\.\COM9" on Windows; "" for slot 9 and beyond.
const char* portDevicePath(unsigned slot);

// Whether openPort may try a line at all: a positive rate and codes from the tables.
bool lineRequestValid(int baud, const LineSettings& line);

// Fills results[0..count-1] and counts the ports that exist (Available or Inaccessible).
int probePorts(PortProbeResult* results, int count);
// Backend: one slot of 0 to 8; Available without a second open while it is open here.
PortProbeResult probeSlot(unsigned slot);

// Backend (one per OS). All return 0 for slot 9 or more without touching a device.
// On failure the reason goes to error, when one is given.
int openPort(unsigned slot, int baud, int parityIndex, int stopBitsIndex, int dataBits, PortError* error = nullptr);
// The count of bytes written; a short count says why in error.
std::uint32_t writePort(unsigned slot, const void* data, std::uint32_t length, PortError* error = nullptr);
int closePort(unsigned slot);

// Fills error (when given) and returns 0, for the failure paths of the backends.
int portFailure(PortError* error, PortErrorKind kind, int systemCode);
// The system's words for a code of its own (strerror, FormatMessage); per backend.
std::string systemErrorText(int systemCode);
