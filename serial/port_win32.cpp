// Ports on Win32: the COM ports of the registry's map and COM1 to COM9, opened
// with CreateFileA on "\\.\COMn", a DCB built from zero, write time-outs from
// the baud rate, synchronous WriteFile.
#include "port_list.h"
#include "port_table.h"
#include "port_testing.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct OpenPort {
    std::string devicePath;
    HANDLE handle;
};

// The ports open here: an entry exactly while its handle is open.
std::vector<OpenPort> openPorts;

OpenPort* findOpen(const std::string& devicePath) { return findOpenPort(openPorts, devicePath); }

// Share mode 0: nobody else may open the port while we hold it.
HANDLE openDevice(const std::string& devicePath)
{
    return CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

PortErrorKind openErrorKind(DWORD code)
{
    // A port that another program has open answers "access denied".
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND        ? PortNotFound
           : code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ? PortBusy
                                                                             : PortSystemError;
}

// The COM number of "COM12" (any case); 0 for a name of another form.
unsigned comNumber(const std::string& name)
{
    if (name.size() < 4 || _strnicmp(name.c_str(), "COM", 3) != 0 ||
        name.find_first_not_of("0123456789", 3) != std::string::npos)
        return 0;
    const unsigned long number = std::strtoul(name.c_str() + 3, nullptr, 10);
    return number <= 255 ? static_cast<unsigned>(number) : 0;
}

// The COM numbers that the drivers of the machine's ports entered in the map.
std::vector<unsigned> mappedComNumbers()
{
    std::vector<unsigned> numbers;
    HKEY map;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &map) !=
        ERROR_SUCCESS)
        return numbers;
    for (DWORD index = 0;; ++index) {
        char valueName[256];
        DWORD nameLength = sizeof valueName;
        char data[64];
        DWORD dataLength = sizeof data - 1;
        DWORD type = 0;
        const LONG result = RegEnumValueA(map, index, valueName, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataLength);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue; // a name or value too long for any COM port
        data[dataLength] = '\0';
        if (const unsigned number = comNumber(data))
            numbers.push_back(number);
    }
    RegCloseKey(map);
    return numbers;
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

std::vector<PortEntry> discoverPorts(const DiscoveryRoot&)
{
    std::vector<unsigned> numbers = mappedComNumbers();
    for (unsigned number = 1; number <= 9; ++number)
        numbers.push_back(number);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());

    std::vector<PortEntry> ports;
    for (unsigned number : numbers) {
        PortEntry port;
        port.name = "COM" + std::to_string(number);
        port.devicePath = comDevicePath(number);
        // Only the ports that open, as ever: one that another program holds is left out.
        port.available = probePort(port.devicePath, &port.reason) == 1;
        if (port.available)
            ports.push_back(port);
    }
    return ports;
}

std::string portHolder(const DiscoveryRoot&, const std::string&) { return std::string(); }

std::string portAccessGroup(const std::string&) { return std::string(); }

int probePort(const std::string& devicePath, PortError* error)
{
    if (devicePath.empty())
        return portFailure(error, PortBadRequest, 0);
    if (findOpen(devicePath))
        return 1; // a second exclusive open would fail
    const HANDLE handle = openDevice(devicePath);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return portFailure(error, openErrorKind(code), static_cast<int>(code));
    }
    CloseHandle(handle);
    return 1;
}

int openPort(const std::string& devicePath, int baud, int parityIndex, int stopBitsIndex, int dataBits,
             PortError* error)
{
    if (devicePath.empty())
        return portFailure(error, PortBadRequest, 0);
    if (findOpen(devicePath))
        return portFailure(error, PortBusy, ERROR_ACCESS_DENIED);
    const LineSettings line = lineSettingsFor(baud, parityIndex, stopBitsIndex, dataBits);
    if (!lineRequestValid(baud, line))
        return portFailure(error, PortBadRequest, 0);

    const HANDLE handle = openDevice(devicePath);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return portFailure(error, openErrorKind(code), static_cast<int>(code));
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

    openPorts.push_back({devicePath, handle});
    return 1;
}

std::uint32_t writePort(const std::string& devicePath, const void* data, std::uint32_t length, PortError* error)
{
    const OpenPort* port = findOpen(devicePath);
    if (!port || (!data && length))
        return static_cast<std::uint32_t>(portFailure(error, PortBadRequest, 0));
    // The count is what went out before the time-out; the flag only tells why not all.
    DWORD written = 0;
    if (!WriteFile(port->handle, data, length, &written, nullptr))
        portFailure(error, PortLineGone, static_cast<int>(GetLastError()));
    else if (written < length)
        portFailure(error, PortWriteIncomplete, ERROR_TIMEOUT);
    return written;
}

int closePort(const std::string& devicePath)
{
    const OpenPort* port = findOpen(devicePath);
    if (!port)
        return 0;
    CloseHandle(port->handle);
    openPorts.erase(openPorts.begin() + (port - openPorts.data()));
    return 1;
}
