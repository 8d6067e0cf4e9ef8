// The POSIX backend against pseudo-terminal pairs: the ports are the slave ends,
// the tests read the master ends.
#include "port_table.h"
#include "port_testing.h"

#include <utility>

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

// Refused opens say why and leave the device free and no descriptor behind.
TEST_F(PosixPort, RefusedOpens)
{
    const Pty &free = newPty(), &locked = newPty(), &marked = newPty(), &ours = newPty();
    PortHandle held;
    ASSERT_EQ(openPort(ours.path, 4800, held), 1);
    // As other programs would: a lock, and TIOCEXCL, which root's opens pass.
    ASSERT_EQ(flock(locked.slave, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(ioctl(marked.slave, TIOCEXCL), 0);
    const struct {
        std::string path;
        PortErrorKind kind;
        int code;
    } cases[] = {
        {kAbsent, PortNotFound, ENOENT}, {"/", PortSystemError, EISDIR},       {locked.path, PortBusy, EWOULDBLOCK},
        {marked.path, PortBusy, EBUSY},  {ours.path, PortBusy, EWOULDBLOCK}, // no second open of our own
    };
    const auto descriptors = [] {
        const std::filesystem::directory_iterator fds("/proc/self/fd");
        return std::distance(begin(fds), end(fds));
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const auto before = descriptors();
        PortHandle port;
        PortError error;
        EXPECT_EQ(openPort(c.path, 4800, port, &error), 0);
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(std::make_pair(error.kind, error.systemCode), std::make_pair(c.kind, c.code));
        EXPECT_EQ(descriptors(), before);
        EXPECT_EQ(free.holders(), std::make_pair(0, true));
    }
    EXPECT_EQ(marked.holders().first, 1); // the other program's mark left alone
    EXPECT_EQ(ours.holders().first, 1);
    EXPECT_EQ(openPort(free.path, 4800, held), 0); // a handle holds one port: ours stays as it is
    EXPECT_EQ(writePort(held, "x", 1), 1u);
    EXPECT_EQ(ours.read(1), "x");
}

// The line as the kernel holds it at every rate, whatever the device had before.
TEST_F(PosixPort, OpenSetsARawLineAt8N1AndEveryRate)
{
    const Pty& pty = newPty();
    const speed_t speeds[kBaudRowCount] = {B1200, B2400, B4800, B9600, B19200, B38400, B57600, B115200};
    for (int row = 0; row < kBaudRowCount; ++row) {
        termios line{};
        ASSERT_EQ(tcgetattr(pty.slave, &line), 0);
        line.c_cflag |= CSTOPB | CRTSCTS | PARENB; // as another program may have left it
        line.c_iflag |= IXON | ICRNL;
        line.c_lflag |= ECHO | ICANON | ISIG;
        ASSERT_EQ(tcsetattr(pty.slave, TCSANOW, &line), 0);
        PortHandle port;
        ASSERT_EQ(openPort(pty.path, static_cast<int>(baudTable[row].rate), port), 1);
        ASSERT_EQ(tcgetattr(pty.slave, &line), 0);
        EXPECT_EQ(std::make_pair(cfgetospeed(&line), cfgetispeed(&line)), std::make_pair(speeds[row], speeds[row]));
        EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CREAD | CLOCAL | HUPCL),
                  tcflag_t{CS8 | CREAD | CLOCAL | HUPCL});
        EXPECT_EQ(line.c_iflag | line.c_oflag | line.c_lflag, 0u);
        EXPECT_EQ(pty.holders(), std::make_pair(1, false));
    } // each handle's end closed its port
    EXPECT_EQ(pty.holders(), std::make_pair(0, true));
}

TEST_F(PosixPort, AHandleWritesExactBytesCountsWhatWentOutAndItsEndCloses)
{
    const Pty& pty = newPty();
    PortHandle port;
    ASSERT_EQ(openPort(pty.path, 115200, port), 1);
    std::string everyByte(256, '\0');
    for (int byte = 0; byte < 256; ++byte)
        everyByte[byte] = static_cast<char>(byte);
    const struct {
        std::string bytes;
        int queuedAtDeadline; // dropped then, and not counted
        PortErrorKind kind;
    } writes[] = {{"$#Pe0 156,160,134,168,152," + everyByte + "\r\n\x11\x13\x03 end", 0, PortNoError},
                  {"", 0, PortNoError}, // nothing to write is no failure
                  {"tail", 0, PortNoError}, {"unsent", 4, PortWriteIncomplete}};
    for (const auto& w : writes) {
        queuedAtDeadline = w.queuedAtDeadline;
        PortError error;
        const auto length = static_cast<std::uint32_t>(w.bytes.size());
        EXPECT_EQ(writePort(port, w.bytes.data(), length, &error), length - w.queuedAtDeadline);
        EXPECT_EQ(error.kind, w.kind);
        EXPECT_EQ(w.queuedAtDeadline ? w.bytes : pty.read(length), w.bytes);
        queuedAtDeadline = 0;
    }
    {
        PortHandle moved = std::move(port); // one holder at a time
        EXPECT_TRUE(moved.isOpen() && !port.isOpen());
        EXPECT_EQ(writePort(port, "x", 1), 0u);
        EXPECT_EQ(pty.holders(), std::make_pair(1, false));
    }
    EXPECT_EQ(pty.holders(), std::make_pair(0, true));
    EXPECT_EQ(closePort(port), 0);
    ASSERT_EQ(openPort(pty.path, 4800, port), 1);
    EXPECT_EQ(closePort(port), 1);
    EXPECT_EQ(closePort(port), 0);
    EXPECT_EQ(pty.holders(), std::make_pair(0, true));
}

TEST_F(PosixPort, AHangUpDuringAWriteReturnsTheCountSoFar)
{
    Pty& pty = newPty();
    PortHandle port;
    ASSERT_EQ(openPort(pty.path, 115200, port), 1);
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
    const std::uint32_t written = writePort(port, data.data(), static_cast<std::uint32_t>(data.size()), &error);
    EXPECT_LT(Clock::now() - start, 20s);
    reader.join();
    EXPECT_TRUE(written >= 4096 && written < data.size()) << written;
    EXPECT_EQ(error.kind, PortLineGone);
    const auto again = Clock::now(); // after the hang-up a write fails at once
    EXPECT_EQ(writePort(port, data.data(), static_cast<std::uint32_t>(data.size())), 0u);
    EXPECT_LT(Clock::now() - again, 3s);
}
