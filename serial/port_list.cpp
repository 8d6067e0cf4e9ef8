#include "port_list.h"

#include <algorithm>
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
    case PortNotFound: return "not connected";
    case PortBusy: return "busy";
    case PortNoPermission: return "no permission";
    default: return reason.systemText.empty() ? "cannot be opened" : reason.systemText;
    }
}

bool contains(const std::vector<unsigned>& numbers, unsigned number)
{
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

} // namespace

std::string openFailureAdvice(const PortEntry& port, const PortError& error, const DiscoveryRoot& root)
{
    switch (error.kind) {
    case PortNotFound:
        return port.name + " is not connected: connect it, or choose another port.";
    case PortBusy: {
        const std::string holder = portHolder(root, port.devicePath);
        return port.name + " is busy: " + (holder.empty() ? "another program" : holder) +
               " holds it. Close that program and try again.";
    }
    case PortNoPermission: {
        const std::string group = portAccessGroup(port.devicePath);
        if (group.empty())
            return "no permission to open " + port.name + ": ask the administrator of this computer for access to " +
                   port.devicePath + ".";
        return "no permission to open " + port.name + ": add your user to the group " + group +
               " (sudo usermod -aG " + group + " $USER) and log in again.";
    }
    case PortSystemError:
        return port.name + ": " + error.systemText;
    default:
        return std::string();
    }
}

std::vector<unsigned> listedComNumbers(const StartPorts& start, const std::vector<unsigned>& mappedNow)
{
    std::vector<unsigned> listed;
    for (unsigned number = 1; number <= 9; ++number) {
        const PortProbeResult found = start.probeResults[number - 1];
        const bool mapped = contains(mappedNow, number);
        if ((found == Available && (mapped || !contains(start.mapped, number))) || (found == NotFound && mapped))
            listed.push_back(number);
    }
    for (unsigned number : mappedNow)
        if (number > 9 && number <= 255 && !contains(listed, number))
            listed.push_back(number);
    std::sort(listed.begin(), listed.end());
    return listed;
}

const PortEntry* findPort(const std::vector<PortEntry>& ports, const std::string& text)
{
    for (const PortEntry& port : ports)
        if (!text.empty() && (port.devicePath == text || port.detail == text || sameIgnoringCase(port.name, text)))
            return &port;
    return nullptr;
}

bool samePort(const PortEntry& a, const PortEntry& b)
{
    if (a.devicePath.empty() || b.devicePath.empty())
        return false;
    return a.detail.empty() || b.detail.empty() ? a.devicePath == b.devicePath : a.detail == b.detail;
}

std::string portOpenPath(const PortEntry& port)
{
    return port.detail.empty() || port.devicePath.empty() ? port.devicePath : port.detail;
}

PortEntry notConnected(const PortEntry& port)
{
    PortEntry gone = port;
    gone.available = false;
    gone.reason = PortError{PortNotFound, 0, std::string()};
    return gone;
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

std::string comDevicePath(unsigned number)
{
    return number >= 1 && number <= 255 ? "\\\\.\\COM" + std::to_string(number) : std::string();
}
