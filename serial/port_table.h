#pragma once
// Serial ports by device path: opened at a rate of the baud table with the line
// fixed at 8 data bits, no parity, one stop bit, DTR and RTS raised and no flow
// control; written under time-outs from the rate. Nothing is ever read from a port.
// Which ports there are: port_list.h.

#include <cstdint>
#include <string>

constexpr int kBaudRowCount = 8;

struct BaudRow {
    char name[12];
    std::uint32_t rate;
};

extern const BaudRow baudTable[kBaudRowCount];

// Why a port could not be opened or written: a small closed set, and the system's
// own code and words for it.
enum PortErrorKind {
    PortNoError = 0,
    PortNotFound,       // no such device
    PortBusy,           // another program holds it
    PortNoPermission,   // this user may not open it
    PortLineRefused,    // the device did not take the line settings
    PortBadRequest,     // no port named, a rate outside the table, no port open
    PortWriteIncomplete, // the time-out passed before every byte went out
    PortLineGone,       // hung up or unplugged while writing
    PortSystemError,    // anything else
};

struct PortError {
    PortErrorKind kind = PortNoError;
    int systemCode = 0; // errno, or GetLastError on Windows
    std::string systemText;
};

// A write of n bytes may take multiplier * n + constant milliseconds.
// A baud rate of 0 or less has no time-outs ({0, 0}).
struct WriteTimeouts {
    std::uint32_t multiplier;
    std::uint32_t constant;
};
WriteTimeouts writeTimeoutsFor(int baud);

// One open port, or none. Whoever holds it holds the port: it moves but is never
// copied, and its end closes the port, on every path.
struct PortHandle {
    static constexpr std::intptr_t kNoDevice = -1;

    PortHandle() = default;
    PortHandle(PortHandle&& other) noexcept;
    PortHandle& operator=(PortHandle&& other) noexcept;
    PortHandle(const PortHandle&) = delete;
    PortHandle& operator=(const PortHandle&) = delete;
    ~PortHandle();

    bool isOpen() const { return device != kNoDevice; }

    std::intptr_t device = kNoDevice; // the backend's: a descriptor, or a HANDLE
    WriteTimeouts timeouts{0, 0};
};

// 1 when port holds the device now. 0 when the path is empty, the rate is not one
// of the table's, port holds a device already (which stays as it is), or the device
// did not open or refused the line; error says why, when given.
int openPort(const std::string& devicePath, int baud, PortHandle& port, PortError* error = nullptr);
// The count of bytes written; a short count says why in error. Writing 0 bytes to
// an open port writes nothing and returns 0, which is no failure.
std::uint32_t writePort(PortHandle& port, const void* data, std::uint32_t length, PortError* error = nullptr);
// 1 when it closed the port that it held, 0 when it held none.
int closePort(PortHandle& port);

// The system's words for a code of its own (strerror, FormatMessage); per backend.
std::string systemErrorText(int systemCode);
