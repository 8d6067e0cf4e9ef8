#include "port_table.h"

#include <utility>

#include "port_backend.h"

const BaudRow baudTable[kBaudRowCount] = {
    {"1200 Bd", 1200},   {"2400 Bd", 2400},   {"4800 Bd", 4800},   {"9600 Bd", 9600},
    {"19200 Bd", 19200}, {"38400 Bd", 38400}, {"57600 Bd", 57600}, {"115200 Bd", 115200},
};

WriteTimeouts writeTimeoutsFor(int baud)
{
    if (baud <= 0)
        return {0, 0};
    // q: twelve bit times in whole milliseconds, rounded down.
    const std::uint32_t q = static_cast<std::uint32_t>(12000 / baud);
    return {q + 1, q + 2};
}

int portFailure(PortError* error, PortErrorKind kind, int systemCode)
{
    if (error) {
        error->kind = kind;
        error->systemCode = systemCode;
        error->systemText = systemCode != 0 ? systemErrorText(systemCode) : std::string();
    }
    return 0;
}

PortHandle::PortHandle(PortHandle&& other) noexcept
    : device(std::exchange(other.device, kNoDevice)), timeouts(other.timeouts)
{
}

PortHandle& PortHandle::operator=(PortHandle&& other) noexcept
{
    if (this != &other) {
        closePort(*this);
        device = std::exchange(other.device, kNoDevice);
        timeouts = other.timeouts;
    }
    return *this;
}

PortHandle::~PortHandle() { closePort(*this); }

int openPort(const std::string& devicePath, int baud, PortHandle& port, PortError* error)
{
    bool rateKnown = false;
    for (const BaudRow& row : baudTable)
        rateKnown = rateKnown || baud == static_cast<int>(row.rate);
    if (devicePath.empty() || !rateKnown || port.isOpen())
        return portFailure(error, PortBadRequest, 0);
    if (!openDevice(devicePath, baud, port, error))
        return 0;
    port.timeouts = writeTimeoutsFor(baud);
    return 1;
}

std::uint32_t writePort(PortHandle& port, const void* data, std::uint32_t length, PortError* error)
{
    if (!port.isOpen() || (!data && length > 0))
        return static_cast<std::uint32_t>(portFailure(error, PortBadRequest, 0));
    if (length == 0)
        return 0;
    return writeDevice(port, data, length, error);
}

int closePort(PortHandle& port)
{
    if (!port.isOpen())
        return 0;
    closeDevice(std::exchange(port.device, PortHandle::kNoDevice));
    return 1;
}
