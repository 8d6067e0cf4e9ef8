// The single-instance guard across real starts of the program's start-up (message
// boxes printed instead of shown), in a runtime directory of the test's own.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "instance_lock.h"

namespace {

std::string line(FILE* out) // empty once the output is closed
{
    char buffer[256] = "";
    const std::string text = std::fgets(buffer, sizeof buffer, out) ? buffer : "";
    return text.substr(0, text.find('\n'));
}

class InstanceLock : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_RUNTIME_DIR", mkdtemp(dir), 1); }
    void TearDown() override
    {
        if (stayer > 0)
            kill(stayer, SIGKILL);
        unlink((std::string(dir) + "/KorvelConfig.lock").c_str());
        rmdir(dir);
    }
    char dir[64] = "/tmp/korvel-lock-test-XXXXXX";
    pid_t stayer = -1; // a start that stays until killed
};

TEST_F(InstanceLock, ASecondStartIsRefusedUntilTheFirstIsGoneEvenByKill)
{
    // Each start prints "shown" once its dialog is up, then ends ("quit") or stays.
    FILE* first = popen(START_PROBE " stay & echo $!", "r");
    stayer = std::atoi(line(first).c_str());
    ASSERT_GT(stayer, 0);
    ASSERT_EQ(line(first), "shown");
    FILE* second = popen("exec " START_PROBE " quit", "r"); // ends by itself should it get past the guard
    EXPECT_EQ(line(second), "Error: KorvelConfig allready started.");
    EXPECT_EQ(line(second), "") << "no dialog after the refusal";
    EXPECT_EQ(WEXITSTATUS(pclose(second)), 255);
    kill(stayer, SIGKILL);
    stayer = -1;
    EXPECT_EQ(line(first), ""); // gone
    pclose(first);
    for (int run = 0; run < 2; ++run) { // the second finds the lock freed by the first's normal end
        FILE* next = popen("exec " START_PROBE " quit", "r");
        EXPECT_EQ(line(next), "shown");
        EXPECT_EQ(pclose(next), 0);
    }
}

// A symlink planted under the lock's name is neither obeyed nor followed to create
// a file elsewhere: the guard moves to /tmp, as without a runtime directory.
TEST_F(InstanceLock, SomeoneElsesFileIsNeitherObeyedNorCreated)
{
    const std::string name = "KorvelConfig-test-" + std::to_string(getpid()), elsewhere = std::string(dir) + "/x";
    ASSERT_EQ(symlink(elsewhere.c_str(), (std::string(dir) + "/" + name + ".lock").c_str()), 0);
    EXPECT_EQ(acquireInstanceLock(name.c_str()), 1);
    EXPECT_NE(access(elsewhere.c_str(), F_OK), 0);
    setenv("XDG_RUNTIME_DIR", elsewhere.c_str(), 1);
    EXPECT_EQ(acquireInstanceLock(name.c_str()), 0);
    unlink((std::string(dir) + "/" + name + ".lock").c_str());
    unlink(("/tmp/" + name + "-" + std::to_string(getuid()) + ".lock").c_str());
}

} // namespace
