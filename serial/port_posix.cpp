// Ports on POSIX: devices opened exclusively, set raw with termios, and written
// with poll and non-blocking writes under the time-outs that a Win32 write has.
#include "port_backend.h"
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
// that locks too, root's included. Then the mark is ours.
int openExclusive(const std::string& path, PortError* error)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        portFailure(error, openErrorKind(code), code);
        return -1;
    }
    int code = 0;
    PortErrorKind kind = PortBusy;
    int mark = 0;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        code = errno;
        kind = code == EWOULDBLOCK ? PortBusy : PortSystemError;
    } else if (::ioctl(fd, TIOCGEXCL, &mark) == 0 && mark != 0) {
        code = EBUSY; // the mark is the other program's: left as it is
    } else if (::ioctl(fd, TIOCEXCL) != 0) {
        code = errno;
        kind = PortSystemError;
    }
    if (code == 0)
        return fd;
    ::close(fd);
    portFailure(error, kind, code);
    return -1;
}

// Only for what openExclusive opened: the mark is ours. A pseudo-terminal keeps it
// after we close it while its other end is open, so take it off first.
void closeExclusive(int fd)
{
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

speed_t speedFor(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    default: return B115200; // the table's last rate; openPort takes no other
    }
}

int errnoOr(int fallback)
{
    return errno != 0 ? errno : fallback;
}

// 0 when the device took the line, else the error code to report.
int applyLine(int fd, int baud)
{
    termios settings;
    if (::tcgetattr(fd, &settings) != 0)
        return errnoOr(EIO);
    // Raw at 8N1: no XON/XOFF, no CR/LF translation, no echo, no signals, no
    // CRTSCTS; HUPCL lowers DTR and RTS at the close.
    settings.c_iflag = 0;
    settings.c_oflag = 0;
    settings.c_lflag = 0;
    settings.c_cflag = CS8 | CREAD | CLOCAL | HUPCL;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, speedFor(baud)) != 0 || ::cfsetospeed(&settings, speedFor(baud)) != 0)
        return errnoOr(EINVAL);
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

std::string systemErrorText(int systemCode) { return std::strerror(systemCode); }

int openDevice(const std::string& devicePath, int baud, PortHandle& port, PortError* error)
{
    const int fd = openExclusive(devicePath, error);
    if (fd < 0)
        return 0;
    errno = 0;
    const int refused = applyLine(fd, baud);
    if (refused != 0) {
        // Closed at once: the user may retry while the message is open.
        closeExclusive(fd);
        return portFailure(error, PortLineRefused, refused);
    }
    port.device = fd;
    return 1;
}

std::uint32_t writeDevice(const PortHandle& port, const void* data, std::uint32_t length, PortError* error)
{
    const int fd = static_cast<int>(port.device);
    const WriteTimeouts timeouts = port.timeouts;
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

void closeDevice(std::intptr_t device) { closeExclusive(static_cast<int>(device)); }
