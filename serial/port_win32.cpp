// Ports on Win32: the COM ports of the registry's map and COM1 to COM9 (probed once,
// at the start), opened with CreateFileA on "\\.\COMn", a DCB built from zero,
// write time-outs from the baud rate, synchronous WriteFile.
#include "port_backend.h"
#include "port_list.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Share mode 0: nobody else may open the port while we hold it.
HANDLE createFile(const std::string& devicePath)
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

// COM1 to COM9, each opened exclusively for a moment; slot 9 names no port.
void probePorts(PortProbeResult* results, int count)
{
    for (int i = 0; i < count; ++i) {
        results[i] = NotFound;
        const HANDLE handle = i < 9 ? createFile(comDevicePath(static_cast<unsigned>(i) + 1)) : INVALID_HANDLE_VALUE;
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
            results[i] = Available;
        } else if (i < 9 && GetLastError() != ERROR_FILE_NOT_FOUND) {
            results[i] = Inaccessible; // held by another program, say: not offered
        }
    }
}

HANDLE handleOf(const PortHandle& port) { return reinterpret_cast<HANDLE>(port.device); }

} // namespace

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

StartPorts probeStartPorts()
{
    StartPorts start;
    probePorts(start.probeResults, kComSlotCount);
    start.mapped = mappedComNumbers();
    return start;
}

std::vector<PortEntry> discoverPorts(const DiscoveryRoot&, const StartPorts& start)
{
    std::vector<PortEntry> ports;
    for (unsigned number : listedComNumbers(start, mappedComNumbers())) {
        PortEntry port;
        port.name = "COM" + std::to_string(number);
        port.devicePath = comDevicePath(number);
        port.available = true; // whether it opens shows when it is programmed
        ports.push_back(port);
    }
    return ports;
}

std::string portHolder(const DiscoveryRoot&, const std::string&) { return std::string(); }

std::string portAccessGroup(const std::string&) { return std::string(); }

int openDevice(const std::string& devicePath, int baud, PortHandle& port, PortError* error)
{
    const HANDLE handle = createFile(devicePath);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return portFailure(error, openErrorKind(code), static_cast<int>(code));
    }

    // From zero, so nothing of the port's present state leaks in: 8 data bits, no
    // parity, one stop bit, DTR and RTS raised, no flow control.
    DCB dcb;
    std::memset(&dcb, 0, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.fBinary = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
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
    port.device = reinterpret_cast<std::intptr_t>(handle);
    return 1;
}

std::uint32_t writeDevice(const PortHandle& port, const void* data, std::uint32_t length, PortError* error)
{
    // The count is what went out before the time-out; the flag only tells why not all.
    DWORD written = 0;
    if (!WriteFile(handleOf(port), data, length, &written, nullptr))
        portFailure(error, PortLineGone, static_cast<int>(GetLastError()));
    else if (written < length)
        portFailure(error, PortWriteIncomplete, ERROR_TIMEOUT);
    return written;
}

void closeDevice(std::intptr_t device) { CloseHandle(reinterpret_cast<HANDLE>(device)); }
