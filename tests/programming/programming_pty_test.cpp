// The programming run end to end on Linux: the real POSIX port table writing into
// a pseudo-terminal, driven through the headless dialog.

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_record.h"
#include "serial/port_table.h"
#include "serial/port_testing.h"
#include "ui/control_ids.h"
#include "ui/dialog_headless.h"
#include "ui/main_dialog.h"
#include "ui/prompts_recorder.h"

namespace {

const char* const kWarning =
    "please make sure that gps-receiver is disconnected from Tracker,\n"
    "otherwise to much power is consumed and/or serial interface will be disturbed.";

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
        devicePath = name;
        setPortDevicePathForTesting(0, devicePath.c_str());
        for (PortProbeResult& result : portProbeResults)
            result = NotFound;
        portProbeResults[0] = Available;
        clearRecordedPrompts();
        dialog = createHeadlessDialog();
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
        setPortDevicePathForTesting(0, nullptr);
        close(tracker);
        close(device);
    }

    std::string readArrived()
    {
        char buffer[4096];
        for (;;) {
            const ssize_t n = read(tracker, buffer, sizeof buffer);
            if (n <= 0)
                break;
            received.append(buffer, static_cast<std::size_t>(n));
        }
        return received;
    }

    // Makes the tracker's side stop taking bytes: the next write runs into its time-out.
    // The kernel moves bytes on to the reader's side in the background, freeing room
    // again, so fill until a whole round after a short rest finds no room at all.
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

    std::string expectedRecord(int n) { return buildConfigRecord(readConfig(dialog, n), n, secondConfigEnabled); }

    int tracker = -1;
    int device = -1; // our own handle on the device, opened before the program's
    std::string devicePath;
    std::string received;
    Dialog* dialog = nullptr;
    std::vector<PauseView> pauses;
    int fillBufferAtPause = -1;
    bool filled = false;
};

TEST_F(ProgrammingRun, BothRecordsGoOutAsTwoWritesWithThePausesBetween)
{
    setItemText(dialog, IdComment0, "Test");
    const std::string cfgString0 = expectedRecord(0);
    const std::string cfgString1 = expectedRecord(1);
    ASSERT_EQ(cfgString0.back(), ' ');

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
    EXPECT_EQ(pauses[2].arrived, cfgString0 + cfgString1);
    EXPECT_EQ(readArrived(), cfgString0 + cfgString1);
    EXPECT_EQ(getItemText(dialog, IdStatus, 255), "done.");
    EXPECT_EQ(getItemText(dialog, IdLog, 1023), cfgString0 + "\n" + cfgString1);
    // The port was closed again: a second run opens it anew.
    EXPECT_EQ(closePort(0), 0);
}

TEST_F(ProgrammingRun, WithConfiguration1OffOnlyTheFirstRecordIsSent)
{
    handleCommand(dialog, IdSecondConfig, NotifyClicked);
    const std::string cfgString0 = expectedRecord(0);
    ASSERT_EQ(cfgString0.substr(cfgString0.size() - 4), ",35 "); // no end marker 255

    handleCommand(dialog, IdProgram, NotifyClicked);

    ASSERT_EQ(pauses.size(), 2u);
    EXPECT_EQ(pauses[1].status, "wait for tracker to burn EEprom ...");
    EXPECT_EQ(readArrived(), cfgString0);
    EXPECT_EQ(getItemText(dialog, IdLog, 1023), cfgString0);
    EXPECT_EQ(getItemText(dialog, IdStatus, 255), "done.");
    EXPECT_EQ(recordedMessages().size(), 1u);
}

TEST_F(ProgrammingRun, AShortFirstWriteSkipsConfiguration1ButClosesAsUsual)
{
    const std::string cfgString0 = expectedRecord(0);
    fillBufferAtPause = 0;

    handleCommand(dialog, IdProgram, NotifyClicked);

    ASSERT_TRUE(filled);
    ASSERT_EQ(recordedMessages().size(), 2u);
    EXPECT_EQ(recordedMessages()[1].text, "sending data (config0) to tracker failed.");
    EXPECT_EQ(recordedMessages()[1].caption, "KorvelConfig");
    ASSERT_EQ(pauses.size(), 2u);
    EXPECT_EQ(pauses[1].status, "wait for tracker to burn EEprom ...");
    EXPECT_EQ(getItemText(dialog, IdLog, 1023), cfgString0);
    EXPECT_EQ(getItemText(dialog, IdStatus, 255), "done.");
    EXPECT_EQ(closePort(0), 0);
}

TEST_F(ProgrammingRun, AShortSecondWriteIsReportedAfterTheLogShowsBoth)
{
    const std::string cfgString0 = expectedRecord(0);
    const std::string cfgString1 = expectedRecord(1);
    fillBufferAtPause = 1;

    handleCommand(dialog, IdProgram, NotifyClicked);

    ASSERT_TRUE(filled);
    ASSERT_EQ(recordedMessages().size(), 2u);
    EXPECT_EQ(recordedMessages()[1].text, "sending data (config1) to tracker failed.");
    ASSERT_EQ(pauses.size(), 3u);
    EXPECT_EQ(getItemText(dialog, IdLog, 1023), cfgString0 + "\n" + cfgString1);
    EXPECT_EQ(getItemText(dialog, IdStatus, 255), "done.");
}

TEST_F(ProgrammingRun, APortHeldByTheRunIsNotOpenedTwice)
{
    // A second press from inside the run's first message would find the port busy;
    // it is not started at all.
    setMessageHook([this](const RecordedMessage& message) {
        if (message.text == kWarning && recordedMessages().size() == 1)
            handleCommand(dialog, IdProgram, NotifyClicked);
    });
    handleCommand(dialog, IdProgram, NotifyClicked);
    setMessageHook({});
    EXPECT_EQ(recordedMessages().size(), 1u);
    EXPECT_EQ(pauses.size(), 3u);
    EXPECT_EQ(getItemText(dialog, IdStatus, 255), "done.");
}

} // namespace
