// The POSIX backend against pseudo-terminal pairs: the ports are the slave ends,
// the tests read the master ends.
#include "port_table.h"
#include "port_testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <iterator>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const char* const kAbsent = "/nonexistent/korvel-port";

long long millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// 1 when a new open of path can take the lock now. The locks of two opens
// exclude each other even within one process, so this stands for another program.
int canLock(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    const int locked = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? 1 : 0;
    close(fd);
    return locked;
}

struct Pty {
    int master = -1;
    int slave = -1; // kept open so that the pair lives while the port is closed
    std::string path;
};

class PosixPort : public testing::Test {
protected:
    void TearDown() override
    {
        for (const Pty& pty : ptys_) {
            closePort(pty.path);
            close(pty.master);
            close(pty.slave);
        }
    }

    // A new pair; its slave end is the port.
    Pty& newPty()
    {
        Pty pty;
        char name[128] = {};
        EXPECT_EQ(openpty(&pty.master, &pty.slave, name, nullptr, nullptr), 0);
        fcntl(pty.master, F_SETFL, O_NONBLOCK);
        pty.path = name;
        ptys_.push_back(pty);
        return ptys_.back();
    }

    // Reads until want bytes came and 50 ms stayed quiet, or 5 s passed.
    static std::string readFrom(const Pty& pty, std::size_t want)
    {
        std::string got;
        for (const auto end = Clock::now() + 5s; Clock::now() < end;) {
            pollfd ready{pty.master, POLLIN, 0};
            if (poll(&ready, 1, 50) <= 0 && got.size() >= want)
                break;
            char buffer[4096];
            const ssize_t n = read(pty.master, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    static int exclusiveMark(const Pty& pty)
    {
        int mark = -1;
        ioctl(pty.slave, TIOCGEXCL, &mark);
        return mark;
    }

    // Nobody holds the port any more, exclusively or by lock.
    static void expectReleased(const Pty& pty)
    {
        EXPECT_EQ(exclusiveMark(pty), 0);
        EXPECT_EQ(canLock(pty.path), 1);
    }

    std::deque<Pty> ptys_; // references stay valid as pairs are added
};

} // namespace

TEST_F(PosixPort, ProbeTellsMissingBusyAndAvailableDevicesApart)
{
    const Pty& free = newPty();
    const Pty& locked = newPty();
    const Pty& marked = newPty();
    const Pty& ours = newPty();
    ASSERT_EQ(openPort(ours.path, 4800, 0, 1, 8), 1);
    // As other programs would: a lock, and TIOCEXCL, which root's opens pass.
    ASSERT_EQ(flock(locked.slave, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(ioctl(marked.slave, TIOCEXCL), 0);

    const struct { std::string path; int opens; PortErrorKind kind; } cases[] = {
        {kAbsent, 0, PortNotFound}, {free.path, 1, PortNoError},   {locked.path, 0, PortBusy},
        {marked.path, 0, PortBusy}, {"/", 0, PortSystemError},     {"", 0, PortBadRequest},
        {ours.path, 1, PortNoError}, // without a second open, which our own lock would refuse
    };
    for (const auto& c : cases) {
        PortError error;
        EXPECT_EQ(probePort(c.path, &error), c.opens) << c.path;
        EXPECT_EQ(error.kind, c.kind) << c.path;
    }
    PortError error;
    EXPECT_EQ(openPort(locked.path, 4800, 0, 1, 8, &error), 0);
    EXPECT_EQ(error.kind, PortBusy);
    EXPECT_EQ(openPort(marked.path, 4800, 0, 1, 8, &error), 0);
    EXPECT_EQ(error.kind, PortBusy);

    // The probe let go of what it opened and left the other program's mark alone.
    expectReleased(free);
    EXPECT_EQ(exclusiveMark(marked), 1);
    EXPECT_EQ(exclusiveMark(ours), 1);
    EXPECT_EQ(writePort(ours.path, "x", 1), 1u);
    EXPECT_EQ(readFrom(ours, 1), "x");
}

TEST_F(PosixPort, OpenSetsARawLineHoldsThePortAndWritesExactlyTheBytes)
{
    const Pty& pty = newPty();
    const std::string& port = pty.path;
    termios line{}; // cooked, with flow control and 2 stop bits: none of it may stay
    ASSERT_EQ(tcgetattr(pty.slave, &line), 0);
    line.c_cflag |= CRTSCTS | CSTOPB;
    line.c_iflag |= IXON | IXOFF;
    ASSERT_EQ(tcsetattr(pty.slave, TCSANOW, &line), 0);

    ASSERT_EQ(openPort(port, 115200, 0, 1, 8), 1);
    EXPECT_EQ(openPort(port, 9600, 0, 3, 8), 0); // and the line stays as it is
    ASSERT_EQ(tcgetattr(pty.slave, &line), 0);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B115200));
    EXPECT_EQ(line.c_cflag & (CRTSCTS | CSTOPB | CLOCAL), static_cast<tcflag_t>(CLOCAL));
    EXPECT_EQ(line.c_iflag | line.c_oflag | line.c_lflag, 0u);
    EXPECT_EQ(exclusiveMark(pty), 1);
    EXPECT_EQ(canLock(pty.path), 0);

    // Shaped like a record, then every byte value: a raw line passes each unchanged.
    std::string payload = "$#Pe0 156,160,134,168,152,";
    for (int byte = 0; byte < 256; ++byte)
        payload += static_cast<char>(byte);
    payload += "\r\n\x11\x13\x03 end";
    EXPECT_EQ(writePort(port, payload.data(), static_cast<std::uint32_t>(payload.size())), payload.size());
    EXPECT_EQ(writePort(port, "tail", 4), 4u);
    EXPECT_EQ(readFrom(pty, payload.size() + 4), payload + "tail");

    EXPECT_EQ(closePort(port), 1);
    EXPECT_EQ(closePort(port), 0);
    EXPECT_EQ(writePort(port, "x", 1), 0u);
    expectReleased(pty);

    for (const std::string& none : {std::string(), std::string(kAbsent)}) {
        EXPECT_EQ(openPort(none, 4800, 0, 1, 8), 0) << none;
        EXPECT_EQ(writePort(none, "x", 1), 0u) << none;
        EXPECT_EQ(closePort(none), 0) << none;
    }
}

TEST_F(PosixPort, ARefusedLineLeavesThePortFree)
{
    const Pty& pty = newPty();
    const struct {
        int baud, parityIndex, stopBitsIndex;
        PortErrorKind kind;
        int code;
    } lines[] = {
        {4800, 0, 0, PortLineRefused, EINVAL}, // stop-bits index 0 names no setting
        // refused before the device is opened
        {0, 0, 1, PortBadRequest, 0}, {4800, 4, 1, PortBadRequest, 0}, {4800, 0, -1, PortBadRequest, 0},
    };
    for (const auto& l : lines) {
        SCOPED_TRACE(testing::Message() << l.baud << " Bd, parity " << l.parityIndex << ", stop bits "
                                        << l.stopBitsIndex);
        PortError error;
        EXPECT_EQ(openPort(pty.path, l.baud, l.parityIndex, l.stopBitsIndex, 8, &error), 0);
        EXPECT_EQ(error.kind, l.kind);
        EXPECT_EQ(error.systemCode, l.code);
        EXPECT_EQ(writePort(pty.path, "x", 1), 0u);
        expectReleased(pty);
    }
}

TEST(PosixLine, TermiosForEachLine)
{
    const struct {
        int baud, parityIndex, stopBitsIndex, dataBits;
        speed_t speed; // B0: no such line here
        tcflag_t controlBits; // of CSIZE, PARENB, PARODD, CMSPAR, CSTOPB
    } lines[] = {
        {1200, 0, 1, 8, B1200, CS8},   {2400, 0, 1, 8, B2400, CS8},     {4800, 0, 1, 8, B4800, CS8},
        {9600, 0, 1, 8, B9600, CS8},   {19200, 0, 1, 8, B19200, CS8},   {38400, 0, 1, 8, B38400, CS8},
        {57600, 0, 1, 8, B57600, CS8}, {115200, 0, 1, 8, B115200, CS8},
        {4800, 1, 1, 7, B4800, CS7 | PARENB},          // even
        {4800, 2, 1, 8, B4800, CS8 | PARENB | PARODD}, // odd
        {4800, 3, 1, 8, B4800, CS8 | PARENB | CMSPAR}, // space
        {4800, 0, 3, 0, B4800, CS7 | CSTOPB},
        {4800, 0, 0, 8, B0, 0}, // stop-bits index 0 names no setting
        {4800, 0, 2, 8, B0, 0}, // 1.5 stop bits: termios has none
        {300, 0, 1, 8, B0, 0},
    };
    for (const auto& l : lines) {
        SCOPED_TRACE(testing::Message() << l.baud << " Bd, parity " << l.parityIndex << ", stop bits "
                                        << l.stopBitsIndex << ", data bits " << l.dataBits);
        termios settings;
        std::memset(&settings, 0xff, sizeof settings); // whatever the device had
        const LineSettings line = lineSettingsFor(l.baud, l.parityIndex, l.stopBitsIndex, l.dataBits);
        const int mapped = termiosForLine(line, settings);
        ASSERT_EQ(mapped, l.speed != B0 ? 1 : 0);
        if (!mapped)
            continue;
        EXPECT_EQ(cfgetospeed(&settings), l.speed);
        EXPECT_EQ(cfgetispeed(&settings), l.speed);
        EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CREAD | CLOCAL),
                  l.controlBits | CREAD | CLOCAL);
        EXPECT_EQ(settings.c_iflag | settings.c_oflag | settings.c_lflag, 0u);
    }
}

TEST_F(PosixPort, AWriteNobodyReadsEndsShortWithinItsTimeout)
{
    Pty& pty = newPty();
    ASSERT_EQ(openPort(pty.path, 115200, 0, 1, 8), 1);

    // Fill what the pair buffers, through the fixture's own end. The kernel moves
    // bytes on to the reading side a moment later, so fill until two rounds in a
    // row find no more room.
    fcntl(pty.slave, F_SETFL, fcntl(pty.slave, F_GETFL) | O_NONBLOCK);
    const std::string filler(4096, 'f');
    for (int idleRounds = 0; idleRounds < 2;) {
        bool took = false;
        while (write(pty.slave, filler.data(), filler.size()) > 0)
            took = true;
        idleRounds = took ? 0 : idleRounds + 1;
        std::this_thread::sleep_for(100ms);
    }

    const std::string data(500, 'd');
    const auto start = Clock::now();
    EXPECT_LT(writePort(pty.path, data.data(), 500), 500u);
    const long long took = millisecondsSince(start);
    EXPECT_GE(took, 502 - 5); // 1 ms a byte and 2 ms more at 115200 Bd
    EXPECT_LT(took, 502 + 3000);
}

TEST_F(PosixPort, AHangUpDuringAWriteReturnsTheCountSoFar)
{
    Pty& pty = newPty();
    ASSERT_EQ(openPort(pty.path, 115200, 0, 1, 8), 1);

    // The reader takes a little and then goes away, as an unplugged adapter does.
    const std::size_t taken = 4096;
    std::thread reader([&pty, taken] {
        std::size_t got = 0;
        char buffer[512];
        for (const auto giveUp = Clock::now() + 10s; got < taken && Clock::now() < giveUp;) {
            pollfd ready{pty.master, POLLIN, 0};
            poll(&ready, 1, 100);
            const ssize_t n = read(pty.master, buffer, std::min(sizeof buffer, taken - got));
            if (n > 0)
                got += static_cast<std::size_t>(n);
        }
        close(pty.master);
        pty.master = -1;
    });

    const std::string data(64 * 1024, 'w'); // allowed to take 65 s
    const auto start = Clock::now();
    const std::uint32_t written = writePort(pty.path, data.data(), static_cast<std::uint32_t>(data.size()));
    const long long took = millisecondsSince(start);
    reader.join();
    EXPECT_GE(written, taken);
    EXPECT_LT(written, data.size());
    EXPECT_LT(took, 20000);

    // After the hang-up a write fails at once.
    const auto again = Clock::now();
    EXPECT_EQ(writePort(pty.path, data.data(), static_cast<std::uint32_t>(data.size())), 0u);
    EXPECT_LT(millisecondsSince(again), 3000);
    EXPECT_EQ(closePort(pty.path), 1);
}
