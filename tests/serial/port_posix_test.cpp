// The POSIX backend against pseudo-terminal pairs: the ports are the slave ends,
// the tests read the master ends.
#include "port_table.h"
#include "port_testing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
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

const std::string kAbsent = "/nonexistent/korvel-port";
int queuedAtDeadline = 0; // in the output queue at a write's deadline; a pseudo-terminal's is always empty

struct Pty {
    int master = -1, slave = -1; // the slave end stays open, so that the pair lives while the port is closed
    std::string path;

    // Reads until want bytes came and 50 ms stayed quiet, or 5 s passed.
    std::string read(std::size_t want) const
    {
        std::string got;
        char buffer[4096];
        for (const auto end = Clock::now() + 5s; Clock::now() < end;) {
            pollfd ready{master, POLLIN, 0};
            if (poll(&ready, 1, 50) <= 0 && got.size() >= want)
                break;
            got.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(::read(master, buffer, sizeof buffer), 0)));
        }
        return got;
    }

    // Whether the port is held exclusively, and whether another program could lock it
    // (the locks of two opens exclude each other even within one process).
    std::pair<int, bool> holders() const
    {
        int exclusive = -1;
        ioctl(slave, TIOCGEXCL, &exclusive);
        const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        const bool lockable = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
        close(fd);
        return {exclusive, lockable};
    }
};

class PosixPort : public testing::Test {
protected:
    void TearDown() override
    {
        for (const Pty& pty : ptys) {
            closePort(pty.path);
            close(pty.master);
            close(pty.slave);
        }
    }

    Pty& newPty()
    {
        Pty& pty = ptys.emplace_back();
        char name[128] = {};
        EXPECT_EQ(openpty(&pty.master, &pty.slave, name, nullptr, nullptr), 0);
        fcntl(pty.master, F_SETFL, O_NONBLOCK);
        pty.path = name;
        return pty;
    }

    std::deque<Pty> ptys; // references stay valid as pairs are added
};

} // namespace

// Stands in for the backend's TIOCOUTQ query, which is then not linked.
int queuedOutputBytes(int) { return queuedAtDeadline; }

// Probes tell missing, busy and free devices apart; refused opens say why and
// leave the device free and no descriptor behind.
TEST_F(PosixPort, ProbesAndRefusedOpens)
{
    const Pty &free = newPty(), &locked = newPty(), &marked = newPty(), &ours = newPty();
    ASSERT_EQ(openPort(ours.path, 4800, 0, 1, 8), 1);
    // As other programs would: a lock, and TIOCEXCL, which root's opens pass.
    ASSERT_EQ(flock(locked.slave, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(ioctl(marked.slave, TIOCEXCL), 0);
    const struct {
        std::string path;
        int probe, baud, parityIndex, stopBitsIndex;
        PortErrorKind kind;
        int code;
    } cases[] = {
        {kAbsent, 0, 4800, 0, 1, PortNotFound, ENOENT},      {"/", 0, 4800, 0, 1, PortSystemError, EISDIR},
        {"", 0, 4800, 0, 1, PortBadRequest, 0},              {locked.path, 0, 4800, 0, 1, PortBusy, EWOULDBLOCK},
        {marked.path, 0, 4800, 0, 1, PortBusy, EBUSY},       {ours.path, 1, 4800, 0, 1, PortBusy, EBUSY}, // no second open
        {free.path, 1, 4800, 0, 0, PortLineRefused, EINVAL}, // stop-bits index 0 names no setting
        {free.path, 1, 0, 0, 1, PortBadRequest, 0},          // these before the device is opened
        {free.path, 1, 4800, 4, 1, PortBadRequest, 0},       {free.path, 1, 4800, 0, -1, PortBadRequest, 0},
    };
    const auto descriptors = [] {
        const std::filesystem::directory_iterator fds("/proc/self/fd");
        return std::distance(begin(fds), end(fds));
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << " at " << c.baud << " Bd, parity " << c.parityIndex
                                        << ", stop bits " << c.stopBitsIndex);
        const auto before = descriptors();
        PortError error;
        EXPECT_EQ(probePort(c.path, &error), c.probe);
        EXPECT_EQ(openPort(c.path, c.baud, c.parityIndex, c.stopBitsIndex, 8, &error), 0);
        EXPECT_EQ(std::make_pair(error.kind, error.systemCode), std::make_pair(c.kind, c.code));
        EXPECT_EQ(descriptors(), before);
        EXPECT_EQ(free.holders(), std::make_pair(0, true));
    }
    EXPECT_EQ(marked.holders().first, 1); // the other program's mark left alone
    EXPECT_EQ(ours.holders().first, 1);
    EXPECT_EQ(writePort(ours.path, "x", 1), 1u);
    EXPECT_EQ(ours.read(1), "x");
}

TEST_F(PosixPort, OpenSetsARawLineHoldsThePortAndCountsWhatWentOut)
{
    const Pty& pty = newPty();
    ASSERT_EQ(openPort(pty.path, 115200, 0, 1, 8), 1);
    EXPECT_EQ(openPort(pty.path, 9600, 0, 3, 8), 0); // and the line stays as it is
    termios line{};                                  // a new pseudo-terminal's is cooked: none of it may stay
    ASSERT_EQ(tcgetattr(pty.slave, &line), 0);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B115200));
    EXPECT_EQ(line.c_iflag | line.c_oflag | line.c_lflag, 0u);
    EXPECT_EQ(pty.holders(), std::make_pair(1, false));

    std::string everyByte(256, '\0');
    for (int byte = 0; byte < 256; ++byte)
        everyByte[byte] = static_cast<char>(byte);
    const struct {
        std::string bytes;
        int queuedAtDeadline; // dropped then, and not counted
        PortErrorKind kind;
    } writes[] = {{"$#Pe0 156,160,134,168,152," + everyByte + "\r\n\x11\x13\x03 end", 0, PortNoError},
                  {"tail", 0, PortNoError}, {"unsent", 4, PortWriteIncomplete}};
    for (const auto& w : writes) {
        queuedAtDeadline = w.queuedAtDeadline;
        PortError error;
        const auto length = static_cast<std::uint32_t>(w.bytes.size());
        EXPECT_EQ(writePort(pty.path, w.bytes.data(), length, &error), length - w.queuedAtDeadline);
        EXPECT_EQ(error.kind, w.kind);
        EXPECT_EQ(w.queuedAtDeadline ? w.bytes : pty.read(length), w.bytes);
        queuedAtDeadline = 0;
    }
    EXPECT_EQ(closePort(pty.path), 1);
    EXPECT_EQ(closePort(pty.path) + writePort(pty.path, "x", 1), 0u);
    EXPECT_EQ(pty.holders(), std::make_pair(0, true));
}

TEST(PosixLine, TermiosForEachLine)
{
    const struct {
        int baud, parityIndex, stopBitsIndex, dataBits;
        speed_t speed;        // B0: no such line here
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
        const int mapped = termiosForLine(lineSettingsFor(l.baud, l.parityIndex, l.stopBitsIndex, l.dataBits), settings);
        ASSERT_EQ(mapped, l.speed != B0 ? 1 : 0);
        if (!mapped)
            continue;
        EXPECT_EQ(std::make_pair(cfgetospeed(&settings), cfgetispeed(&settings)), std::make_pair(l.speed, l.speed));
        // Raw, no flow control, and HUPCL: DTR and RTS drop at the close.
        EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CREAD | CLOCAL | HUPCL),
                  l.controlBits | CREAD | CLOCAL | HUPCL);
        EXPECT_EQ(settings.c_iflag | settings.c_oflag | settings.c_lflag, 0u);
    }
}

TEST_F(PosixPort, AHangUpDuringAWriteReturnsTheCountSoFar)
{
    Pty& pty = newPty();
    ASSERT_EQ(openPort(pty.path, 115200, 0, 1, 8), 1);
    std::thread reader([&pty] { // takes 4096 bytes, then goes away as an unplugged adapter does
        char buffer[4096];
        for (ssize_t got = 0; got < 4096; std::this_thread::sleep_for(1ms))
            got += std::max<ssize_t>(read(pty.master, buffer, sizeof buffer - static_cast<std::size_t>(got)), 0);
        close(pty.master);
        pty.master = -1;
    });
    const std::string data(64 * 1024, 'w'); // allowed to take 65 s
    const auto start = Clock::now();
    PortError error;
    const std::uint32_t written = writePort(pty.path, data.data(), static_cast<std::uint32_t>(data.size()), &error);
    EXPECT_LT(Clock::now() - start, 20s);
    reader.join();
    EXPECT_TRUE(written >= 4096 && written < data.size()) << written;
    EXPECT_EQ(error.kind, PortLineGone);
    const auto again = Clock::now(); // after the hang-up a write fails at once
    EXPECT_EQ(writePort(pty.path, data.data(), static_cast<std::uint32_t>(data.size())), 0u);
    EXPECT_LT(Clock::now() - again, 3s);
}
