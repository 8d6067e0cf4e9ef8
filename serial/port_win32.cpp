// Port table on Win32: CreateFileA on "\\.\COMn", a DCB built from zero, write
// time-outs from the baud rate, synchronous WriteFile.
#include "port_table.h"
#include "port_testing.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

namespace {

struct PortSlot {
    int open;      // 1 exactly while handle is an open port
    HANDLE handle; // null while closed
};

PortSlot slots[kPortSlotCount];

// Share mode 0: nobody else may open the port while we hold it.
HANDLE openDevice(unsigned slot)
{
    const std::string name = deviceNameFor(slot);
    return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// From zero, so nothing of the port's present state leaks in; the flag word is
// spread over the DCB's bit fields in their declared order.
DCB dcbFor(const LineSettings& line)
{
    DCB dcb;
    std::memset(&dcb, 0, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = line.baud;
    const std::uint32_t f = line.flags;
    dcb.fBinary = f & 1;
    dcb.fParity = (f >> 1) & 1;
    dcb.fOutxCtsFlow = (f >> 2) & 1;
    dcb.fOutxDsrFlow = (f >> 3) & 1;
    dcb.fDtrControl = (f >> 4) & 3;
    dcb.fDsrSensitivity = (f >> 6) & 1;
    dcb.fTXContinueOnXoff = (f >> 7) & 1;
    dcb.fOutX = (f >> 8) & 1;
    dcb.fInX = (f >> 9) & 1;
    dcb.fErrorChar = (f >> 10) & 1;
    dcb.fNull = (f >> 11) & 1;
    dcb.fRtsControl = (f >> 12) & 3;
    dcb.fAbortOnError = (f >> 14) & 1;
    dcb.ByteSize = static_cast<BYTE>(line.byteSize);
    dcb.Parity = static_cast<BYTE>(line.parity);
    dcb.StopBits = static_cast<BYTE>(line.stopBits);
    return dcb;
}

} // namespace

std::uint32_t dcbFlagWord(const LineSettings& line)
{
    const DCB dcb = dcbFor(line);
    std::uint32_t word = 0;
    std::memcpy(&word, reinterpret_cast<const char*>(&dcb) + offsetof(DCB, BaudRate) + sizeof dcb.BaudRate,
                sizeof word);
    return word;
}

const char* portDevicePath(unsigned slot)
{
    static const char* const paths[kUsablePortSlots] = {
        "\\\\.\\COM1", "\\\\.\\COM2", "\\\\.\\COM3", "\\\\.\\COM4", "\\\\.\\COM5",
        "\\\\.\\COM6", "\\\\.\\COM7", "\\\\.\\COM8", "\\\\.\\COM9",
    };
    return slot < kUsablePortSlots ? paths[slot] : "";
}

std::string systemErrorText(int systemCode)
{
    char text[256] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(systemCode), 0, text, sizeof text, nullptr);
    std::string result(text, length);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

PortProbeResult probeSlot(unsigned slot)
{
    if (slots[slot].open)
        return Available; // a second exclusive open would fail
    const HANDLE handle = openDevice(slot);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? NotFound : Inaccessible;
    CloseHandle(handle);
    return Available;
}

int openPort(unsigned slot, int baud, int parityIndex, int stopBitsIndex, int dataBits, PortError* error)
{
    if (slot >= kUsablePortSlots)
        return portFailure(error, PortBadRequest, 0);
    if (slots[slot].open)
        return portFailure(error, PortBusy, ERROR_ACCESS_DENIED);
    const LineSettings line = lineSettingsFor(baud, parityIndex, stopBitsIndex, dataBits);
    if (!lineRequestValid(baud, line))
        return portFailure(error, PortBadRequest, 0);

    const HANDLE handle = openDevice(slot);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        // A port that another program has open answers "access denied".
        const PortErrorKind kind = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? PortNotFound
                                   : code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ? PortBusy
                                                                                                     : PortSystemError;
        return portFailure(error, kind, static_cast<int>(code));
    }

    DCB dcb = dcbFor(line);
    if (!SetCommState(handle, &dcb)) {
        const int code = static_cast<int>(GetLastError());
        // Closed at once: the user may retry while the message is open.
        CloseHandle(handle);
        return portFailure(error, PortLineRefused, code);
    }

    const WriteTimeouts write = writeTimeoutsFor(baud);
    COMMTIMEOUTS timeouts;
    timeouts.ReadIntervalTimeout = MAXDWORD; // reads return at once; we never read
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = write.multiplier;
    timeouts.WriteTotalTimeoutConstant = write.constant;
    if (!SetCommTimeouts(handle, &timeouts)) {
        const int code = static_cast<int>(GetLastError());
        CloseHandle(handle);
        return portFailure(error, PortSystemError, code);
    }

    slots[slot].handle = handle;
    slots[slot].open = 1;
    return 1;
}

std::uint32_t writePort(unsigned slot, const void* data, std::uint32_t length, PortError* error)
{
    if (slot >= kUsablePortSlots || !slots[slot].open || (!data && length))
        return static_cast<std::uint32_t>(portFailure(error, PortBadRequest, 0));
    // The count is what went out before the time-out; the flag only tells why not all.
    DWORD written = 0;
    if (!WriteFile(slots[slot].handle, data, length, &written, nullptr))
        portFailure(error, PortLineGone, static_cast<int>(GetLastError()));
    else if (written < length)
        portFailure(error, PortWriteIncomplete, ERROR_TIMEOUT);
    return written;
}

int closePort(unsigned slot)
{
    if (slot >= kUsablePortSlots || !slots[slot].open)
        return 0;
    CloseHandle(slots[slot].handle);
    slots[slot].handle = nullptr;
    slots[slot].open = 0;
    return 1;
}
