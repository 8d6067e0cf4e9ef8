// Which serial ports a Linux system has: the device nodes of the kinds that carry
// serial lines, described from sysfs. None is opened: opening a tty raises DTR,
// and many boards restart on that.
#include "port_backend.h"
#include "port_list.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// In the order of the list: USB adapters first (most trackers are connected so, and
// the list preselects the first port that opens), CDC-ACM devices, the Raspberry Pi's
// GPIO UARTs, on-board UARTs, Bluetooth.
enum Kind { UsbSerial, CdcAcm, PiUart, Uart, Bluetooth, KindCount };
const char* const kStems[KindCount] = {"ttyUSB", "ttyACM", "serial", "ttyS", "rfcomm"};

// The kind of a device name: a stem followed by a number; KindCount for any other.
Kind kindOf(const std::string& name, unsigned long& number)
{
    for (int k = 0; k < KindCount; ++k) {
        const std::string stem = kStems[k];
        if (name.size() > stem.size() && name.compare(0, stem.size(), stem) == 0 &&
            name.find_first_not_of("0123456789", stem.size()) == std::string::npos) {
            number = std::strtoul(name.c_str() + stem.size(), nullptr, 10);
            return static_cast<Kind>(k);
        }
    }
    return KindCount;
}

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir))
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

// Device and program names are whatever their makers wrote: no control character
// of theirs reaches a list row or a message.
std::string firstLine(const std::string& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string realPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? resolved : std::string();
}

// What a symbolic link says; "" for anything else.
std::string linkTarget(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

std::string parentOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

// An on-board UART counts when sysfs names hardware behind it: a device, and a
// port type other than 0 (a line that the driver reserved without a chip).
bool hasUart(const std::string& sysTty)
{
    struct stat info {};
    if (::stat((sysTty + "/device").c_str(), &info) != 0)
        return false;
    const std::string type = firstLine(sysTty + "/type");
    return type.empty() || std::atoi(type.c_str()) != 0;
}

// The USB device above the tty's interface: its product, else its maker.
std::string usbDescription(const std::string& sysTty)
{
    std::string folder = realPath(sysTty + "/device");
    for (int up = 0; up < 4 && !folder.empty(); ++up, folder = parentOf(folder)) {
        if (::access((folder + "/idVendor").c_str(), F_OK) == 0) {
            const std::string product = firstLine(folder + "/product");
            return product.empty() ? firstLine(folder + "/manufacturer") : product;
        }
    }
    return std::string();
}

std::string describe(Kind kind, const std::string& sysTty, const std::string& devicePath)
{
    switch (kind) {
    case UsbSerial:
    case CdcAcm:
        return usbDescription(sysTty);
    case PiUart: { // a link to the UART that the board's GPIO pins carry
        const std::string target = linkTarget(devicePath);
        return target.substr(target.find_last_of('/') + 1);
    }
    case Bluetooth:
        return "Bluetooth";
    default:
        return std::string();
    }
}

// The name that stays the same whichever number the adapter gets.
std::string byIdName(const std::string& dev, const std::string& devicePath)
{
    const std::string device = realPath(devicePath);
    const std::string folder = dev + "/serial/by-id/";
    for (const std::string& name : namesIn(folder))
        if (!device.empty() && realPath(folder + name) == device)
            return folder + name;
    return std::string();
}

} // namespace

std::vector<PortEntry> discoverPorts(const DiscoveryRoot& root, const StartPorts&)
{
    struct Found {
        Kind kind;
        unsigned long number;
        PortEntry port;
    };
    std::vector<Found> found;
    const std::string dev = root.path + "/dev";
    for (const std::string& name : namesIn(dev)) {
        unsigned long number = 0;
        const Kind kind = kindOf(name, number);
        const std::string sysTty = root.path + "/sys/class/tty/" + name;
        if (kind == KindCount || (kind == Uart && !hasUart(sysTty)))
            continue;
        PortEntry port;
        port.name = name;
        port.devicePath = dev + "/" + name;
        // Whether this user may open it, from its mode and the user's groups (and
        // its ACL); whether another program holds it shows when it is opened.
        port.available = ::faccessat(AT_FDCWD, port.devicePath.c_str(), R_OK | W_OK, AT_EACCESS) == 0;
        const int code = port.available ? 0 : errno;
        if (code == ENOENT || code == ENOTDIR)
            continue; // a link to nothing, or unplugged this moment
        if (!port.available)
            portFailure(&port.reason, code == EACCES || code == EPERM ? PortNoPermission : PortSystemError, code);
        port.description = describe(kind, sysTty, port.devicePath);
        port.detail = byIdName(dev, port.devicePath);
        if (port.detail.empty())
            port.detail = port.devicePath;
        found.push_back({kind, number, port});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
    });
    std::vector<PortEntry> ports;
    for (Found& f : found)
        ports.push_back(std::move(f.port));
    return ports;
}

StartPorts probeStartPorts() { return StartPorts(); }

std::string portHolder(const DiscoveryRoot& root, const std::string& devicePath)
{
    const std::string device = realPath(devicePath);
    const std::string proc = root.path + "/proc/";
    const std::string self = std::to_string(::getpid());
    for (const std::string& pid : namesIn(proc)) {
        if (device.empty() || pid == self || pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string fds = proc + pid + "/fd/";
        for (const std::string& fd : namesIn(fds)) {
            if (linkTarget(fds + fd) != device)
                continue;
            const std::string program = firstLine(proc + pid + "/comm");
            return (program.empty() ? "a program" : program) + " (process " + pid + ")";
        }
    }
    return std::string();
}

std::string portAccessGroup(const std::string& devicePath)
{
    // Only a group that may read and write, and not root's: joining that is no remedy.
    struct stat info {};
    if (::stat(devicePath.c_str(), &info) != 0 || (info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP) ||
        info.st_gid == 0)
        return std::string();
    const group* owner = ::getgrgid(info.st_gid);
    return owner ? owner->gr_name : std::string();
}
