#include "port_lookup.h"

#include "port_table.h"

int comPortSlot(const std::string& port)
{
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (port.size() != 4 || upper(port[0]) != 'C' || upper(port[1]) != 'O' || upper(port[2]) != 'M')
        return -1;
    const int number = port[3] - '0';
    return number >= 1 && number <= static_cast<int>(kUsablePortSlots) ? number - 1 : -1;
}
