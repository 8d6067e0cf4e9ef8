// The programming run end to end on POSIX: the real port backend writes into a
// pseudo-terminal that the dialog lists as ttyUSB0.

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "behaviour_fixture.h"

namespace {

// The records of the values the dialog starts with and comment 0 "Test".
const std::string kRecord0 = "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,84,101,115,116,0,10,35,255 ";
const std::string kRecord1 = "$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 ";

class ProgrammingRun : public MainDialogTest {
protected:
    void setUpPorts() override
    {
        char name[128] = {};
        ASSERT_EQ(openpty(&tracker, &device, name, nullptr, nullptr), 0);
        fcntl(tracker, F_SETFL, fcntl(tracker, F_GETFL) | O_NONBLOCK);
        ports = {{"ttyUSB0", name, "", "", true, {}}};
    }
    void TearDown() override
    {
        MainDialogTest::TearDown();
        close(tracker);
        close(device);
    }

    int tracker = -1; // closed when the test unplugs the tracker
    int device = -1;  // held open, so the program's close is no hang-up and nothing is lost
};

// The line is 8N1 at the dialog's 4800 Bd; the status is painted before each pause.
// A tracker unplugged at the pause before record 1 fails that record.
TEST_F(ProgrammingRun, SendsTheRecordsWithPausesAndReportsAFailure)
{
    const std::string burning = "wait for tracker to burn EEprom ... | ";
    const struct {
        bool unplugged;
        Texts pauses;   // at each pause the status, and the records that had arrived
        Texts failures; // each with the status shown meanwhile
    } cases[] = {
        {false, {" | ", "writing cfgString1 ... | 0", burning + "01"}, {}},
        {true, {" | ", "writing cfgString1 ... | 0", burning + "0"},
         {"sending data (config1) to tracker failed. | writing cfgString1 ..."}},
    };
    for (const auto& c : cases) {
        reopen();
        setItemText(dialog, IdComment0, "Test");
        Texts pauses, failures;
        std::string received;
        setPauseHook([&](unsigned) {
            char buffer[4096];
            for (ssize_t n; tracker >= 0 && (n = read(tracker, buffer, sizeof buffer)) > 0;)
                received.append(buffer, static_cast<std::size_t>(n));
            const std::string records = received == kRecord0 ? "0" : received == kRecord0 + kRecord1 ? "01" : received;
            pauses.push_back(text(IdStatus) + " | " + records);
            EXPECT_TRUE(shownAsItIs(dialog, IdStatus)) << "not painted before the pause: " << text(IdStatus);
            termios line{};
            EXPECT_TRUE(pauses.size() > 1 || (tcgetattr(device, &line) == 0 && cfgetospeed(&line) == B4800 &&
                                              (line.c_cflag & (CSIZE | PARENB | CSTOPB)) == CS8));
            if (c.unplugged && pauses.size() == 2)
                tracker = (close(tracker), -1);
        });
        setMessageHook([&](const RecordedMessage& message) {
            EXPECT_EQ(message.caption, "KorvelConfig");
            if (message.text != kWarning)
                failures.push_back(message.text + " | " + text(IdStatus));
        });
        userClick(dialog, IdProgram);
        EXPECT_EQ(pauses, c.pauses);
        EXPECT_EQ(recordedPauses(), std::vector<unsigned>(c.pauses.size(), 500));
        EXPECT_EQ(failures, c.failures);
        EXPECT_EQ(recordedMessages().front().text, kWarning);
        EXPECT_EQ(texts({IdStatus, IdLog}), (Texts{"done.", kRecord0 + "\n" + kRecord1}));
        int mark = 1; // closed again: the port's exclusive mark went with it
        EXPECT_TRUE(c.unplugged || (ioctl(device, TIOCGEXCL, &mark) == 0 && mark == 0)) << mark;
    }
}

} // namespace
