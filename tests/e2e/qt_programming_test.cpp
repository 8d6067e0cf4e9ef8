// The Linux program's share of the end-to-end checks: the real Qt dialog, offscreen,
// programs a pseudo-terminal found by the port discovery, and the tracker's side gets the
// same two records, byte for byte, as the Windows program sends under Wine
// (windows_e2e.py).

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host_driver.h"
#include "port_list.h"
#include "control_ids.h"
#include "prompts_recorder.h"

namespace {

const std::string kCfgString0 = "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35,255 ";
const std::string kCfgString1 = "$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 ";

std::string readAll(int fd)
{
    std::string received;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        received.append(buffer, static_cast<std::size_t>(n));
    return received;
}

TEST(QtProgramming, TheButtonSendsTheDefaultRecordsToTheFoundPort)
{
    int tracker = -1;
    int device = -1; // held open, so the program's close is no hang-up and nothing is lost
    char name[128] = {};
    ASSERT_EQ(openpty(&tracker, &device, name, nullptr, nullptr), 0);
    fcntl(tracker, F_SETFL, fcntl(tracker, F_GETFL) | O_NONBLOCK);

    // The program finds the pseudo-terminal as ttyUSB0 in a tree of the test's own, and nothing else.
    char root[] = "/tmp/korvel-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(root), nullptr);
    const std::string dev = std::string(root) + "/dev";
    ASSERT_EQ(mkdir(dev.c_str(), 0755), 0);
    ASSERT_EQ(symlink(name, (dev + "/ttyUSB0").c_str()), 0);
    Dialog* dialog = openMainDialogForTest([root] { return discoverPorts({root}); });

    std::vector<std::string> arrivedAtPause;
    setPauseHook([&](unsigned) { arrivedAtPause.push_back(readAll(tracker)); });
    userClick(dialog, IdProgram);
    setPauseHook({});
    arrivedAtPause.push_back(readAll(tracker));

    ASSERT_EQ(recordedMessages().size(), 1u); // the warning, and no failure after it
    EXPECT_EQ(recordedMessages()[0].caption, "KorvelConfig");
    EXPECT_EQ(recordedPauses(), (std::vector<unsigned>{500, 500, 500}));
    // Nothing before the first pause, one record before each of the others.
    EXPECT_EQ(arrivedAtPause, (std::vector<std::string>{"", kCfgString0, kCfgString1, ""}));
    EXPECT_EQ(getItemText(dialog, IdStatus, 255), "done.");

    closeMainDialogForTest(dialog);
    unlink((dev + "/ttyUSB0").c_str());
    rmdir(dev.c_str());
    rmdir(root);
    close(tracker);
    close(device);
}

} // namespace
