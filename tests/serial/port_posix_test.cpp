// The POSIX backend against pseudo-terminal pairs: the slots are pointed at the
// slave ends, the tests read the master ends.
#include "serial/port_table.h"
#include "serial/port_testing.h"
#include "ui/prompts_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <deque>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

long long millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

struct Pty {
    int master = -1;
    int slave = -1; // kept open so that the pair lives while the port is closed
    std::string path;
};

// 1 when another process can take the lock on path right now.
int otherProcessCanLock(const std::string& path)
{
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        _exit(fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
}

// Another program that holds the port: a child with the lock on it.
class LockHolder {
public:
    explicit LockHolder(const std::string& path)
    {
        int ready[2], release[2];
        if (pipe(ready) != 0 || pipe(release) != 0)
            return;
        child_ = fork();
        if (child_ == 0) {
            close(ready[0]);
            close(release[1]); // else the child would wait for itself
            const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            const char locked = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
            (void)!write(ready[1], &locked, 1);
            char done;
            (void)!read(release[0], &done, 1);
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        char answer = 0;
        locked_ = read(ready[0], &answer, 1) == 1 && answer;
        close(ready[0]);
        release_ = release[1];
    }
    ~LockHolder()
    {
        close(release_); // the child's read returns and it exits
        waitpid(child_, nullptr, 0);
    }
    bool locked() const { return locked_; }

private:
    pid_t child_ = -1;
    int release_ = -1;
    bool locked_ = false;
};

class PosixPort : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/korvel-serial-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        // Keep every slot off this machine's real ports.
        for (unsigned slot = 0; slot < kUsablePortSlots; ++slot)
            pointSlotAt(slot, absentPath(slot));
        clearRecordedPrompts();
    }

    void TearDown() override
    {
        for (unsigned slot = 0; slot < kUsablePortSlots; ++slot) {
            closePort(slot);
            setPortDevicePathForTesting(slot, nullptr);
        }
        for (Pty& pty : ptys_) {
            if (pty.master >= 0)
                close(pty.master);
            close(pty.slave);
        }
        for (const std::string& file : files_)
            remove(file.c_str());
        rmdir(dir_.c_str());
    }

    void pointSlotAt(unsigned slot, const std::string& path) { setPortDevicePathForTesting(slot, path.c_str()); }

    std::string absentPath(unsigned slot) const { return dir_ + "/absent" + std::to_string(slot); }

    std::string makeFile(const char* name, bool directory)
    {
        const std::string path = dir_ + "/" + name;
        if (directory)
            mkdir(path.c_str(), 0700);
        else
            close(open(path.c_str(), O_CREAT | O_WRONLY, 0600));
        files_.push_back(path);
        return path;
    }

    Pty& makePty()
    {
        Pty pty;
        char name[128] = {};
        EXPECT_EQ(openpty(&pty.master, &pty.slave, name, nullptr, nullptr), 0);
        fcntl(pty.master, F_SETFL, fcntl(pty.master, F_GETFL) | O_NONBLOCK);
        pty.path = name;
        ptys_.push_back(pty);
        return ptys_.back();
    }

    void hangUp(Pty& pty)
    {
        close(pty.master);
        pty.master = -1;
    }

    // Reads until want bytes came or 5 s passed, then whatever follows within 50 ms.
    static std::string readFrom(const Pty& pty, std::size_t want)
    {
        std::string got;
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        bool settling = false;
        for (;;) {
            char buffer[4096];
            const ssize_t n = read(pty.master, buffer, sizeof buffer);
            if (n > 0) {
                got.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (got.size() >= want && !settling) {
                settling = true;
                pollfd ready{pty.master, POLLIN, 0};
                poll(&ready, 1, 50);
                continue;
            }
            if (settling || Clock::now() > deadline)
                return got;
            pollfd ready{pty.master, POLLIN, 0};
            poll(&ready, 1, 20);
        }
    }

    static termios settingsOf(const Pty& pty)
    {
        termios settings{};
        EXPECT_EQ(tcgetattr(pty.slave, &settings), 0);
        return settings;
    }

    static int exclusiveMark(const Pty& pty)
    {
        int mark = -1;
        ioctl(pty.slave, TIOCGEXCL, &mark);
        return mark;
    }

    // The port is free again: nobody holds it, exclusively or by lock.
    static void expectReleased(const Pty& pty)
    {
        EXPECT_EQ(exclusiveMark(pty), 0);
        EXPECT_EQ(otherProcessCanLock(pty.path), 1);
    }

    std::string dir_;
    std::deque<Pty> ptys_; // references stay valid as pairs are added
    std::vector<std::string> files_;
};

std::string recordLikePayload()
{
    std::string payload = "$#Pe0 156,160,134,168,152,";
    for (int byte = 0; byte < 256; ++byte) // raw line: every value passes unchanged
        payload += static_cast<char>(byte);
    payload += "\r\n\x11\x13\x03 end";
    return payload;
}

} // namespace

TEST_F(PosixPort, ProbeTellsMissingBusyAndAvailableDevicesApart)
{
    const Pty& free = makePty();
    const Pty& held = makePty();
    const Pty& ours = makePty();
    pointSlotAt(1, free.path);
    pointSlotAt(2, held.path);
    pointSlotAt(3, makeFile("directory", true));
    pointSlotAt(4, makeFile("plain-file", false)); // exists, but is no terminal
    pointSlotAt(5, ours.path);
    ASSERT_EQ(openPort(5, 4800, 0, 1, 8), 1);
    pointSlotAt(5, absentPath(5)); // reopening would now find nothing

    LockHolder otherProgram(held.path);
    ASSERT_TRUE(otherProgram.locked());

    PortProbeResult results[kPortSlotCount];
    std::fill(std::begin(results), std::end(results), Inaccessible);
    const int counted = probePorts(results, static_cast<int>(kPortSlotCount));

    const PortProbeResult expected[kPortSlotCount] = {
        NotFound, Available, Inaccessible, Inaccessible, Inaccessible,
        Available, NotFound, NotFound, NotFound, NotFound,
    };
    for (unsigned slot = 0; slot < kPortSlotCount; ++slot)
        EXPECT_EQ(results[slot], expected[slot]) << "slot " << slot;
    EXPECT_EQ(counted, 5);
    EXPECT_EQ(openPort(2, 4800, 0, 1, 8), 0); // held by the other program
    EXPECT_TRUE(recordedMessages().empty());

    // The probe let go of what it opened; the open slot was left as it was.
    expectReleased(free);
    EXPECT_EQ(exclusiveMark(ours), 1);
    EXPECT_EQ(writePort(5, "x", 1), 1u);
    EXPECT_EQ(readFrom(ours, 1), "x");
}

TEST_F(PosixPort, ProbeCountBounds)
{
    PortProbeResult results[12];
    std::fill(std::begin(results), std::end(results), Inaccessible);
    EXPECT_EQ(probePorts(results, 0), 0);
    EXPECT_EQ(probePorts(results, -3), 0);
    EXPECT_EQ(results[0], Inaccessible); // untouched

    const Pty& pty = makePty();
    pointSlotAt(8, pty.path);
    EXPECT_EQ(probePorts(results, 12), 1);
    EXPECT_EQ(results[8], Available);
    for (int i : {9, 10, 11})
        EXPECT_EQ(results[i], NotFound) << i; // beyond COM9 there is nothing to probe
}

TEST_F(PosixPort, OpenWriteCloseDeliversExactlyTheBytes)
{
    const Pty& pty = makePty();
    pointSlotAt(2, pty.path);
    const std::string payload = recordLikePayload();

    ASSERT_EQ(openPort(2, 115200, 0, 1, 8), 1);
    EXPECT_EQ(writePort(2, payload.data(), static_cast<std::uint32_t>(payload.size())), payload.size());
    EXPECT_EQ(writePort(2, "tail", 4), 4u);
    EXPECT_EQ(readFrom(pty, payload.size() + 4), payload + "tail");

    EXPECT_EQ(closePort(2), 1);
    EXPECT_EQ(closePort(2), 0);
    EXPECT_EQ(writePort(2, "x", 1), 0u);
    expectReleased(pty);
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(PosixPort, OpenSetsARawLineWithoutFlowControlAndHoldsItExclusively)
{
    const Pty& pty = makePty();
    pointSlotAt(0, pty.path);
    ASSERT_EQ(openPort(0, 4800, 0, 1, 8), 1);

    const termios line = settingsOf(pty);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B4800));
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);

    EXPECT_EQ(exclusiveMark(pty), 1);
    EXPECT_EQ(otherProcessCanLock(pty.path), 0);
    EXPECT_EQ(closePort(0), 1);
    expectReleased(pty);
}

TEST_F(PosixPort, SecondOpenFailsAndLeavesThePortAsItWas)
{
    const Pty& pty = makePty();
    pointSlotAt(6, pty.path);
    ASSERT_EQ(openPort(6, 4800, 0, 1, 8), 1);
    EXPECT_EQ(openPort(6, 9600, 1, 3, 7), 0);

    const termios line = settingsOf(pty);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B4800));
    EXPECT_EQ(line.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(exclusiveMark(pty), 1);
    EXPECT_EQ(writePort(6, "still open", 10), 10u);
    EXPECT_EQ(readFrom(pty, 10), "still open");
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(PosixPort, SlotNineAndOutOfRangeSlotsHoldNoPort)
{
    for (unsigned slot : {9u, 10u, 11u, 1000u, UINT_MAX}) {
        EXPECT_EQ(openPort(slot, 4800, 0, 1, 8), 0) << slot;
        EXPECT_EQ(writePort(slot, "x", 1), 0u) << slot;
        EXPECT_EQ(closePort(slot), 0) << slot;
    }
    EXPECT_EQ(openPort(static_cast<unsigned>(-1), 4800, 0, 1, 8), 0);
    // A closed slot in range: nothing to write to or close.
    EXPECT_EQ(writePort(0, "x", 1), 0u);
    EXPECT_EQ(closePort(0), 0);
}

TEST_F(PosixPort, RequestsOutsideTheTablesAreRefusedBeforeTheDeviceIsOpened)
{
    // Were the device opened, the watch would see it.
    const std::string device = makeFile("watched", false);
    pointSlotAt(0, device);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, device.c_str(), IN_OPEN), 0);

    const struct {
        int baud, parityIndex, stopBitsIndex;
    } requests[] = {{0, 0, 1}, {-4800, 0, 1}, {4800, 4, 1}, {4800, -1, 1}, {4800, 0, 4}, {4800, 0, -1}};
    for (const auto& r : requests)
        EXPECT_EQ(openPort(0, r.baud, r.parityIndex, r.stopBitsIndex, 8), 0)
            << r.baud << " " << r.parityIndex << " " << r.stopBitsIndex;

    char events[4096];
    EXPECT_LT(read(watch, events, sizeof events), 0) << "the device was opened";
    close(watch);
    EXPECT_TRUE(recordedMessages().empty());
}

TEST_F(PosixPort, ALineTheDeviceCannotTakeIsReportedAndTheDeviceReleased)
{
    const Pty& pty = makePty();
    pointSlotAt(3, pty.path);
    const struct {
        int baud, stopBitsIndex;
    } lines[] = {
        {4800, 0},  // stop-bits index 0 names no setting
        {4800, 2},  // 1.5 stop bits: termios has none
        {12345, 1}, // no such rate
    };
    for (const auto& l : lines) {
        clearRecordedPrompts();
        EXPECT_EQ(openPort(3, l.baud, 0, l.stopBitsIndex, 8), 0);
        ASSERT_EQ(recordedMessages().size(), 1u);
        EXPECT_EQ(recordedMessages()[0].text, "cannot set COMstate (22)"); // EINVAL
        EXPECT_EQ(recordedMessages()[0].caption, "KorvelConfig: Error");
        EXPECT_EQ(writePort(3, "x", 1), 0u);
        EXPECT_EQ(closePort(3), 0);
        expectReleased(pty);
    }
    EXPECT_EQ(openPort(3, 4800, 0, 1, 8), 1);
}

TEST(PosixLine, TermiosForEachLine)
{
    const struct {
        int baud, parityIndex, stopBitsIndex, dataBits;
        int mapped;
        speed_t speed;
        tcflag_t controlBits; // of CSIZE, PARENB, PARODD, CMSPAR, CSTOPB
    } cases[] = {
        {4800, 0, 1, 8, 1, B4800, CS8},
        {1200, 0, 1, 8, 1, B1200, CS8},
        {2400, 0, 1, 8, 1, B2400, CS8},
        {9600, 0, 1, 8, 1, B9600, CS8},
        {19200, 0, 1, 8, 1, B19200, CS8},
        {38400, 0, 1, 8, 1, B38400, CS8},
        {57600, 0, 1, 8, 1, B57600, CS8},
        {115200, 0, 1, 8, 1, B115200, CS8},
        {4800, 1, 1, 7, 1, B4800, CS7 | PARENB},
        {4800, 2, 1, 8, 1, B4800, CS8 | PARENB | PARODD},
        {4800, 3, 1, 8, 1, B4800, CS8 | PARENB | CMSPAR},
        {4800, 0, 3, 0, 1, B4800, CS7 | CSTOPB},
        {4800, 0, 2, 8, 0, B0, 0},
        {4800, 0, 0, 8, 0, B0, 0},
        {300, 0, 1, 8, 0, B0, 0},
        {100000, 0, 1, 8, 0, B0, 0},
    };
    const tcflag_t watched = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.baud << " Bd, parity " << c.parityIndex << ", stop bits "
                                        << c.stopBitsIndex << ", data bits " << c.dataBits);
        termios settings;
        std::memset(&settings, 0xff, sizeof settings); // whatever the device had
        const LineSettings line = lineSettingsFor(c.baud, c.parityIndex, c.stopBitsIndex, c.dataBits);
        ASSERT_EQ(termiosForLine(line, settings), c.mapped);
        if (!c.mapped)
            continue;
        EXPECT_EQ(cfgetospeed(&settings), c.speed);
        EXPECT_EQ(cfgetispeed(&settings), c.speed);
        EXPECT_EQ(settings.c_cflag & watched, c.controlBits);
        EXPECT_EQ(settings.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
        EXPECT_EQ(settings.c_cflag & CRTSCTS, 0u);
        EXPECT_EQ(settings.c_iflag, 0u);
        EXPECT_EQ(settings.c_oflag, 0u);
        EXPECT_EQ(settings.c_lflag, 0u);
    }
}

TEST_F(PosixPort, AWriteNobodyReadsEndsShortWithinItsTimeout)
{
    Pty& pty = makePty();
    pointSlotAt(0, pty.path);
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
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

    const std::string data(500, 'd');
    const WriteTimeouts timeouts = writeTimeoutsFor(115200);
    const long long timeout = timeouts.multiplier * 500 + timeouts.constant; // 502 ms
    const auto start = Clock::now();
    const std::uint32_t written = writePort(0, data.data(), 500);
    const long long took = millisecondsSince(start);

    EXPECT_LT(written, 500u);
    EXPECT_GE(took, timeout - 5);
    EXPECT_LT(took, timeout + 3000);
    EXPECT_EQ(closePort(0), 1);
}

TEST_F(PosixPort, AWriteAfterHangUpReturnsAtOnce)
{
    Pty& pty = makePty();
    pointSlotAt(0, pty.path);
    ASSERT_EQ(openPort(0, 1200, 0, 1, 8), 1);
    hangUp(pty);

    const auto start = Clock::now();
    EXPECT_EQ(writePort(0, "lost", 4), 0u);
    EXPECT_LT(millisecondsSince(start), 3000);
    EXPECT_EQ(closePort(0), 1);
}

TEST_F(PosixPort, AHangUpDuringAWriteReturnsTheCountSoFar)
{
    Pty& pty = makePty();
    pointSlotAt(0, pty.path);
    ASSERT_EQ(openPort(0, 115200, 0, 1, 8), 1);

    // The reader takes a little and then goes away, as an unplugged adapter does.
    const std::size_t taken = 4096;
    std::thread reader([this, &pty, taken] {
        std::size_t got = 0;
        char buffer[512];
        const auto giveUp = Clock::now() + std::chrono::seconds(10);
        while (got < taken && Clock::now() < giveUp) {
            pollfd ready{pty.master, POLLIN, 0};
            poll(&ready, 1, 100);
            const ssize_t n = read(pty.master, buffer, std::min(sizeof buffer, taken - got));
            if (n > 0)
                got += static_cast<std::size_t>(n);
        }
        hangUp(pty);
    });

    const std::string data(64 * 1024, 'w'); // allowed to take 65 s
    const auto start = Clock::now();
    const std::uint32_t written = writePort(0, data.data(), static_cast<std::uint32_t>(data.size()));
    const long long took = millisecondsSince(start);
    reader.join();

    EXPECT_GE(written, taken);
    EXPECT_LT(written, data.size());
    EXPECT_LT(took, 20000);
    EXPECT_EQ(closePort(0), 1);
}
