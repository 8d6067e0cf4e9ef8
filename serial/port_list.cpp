#include "port_list.h"

#include <cctype>

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string reasonText(const PortError& reason)
{
    switch (reason.kind) {
    case PortBusy: return "busy";
    case PortNoPermission: return "no permission";
    default: return reason.systemText.empty() ? "cannot be opened" : reason.systemText;
    }
}

} // namespace

const PortEntry* findPort(const std::vector<PortEntry>& ports, const std::string& text)
{
    for (const PortEntry& port : ports)
        if (!text.empty() && (port.devicePath == text || port.detail == text || sameIgnoringCase(port.name, text)))
            return &port;
    return nullptr;
}

std::string portRowText(const PortEntry& port)
{
    std::string text = port.name;
    if (!port.description.empty())
        text += " - " + port.description;
    if (!port.available)
        text += " (" + reasonText(port.reason) + ")";
    return text;
}

std::string openFailureAdvice(const PortEntry& port, const PortError& error, const DiscoveryRoot& root)
{
    switch (error.kind) {
    case PortBusy: {
        const std::string holder = portHolder(root, port.devicePath);
        return port.name + " is busy: " + (holder.empty() ? "another program" : holder) +
               " holds it. Close that program and try again.";
    }
    case PortNoPermission: {
        std::string group = portAccessGroup(port.devicePath);
        if (group.empty())
            group = "dialout";
        return "no permission to open " + port.name + ": add your user to the group " + group +
               " (sudo usermod -aG " + group + " $USER) and log in again.";
    }
    case PortSystemError:
        return error.systemText;
    default: // a missing port, a refused line (reported already), no port chosen
        return std::string();
    }
}

std::string comDevicePath(unsigned number)
{
    return number >= 1 && number <= 255 ? "\\\\.\\COM" + std::to_string(number) : std::string();
}
