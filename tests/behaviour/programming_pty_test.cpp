// The programming run end to end on POSIX: the real port backend writes into a
// pseudo-terminal that the dialog lists as ttyUSB0.

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "behaviour_fixture.h"

namespace {

// The records of the values the dialog starts with and comment 0 "Test".
const std::string kRecord0 = "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,84,101,115,116,0,10,35,255 ";
const std::string kRecord1 = "$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 ";
const std::string kBurning = "wait for tracker to burn EEprom ... | ";

const struct ProgrammingCase {
    const char* name;
    int fillAtPause; // from this pause on the tracker's side takes no more bytes; -2: another program holds it
    Texts pauses;    // at each pause the status, and the records that had arrived
    Texts failures;  // each with the status shown meanwhile
} kCases[] = {
    {"BothRecords", -1, {" | ", "writing cfgString1 ... | 0", kBurning + "01"}, {}},
    {"Record0Short", 0, {" | ", kBurning}, {"sending data (config0) to tracker failed. | writing cfgString0 ..."}},
    {"Record1Short", 1, {" | ", "writing cfgString1 ... | 0", kBurning + "0"},
     {"sending data (config1) to tracker failed. | writing cfgString1 ..."}},
    {"Busy", -2, {}, // root's open would pass the mark, but the backend heeds it
     {"cannot open selected COM-Port!\nttyUSB0 is busy: another program holds it. Close that program and try again. | "}},
};

class ProgrammingRun : public MainDialogTest, public ::testing::WithParamInterface<ProgrammingCase> {
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

    // Makes the tracker's side take no more bytes, so that the next write runs into its time-out.
    // The kernel frees room in the background: fill until a round after a rest finds none.
    void fillDeviceBuffer()
    {
        fcntl(device, F_SETFL, fcntl(device, F_GETFL) | O_NONBLOCK);
        const std::string block(4096, 'f');
        for (bool roomFound = true; roomFound; usleep(20000)) {
            roomFound = false;
            for (std::size_t size = block.size(); size > 0; size /= 2)
                while (write(device, block.data(), size) > 0)
                    roomFound = true;
        }
        filled = true;
    }

    int tracker = -1;
    int device = -1; // held open, so the program's close is no hang-up and nothing is lost
    bool filled = false;
};

TEST_P(ProgrammingRun, SendsTheRecordsWithPausesAndReportsAFailure)
{
    const ProgrammingCase& run = GetParam();
    setItemText(dialog, IdComment0, "Test");
    ASSERT_TRUE(run.fillAtPause != -2 || ioctl(device, TIOCEXCL) == 0);
    Texts pauses, failures;
    std::string received;
    setPauseHook([&](unsigned) {
        char buffer[4096];
        for (ssize_t n; !filled && (n = read(tracker, buffer, sizeof buffer)) > 0;)
            received.append(buffer, static_cast<std::size_t>(n));
        const std::string records = received == kRecord0 ? "0" : received == kRecord0 + kRecord1 ? "01" : received;
        pauses.push_back(text(IdStatus) + " | " + records);
        EXPECT_TRUE(shownAsItIs(dialog, IdStatus)) << "not painted before the pause: " << text(IdStatus);
        if (run.fillAtPause + 1 == static_cast<int>(pauses.size()))
            fillDeviceBuffer();
    });
    setMessageHook([&](const RecordedMessage& message) {
        EXPECT_EQ(message.caption, "KorvelConfig");
        if (message.text == kWarning)
            return;
        failures.push_back(message.text + " | " + text(IdStatus));
    });

    userClick(dialog, IdProgram);

    EXPECT_EQ(pauses, run.pauses);
    EXPECT_EQ(recordedPauses(), std::vector<unsigned>(run.pauses.size(), 500));
    EXPECT_EQ(failures, run.failures);
    EXPECT_EQ(recordedMessages().front().text, kWarning);
    EXPECT_EQ(text(IdStatus), run.pauses.empty() ? "" : "done.");
    EXPECT_EQ(text(IdLog), run.pauses.empty() ? "" : run.fillAtPause == 0 ? kRecord0 : kRecord0 + "\n" + kRecord1);
    int mark = 1; // closed again: the port's exclusive mark went with it
    EXPECT_TRUE(ioctl(device, TIOCGEXCL, &mark) == 0 && mark == (run.fillAtPause == -2)) << mark;
}

void PrintTo(const ProgrammingCase& run, std::ostream* out) { *out << run.name; }
INSTANTIATE_TEST_SUITE_P(Behaviour, ProgrammingRun, ::testing::ValuesIn(kCases));

} // namespace
