// The programming run end to end on Linux: the real POSIX port table writing into
// a pseudo-terminal, driven through the headless dialog.

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "port_list.h"
#include "control_ids.h"
#include "dialog_headless.h"
#include "main_dialog.h"
#include "prompts_recorder.h"

namespace {

const char* const kWarning =
    "please make sure that gps-receiver is disconnected from Tracker,\n"
    "otherwise to much power is consumed and/or serial interface will be disturbed.";
// The records of the values that the dialog starts with.
const std::string kRecord0 = "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35,255 ";
const std::string kRecord1 = "$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 ";

// What the test sees at each pause of the run.
struct PauseView {
    unsigned milliseconds;
    std::string status;
    std::string arrived; // bytes read from the tracker's side so far
};

class ProgrammingRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[128] = {};
        ASSERT_EQ(openpty(&tracker, &device, name, nullptr, nullptr), 0);
        fcntl(tracker, F_SETFL, fcntl(tracker, F_GETFL) | O_NONBLOCK);
        path = name;
        const PortEntry port{"ttyUSB0", path, "", "", true, {}};
        clearRecordedPrompts();
        dialog = createHeadlessDialog([port] { return std::vector<PortEntry>{port}; });
        setPauseHook([this](unsigned ms) {
            // Once the buffer is full nothing more is read, or it would drain again.
            const PauseView view{ms, getItemText(dialog, IdStatus, 255), filled ? received : readArrived()};
            if (fillBufferAtPause == static_cast<int>(pauses.size()))
                fillDeviceBuffer();
            pauses.push_back(view);
        });
    }

    void TearDown() override
    {
        setPauseHook({});
        destroyHeadlessDialog(dialog);
        close(tracker);
        close(device);
    }

    std::string readArrived()
    {
        char buffer[4096];
        for (ssize_t n; (n = read(tracker, buffer, sizeof buffer)) > 0;)
            received.append(buffer, static_cast<std::size_t>(n));
        return received;
    }

    // Makes the tracker's side stop taking bytes, so that the next write runs into its
    // time-out. The kernel frees room in the background: fill until a round after a rest finds none.
    void fillDeviceBuffer()
    {
        fcntl(device, F_SETFL, fcntl(device, F_GETFL) | O_NONBLOCK);
        const std::string block(4096, 'f');
        for (bool roomFound = true; roomFound;) {
            roomFound = false;
            for (std::size_t size = block.size(); size > 0; size /= 2)
                while (write(device, block.data(), size) > 0)
                    roomFound = true;
            usleep(20000);
        }
        filled = true;
    }

    int tracker = -1;
    int device = -1; // our own handle on the device, opened before the program's
    std::string path;
    std::string received;
    Dialog* dialog = nullptr;
    std::vector<PauseView> pauses;
    int fillBufferAtPause = -1;
    bool filled = false;
};

TEST_F(ProgrammingRun, BothRecordsGoOutAsTwoWritesWithThePausesBetween)
{
    setItemText(dialog, IdComment0, "Test");
    const std::string cfgString0 =
        "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,84,101,115,116,0,10,35,255 ";

    handleCommand(dialog, IdProgram, NotifyClicked);

    ASSERT_EQ(recordedMessages().size(), 1u);
    EXPECT_EQ(recordedMessages()[0].text, kWarning);
    ASSERT_EQ(pauses.size(), 3u);
    for (const PauseView& pause : pauses)
        EXPECT_EQ(pause.milliseconds, 500u);
    // Port open, nothing sent yet; then exactly the first record; then both.
    EXPECT_EQ(pauses[0].status, "");
    EXPECT_EQ(pauses[0].arrived, "");
    EXPECT_EQ(pauses[1].status, "writing cfgString1 ...");
    EXPECT_EQ(pauses[1].arrived, cfgString0);
    EXPECT_EQ(pauses[2].status, "wait for tracker to burn EEprom ...");
    EXPECT_EQ(pauses[2].arrived, cfgString0 + kRecord1);
    EXPECT_EQ(readArrived(), cfgString0 + kRecord1);
    EXPECT_EQ(getItemText(dialog, IdStatus, 255), "done.");
    EXPECT_EQ(getItemText(dialog, IdLog, 1023), cfgString0 + "\n" + kRecord1);
    // The port was closed again: a second run opens it anew.
    EXPECT_EQ(closePort(path), 0);
}

TEST_F(ProgrammingRun, WithConfiguration1OffOnlyTheFirstRecordIsSent)
{
    handleCommand(dialog, IdSecondConfig, NotifyClicked);
    const std::string cfgString0 = kRecord0.substr(0, kRecord0.size() - 5) + " "; // no end marker 255

    handleCommand(dialog, IdProgram, NotifyClicked);

    ASSERT_EQ(pauses.size(), 2u);
    EXPECT_EQ(pauses[1].status, "wait for tracker to burn EEprom ...");
    EXPECT_EQ(readArrived(), cfgString0);
    EXPECT_EQ(getItemText(dialog, IdLog, 1023), cfgString0);
    EXPECT_EQ(getItemText(dialog, IdStatus, 255), "done.");
    EXPECT_EQ(recordedMessages().size(), 1u);
}

TEST_F(ProgrammingRun, APortThatAnotherProgramHoldsIsBusyAndTheMessageSaysSo)
{
    ASSERT_EQ(ioctl(device, TIOCEXCL), 0); // which an open by root would pass
    handleCommand(dialog, IdProgram, NotifyClicked);
    EXPECT_EQ(recordedMessages().back().text, "cannot open selected COM-Port!\nttyUSB0 is busy: another program "
                                              "holds it. Close that program and try again.");
    EXPECT_TRUE(pauses.empty());
}

// The parameter is the pause from which on the tracker's side takes no more bytes:
// from the first, configuration 1 is never written; from the second, its write fails.
class ShortWriteRun : public ProgrammingRun, public ::testing::WithParamInterface<int> {};

TEST_P(ShortWriteRun, IsReportedAndTheRunEndsAsUsual)
{
    const bool firstFails = GetParam() == 0;
    fillBufferAtPause = GetParam();

    handleCommand(dialog, IdProgram, NotifyClicked);

    ASSERT_TRUE(filled);
    ASSERT_EQ(recordedMessages().size(), 2u);
    EXPECT_EQ(recordedMessages()[1].text, firstFails ? "sending data (config0) to tracker failed."
                                                     : "sending data (config1) to tracker failed.");
    EXPECT_EQ(recordedMessages()[1].caption, "KorvelConfig");
    EXPECT_EQ(pauses.size(), firstFails ? 2u : 3u);
    EXPECT_EQ(pauses.back().status, "wait for tracker to burn EEprom ...");
    EXPECT_EQ(getItemText(dialog, IdLog, 1023), firstFails ? kRecord0 : kRecord0 + "\n" + kRecord1);
    EXPECT_EQ(getItemText(dialog, IdStatus, 255), "done.");
    EXPECT_EQ(closePort(path), 0);
}

INSTANTIATE_TEST_SUITE_P(ProgrammingRun, ShortWriteRun, ::testing::Values(0, 1));

} // namespace
