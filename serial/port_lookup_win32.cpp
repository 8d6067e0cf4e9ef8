#include "port_lookup.h"

int findPortSlot(const std::string& port, unsigned& slot)
{
    const int com = comPortSlot(port);
    if (com < 0)
        return 0;
    slot = static_cast<unsigned>(com);
    return 1;
}
