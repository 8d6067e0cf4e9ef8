#include "port_table.h"


const BaudRow baudTable[kBaudRowCount] = {
    {"1200 Bd", 1200},   {"2400 Bd", 2400},   {"4800 Bd", 4800},   {"9600 Bd", 9600},
    {"19200 Bd", 19200}, {"38400 Bd", 38400}, {"57600 Bd", 57600}, {"115200 Bd", 115200},
};

// Indexed by parity index: none, even, odd, space (Win32 codes).
const int parityCodes[4] = {0, 2, 1, 4};

// Indexed by stop-bits index, which counts from 1: index 0 is no defined setting.
const int stopBitsCodes[4] = {3, 0, 1, 2};

namespace {

int codeAt(const int (&codes)[4], int index)
{
    return index >= 0 && index < 4 ? codes[index] : -1;
}

} // namespace

LineSettings lineSettingsFor(int baud, int parityIndex, int stopBitsIndex, int dataBits)
{
    // fBinary, DTR_CONTROL_ENABLE and RTS_CONTROL_ENABLE; fParity on top when parity is used.
    const std::uint32_t flags = parityIndex != 0 ? 0x1013u : 0x1011u;
    LineSettings line{};
    line.baud = static_cast<std::uint32_t>(baud);
    line.flags = flags;
    line.byteSize = dataBits == 7 || dataBits == 0 ? 7 : 8;
    line.parity = codeAt(parityCodes, parityIndex);
    line.stopBits = codeAt(stopBitsCodes, stopBitsIndex);
    return line;
}

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

bool lineRequestValid(int baud, const LineSettings& line)
{
    // A rate of 0 would divide the time-outs by zero; other codes index nothing.
    return baud > 0 && line.parity >= 0 && line.stopBits >= 0;
}
