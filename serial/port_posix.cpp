// Ports on POSIX: devices opened exclusively, set raw with termios, and written
// with poll and non-blocking writes under the time-outs that a Win32 write has.
#include "port_table.h"
#include "port_testing.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct OpenPort {
    std::string devicePath;
    int fd;
    WriteTimeouts timeouts;
};

// The ports open here: an entry exactly while its fd is open.
std::vector<OpenPort> openPorts;

OpenPort* findOpen(const std::string& devicePath) { return findOpenPort(openPorts, devicePath); }

PortErrorKind openErrorKind(int code)
{
    switch (code) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return PortNotFound;
    case EACCES:
    case EPERM:
        return PortNoPermission;
    case EBUSY:
        return PortBusy;
    default:
        return PortSystemError;
    }
}

// Another program's TIOCEXCL keeps other opens out, but not root's: a port that
// carries the mark is busy for us all the same. The lock keeps out every program
// that locks too, root's included.
int openUnshared(const std::string& path, PortError* error)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        portFailure(error, openErrorKind(code), code);
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        ::close(fd);
        portFailure(error, code == EWOULDBLOCK ? PortBusy : PortSystemError, code);
        return -1;
    }
    int mark = 0;
    if (::ioctl(fd, TIOCGEXCL, &mark) == 0 && mark != 0) {
        ::close(fd); // the mark is the other program's: left as it is
        portFailure(error, PortBusy, EBUSY);
        return -1;
    }
    return fd;
}

int openExclusive(const std::string& path, PortError* error)
{
    const int fd = openUnshared(path, error);
    if (fd >= 0 && ::ioctl(fd, TIOCEXCL) != 0) {
        const int code = errno;
        ::close(fd);
        portFailure(error, PortSystemError, code);
        return -1;
    }
    return fd;
}

// Only for what openExclusive opened: the mark is ours. A pseudo-terminal keeps it
// after we close it while its other end is open, so take it off first.
void closeExclusive(int fd)
{
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

int errnoOr(int fallback)
{
    return errno != 0 ? errno : fallback;
}

// 0 when the device took the line, else the error code to report.
int applyLine(int fd, const LineSettings& line)
{
    termios settings;
    if (::tcgetattr(fd, &settings) != 0)
        return errnoOr(EIO);
    if (!termiosForLine(line, settings))
        return EINVAL;
    int result;
    do {
        result = ::tcsetattr(fd, TCSANOW, &settings);
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        return errnoOr(EIO);
    // Pseudo-terminals and some adapters have no modem lines; that is no fault.
    int modemLines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd, TIOCMBIS, &modemLines) != 0 && errno != ENOTTY && errno != EINVAL)
        return errnoOr(EIO);
    return 0;
}

int millisecondsLeft(Clock::time_point deadline)
{
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<long long>(ms, 1 << 30));
}

// The kernel takes the bytes long before the line has sent them. Waiting for the
// line within the same time-out (as a Win32 write does) makes the pauses between
// writes pauses on the line. What is still queued at the deadline is dropped, so
// that close does not wait for it, and is not counted.
std::uint32_t unsentAtDeadline(int fd, Clock::time_point deadline)
{
    for (;;) {
        const int queued = queuedOutputBytes(fd);
        if (queued <= 0)
            return 0;
        const int wait = millisecondsLeft(deadline);
        if (wait == 0) {
            ::tcflush(fd, TCOFLUSH);
            return static_cast<std::uint32_t>(queued);
        }
        ::poll(nullptr, 0, std::min(wait, 2));
    }
}

} // namespace

int termiosForLine(const LineSettings& line, termios& settings)
{
    speed_t speed;
    switch (line.baud) {
    case 1200: speed = B1200; break;
    case 2400: speed = B2400; break;
    case 4800: speed = B4800; break;
    case 9600: speed = B9600; break;
    case 19200: speed = B19200; break;
    case 38400: speed = B38400; break;
    case 57600: speed = B57600; break;
    case 115200: speed = B115200; break;
    default: return 0;
    }

    // No CRTSCTS: no hardware flow control. HUPCL lowers DTR and RTS on close.
    tcflag_t control = CREAD | CLOCAL | HUPCL;
    switch (line.byteSize) {
    case 7: control |= CS7; break;
    case 8: control |= CS8; break;
    default: return 0;
    }
    switch (line.parity) { // Win32 codes
    case 0: break;
    case 1: control |= PARENB | PARODD; break;
    case 2: control |= PARENB; break;
#ifdef CMSPAR
    case 3: control |= PARENB | PARODD | CMSPAR; break; // mark
    case 4: control |= PARENB | CMSPAR; break;          // space
#endif
    default: return 0;
    }
    switch (line.stopBits) { // termios has no 1.5 stop bits
    case 0: break;
    case 2: control |= CSTOPB; break;
    default: return 0;
    }

    // Raw: no XON/XOFF, no CR/LF translation, no echo, no signals.
    settings.c_iflag = 0;
    settings.c_oflag = 0;
    settings.c_lflag = 0;
    settings.c_cflag = control;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0)
        return 0;
    return 1;
}

std::string systemErrorText(int systemCode) { return std::strerror(systemCode); }

int probePort(const std::string& devicePath, PortError* error)
{
    if (devicePath.empty())
        return portFailure(error, PortBadRequest, 0);
    if (findOpen(devicePath))
        return 1; // our own lock would refuse a second open
    const int fd = openUnshared(devicePath, error);
    if (fd < 0)
        return 0;
    ::close(fd);
    return 1;
}

int openPort(const std::string& devicePath, int baud, int parityIndex, int stopBitsIndex, int dataBits,
             PortError* error)
{
    if (devicePath.empty())
        return portFailure(error, PortBadRequest, 0);
    if (findOpen(devicePath))
        return portFailure(error, PortBusy, EBUSY);
    const LineSettings line = lineSettingsFor(baud, parityIndex, stopBitsIndex, dataBits);
    if (!lineRequestValid(baud, line))
        return portFailure(error, PortBadRequest, 0);

    const int fd = openExclusive(devicePath, error);
    if (fd < 0)
        return 0;

    errno = 0;
    const int refused = applyLine(fd, line);
    if (refused != 0) {
        // Closed at once: the user may retry while the message is open.
        closeExclusive(fd);
        return portFailure(error, PortLineRefused, refused);
    }

    openPorts.push_back({devicePath, fd, writeTimeoutsFor(baud)});
    return 1;
}

std::uint32_t writePort(const std::string& devicePath, const void* data, std::uint32_t length, PortError* error)
{
    const OpenPort* port = findOpen(devicePath);
    if (!port || !data || length == 0)
        return static_cast<std::uint32_t>(portFailure(error, PortBadRequest, 0));
    const int fd = port->fd;
    const WriteTimeouts timeouts = port->timeouts;
    const auto deadline = Clock::now() + std::chrono::milliseconds(
        static_cast<std::uint64_t>(timeouts.multiplier) * length + timeouts.constant);

    const auto* bytes = static_cast<const unsigned char*>(data);
    std::uint32_t written = 0;
    bool lineGone = false;
    int lineError = 0;
    while (written < length) {
        const std::size_t chunk = std::min<std::uint32_t>(length - written, 1u << 30);
        const ssize_t n = ::write(fd, bytes + written, chunk);
        if (n > 0) {
            written += static_cast<std::uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int wait = millisecondsLeft(deadline);
            if (wait == 0)
                break;
            pollfd ready{fd, POLLOUT, 0};
            const int polled = ::poll(&ready, 1, wait);
            if (polled < 0 && errno != EINTR) {
                lineGone = true;
                lineError = errno;
                break;
            }
            if (polled > 0 && !(ready.revents & POLLOUT)) {
                lineGone = true; // hung up
                lineError = EIO;
                break;
            }
            continue;
        }
        // EIO or ENXIO: the adapter was unplugged; any other error ends the write too.
        lineGone = true;
        lineError = n < 0 ? errno : EIO;
        break;
    }
    if (!lineGone)
        written -= std::min(written, unsentAtDeadline(fd, deadline));
    if (lineGone)
        portFailure(error, PortLineGone, lineError);
    else if (written < length)
        portFailure(error, PortWriteIncomplete, ETIMEDOUT);
    return written;
}

int closePort(const std::string& devicePath)
{
    const OpenPort* port = findOpen(devicePath);
    if (!port)
        return 0;
    closeExclusive(port->fd);
    openPorts.erase(openPorts.begin() + (port - openPorts.data()));
    return 1;
}
