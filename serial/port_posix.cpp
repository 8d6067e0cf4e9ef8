// Port table on POSIX: the COM slots stand for fixed device paths, opened
// exclusively, set raw with termios, and written with poll and non-blocking
// writes under the time-outs that a Win32 write has.
#include "port_table.h"
#include "port_testing.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// COM1 to COM9. USB serial adapters come first: that is how most trackers are
// connected, and the port list preselects the first port found. Then CDC-ACM
// devices, the Raspberry Pi's GPIO UART, and two on-board UARTs.
const char* const devicePaths[kUsablePortSlots] = {
    "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB3", "/dev/ttyACM0",
    "/dev/ttyACM1", "/dev/serial0", "/dev/ttyS0",   "/dev/ttyS1",
};

std::string testPaths[kUsablePortSlots];
bool testPathSet[kUsablePortSlots];

struct PortSlot {
    int open; // 1 exactly while fd is an open port
    int fd;
    WriteTimeouts timeouts;
};

PortSlot slots[kUsablePortSlots];

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

// TIOCEXCL keeps other opens out, but not root's; the lock keeps out every
// program that locks too, root's included.
int openExclusive(const char* path, PortError* error)
{
    const int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
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
    if (::ioctl(fd, TIOCEXCL) != 0) {
        const int code = errno;
        ::close(fd);
        portFailure(error, PortSystemError, code);
        return -1;
    }
    return fd;
}

// A pseudo-terminal keeps the exclusive mark after we close it while its other
// end is open, so take it off first.
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

void setPortDevicePathForTesting(unsigned slot, const char* path)
{
    if (slot >= kUsablePortSlots)
        return;
    testPathSet[slot] = path != nullptr;
    testPaths[slot] = path ? path : "";
}

const char* portDevicePath(unsigned slot)
{
    if (slot >= kUsablePortSlots)
        return "";
    return testPathSet[slot] ? testPaths[slot].c_str() : devicePaths[slot];
}

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

PortProbeResult probeSlot(unsigned slot)
{
    if (slots[slot].open)
        return Available; // our own lock would refuse a second open
    PortError error;
    const int fd = openExclusive(portDevicePath(slot), &error);
    if (fd < 0)
        return error.kind == PortNotFound ? NotFound : Inaccessible;
    closeExclusive(fd);
    return Available;
}

int openPort(unsigned slot, int baud, int parityIndex, int stopBitsIndex, int dataBits, PortError* error)
{
    if (slot >= kUsablePortSlots)
        return portFailure(error, PortBadRequest, 0);
    if (slots[slot].open)
        return portFailure(error, PortBusy, EBUSY);
    const LineSettings line = lineSettingsFor(baud, parityIndex, stopBitsIndex, dataBits);
    if (!lineRequestValid(baud, line))
        return portFailure(error, PortBadRequest, 0);

    const int fd = openExclusive(portDevicePath(slot), error);
    if (fd < 0)
        return 0;

    errno = 0;
    const int refused = applyLine(fd, line);
    if (refused != 0) {
        // Closed at once: the user may retry while the message is open.
        closeExclusive(fd);
        return portFailure(error, PortLineRefused, refused);
    }

    slots[slot].fd = fd;
    slots[slot].timeouts = writeTimeoutsFor(baud);
    slots[slot].open = 1;
    return 1;
}

std::uint32_t writePort(unsigned slot, const void* data, std::uint32_t length, PortError* error)
{
    if (slot >= kUsablePortSlots || !slots[slot].open || !data || length == 0)
        return static_cast<std::uint32_t>(portFailure(error, PortBadRequest, 0));
    const int fd = slots[slot].fd;
    const WriteTimeouts& timeouts = slots[slot].timeouts;
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

int closePort(unsigned slot)
{
    if (slot >= kUsablePortSlots || !slots[slot].open)
        return 0;
    closeExclusive(slots[slot].fd);
    slots[slot] = PortSlot{0, -1, {0, 0}};
    return 1;
}
