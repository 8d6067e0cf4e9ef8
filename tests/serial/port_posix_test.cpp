// The POSIX backend against pseudo-terminal pairs: the slots are pointed at the
// slave ends, the tests read the master ends.
#include "port_table.h"
#include "port_testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
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
    void SetUp() override
    {
        // Keep every slot off this machine's real ports.
        for (unsigned slot = 0; slot < kUsablePortSlots; ++slot)
            setPortDevicePathForTesting(slot, kAbsent);
    }

    void TearDown() override
    {
        for (unsigned slot = 0; slot < kUsablePortSlots; ++slot) {
            closePort(slot);
            setPortDevicePathForTesting(slot, nullptr);
        }
        for (const Pty& pty : ptys_) {
            close(pty.master);
            close(pty.slave);
        }
    }

    // A new pair whose slave end is the slot's device.
    Pty& ptyAt(unsigned slot)
    {
        Pty pty;
        char name[128] = {};
        EXPECT_EQ(openpty(&pty.master, &pty.slave, name, nullptr, nullptr), 0);
        fcntl(pty.master, F_SETFL, O_NONBLOCK);
        pty.path = name;
        setPortDevicePathForTesting(slot, name);
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
    const Pty& free = ptyAt(1);
    const Pty& held = ptyAt(2);
    setPortDevicePathForTesting(3, "/");         // a directory
    setPortDevicePathForTesting(4, "/dev/null"); // no terminal
    const Pty& ours = ptyAt(5);
    ASSERT_EQ(openPort(5, 4800, 0, 1, 8), 1);
    setPortDevicePathForTesting(5, kAbsent); // reopening would now find nothing
    ASSERT_EQ(flock(held.slave, LOCK_EX | LOCK_NB), 0); // as another program would

    PortProbeResult results[12];
    std::fill(std::begin(results), std::end(results), Inaccessible);
    EXPECT_EQ(probePorts(results, 0), 0);
    EXPECT_EQ(probePorts(results, 12), 5);
    const PortProbeResult expected[12] = {NotFound, Available, Inaccessible, Inaccessible, Inaccessible, Available,
                                          NotFound, NotFound,  NotFound,     NotFound,     NotFound,     NotFound};
    for (unsigned slot = 0; slot < 12; ++slot)
        EXPECT_EQ(results[slot], expected[slot]) << "slot " << slot;
    PortError error;
    EXPECT_EQ(openPort(2, 4800, 0, 1, 8, &error), 0);
    EXPECT_EQ(error.kind, PortBusy);

    // The probe let go of what it opened; the open slot was left as it was.
    expectReleased(free);
    EXPECT_EQ(exclusiveMark(ours), 1);
    EXPECT_EQ(writePort(5, "x", 1), 1u);
    EXPECT_EQ(readFrom(ours, 1), "x");
}

TEST_F(PosixPort, OpenSetsARawLineHoldsThePortAndWritesExactlyTheBytes)
{
    const Pty& pty = ptyAt(2);
    termios line{}; // cooked, with flow control and 2 stop bits: none of it may stay
    ASSERT_EQ(tcgetattr(pty.slave, &line), 0);
    line.c_cflag |= CRTSCTS | CSTOPB;
    line.c_iflag |= IXON | IXOFF;
    ASSERT_EQ(tcsetattr(pty.slave, TCSANOW, &line), 0);

    ASSERT_EQ(openPort(2, 115200, 0, 1, 8), 1);
    EXPECT_EQ(openPort(2, 9600, 0, 3, 8), 0); // and the line stays as it is
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
    EXPECT_EQ(writePort(2, payload.data(), static_cast<std::uint32_t>(payload.size())), payload.size());
    EXPECT_EQ(writePort(2, "tail", 4), 4u);
    EXPECT_EQ(readFrom(pty, payload.size() + 4), payload + "tail");

    EXPECT_EQ(closePort(2), 1);
    EXPECT_EQ(closePort(2), 0);
    EXPECT_EQ(writePort(2, "x", 1), 0u);
    expectReleased(pty);

    for (unsigned slot : {9u, 10u, UINT_MAX}) {
        EXPECT_EQ(openPort(slot, 4800, 0, 1, 8), 0) << slot;
        EXPECT_EQ(writePort(slot, "x", 1), 0u) << slot;
        EXPECT_EQ(closePort(slot), 0) << slot;
    }
}

TEST_F(PosixPort, ARefusedLineLeavesThePortFree)
{
    const Pty& pty = ptyAt(3);
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
        EXPECT_EQ(openPort(3, l.baud, l.parityIndex, l.stopBitsIndex, 8, &error), 0);
        EXPECT_EQ(error.kind, l.kind);
        EXPECT_EQ(error.systemCode, l.code);
        EXPECT_EQ(writePort(3, "x", 1), 0u);
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
    Pty& pty = ptyAt(0);
    ASSERT_EQ(openPort(0, 115200, 0, 1, 8), 1);

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
    EXPECT_LT(writePort(0, data.data(), 500), 500u);
    const long long took = millisecondsSince(start);
    EXPECT_GE(took, 502 - 5); // 1 ms a byte and 2 ms more at 115200 Bd
    EXPECT_LT(took, 502 + 3000);
}

TEST_F(PosixPort, AHangUpDuringAWriteReturnsTheCountSoFar)
{
    Pty& pty = ptyAt(0);
    ASSERT_EQ(openPort(0, 115200, 0, 1, 8), 1);

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
    const std::uint32_t written = writePort(0, data.data(), static_cast<std::uint32_t>(data.size()));
    const long long took = millisecondsSince(start);
    reader.join();
    EXPECT_GE(written, taken);
    EXPECT_LT(written, data.size());
    EXPECT_LT(took, 20000);

    // After the hang-up a write fails at once.
    const auto again = Clock::now();
    EXPECT_EQ(writePort(0, data.data(), static_cast<std::uint32_t>(data.size())), 0u);
    EXPECT_LT(millisecondsSince(again), 3000);
    EXPECT_EQ(closePort(0), 1);
}
