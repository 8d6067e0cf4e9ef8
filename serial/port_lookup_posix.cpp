#include "port_lookup.h"

#include "port_table.h"
#include "port_testing.h"

int findPortSlot(const std::string& port, unsigned& slot)
{
    const int com = comPortSlot(port);
    if (com >= 0) {
        slot = static_cast<unsigned>(com);
        return 1;
    }
    if (port.empty() || port[0] != '/')
        return 0;
    for (unsigned n = 0; n < kUsablePortSlots; ++n) {
        if (port == portDevicePath(n)) {
            slot = n;
            return 1;
        }
    }
    // Any other device goes through slot 0, as the table has no free slot of its own.
    setPortDevicePathForTesting(0, port.c_str());
    slot = 0;
    return 1;
}
