// The single-instance guard across real starts of the program's start-up (message
// boxes printed instead of shown), in a runtime directory of the test's own.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "instance_lock.h"

extern char** environ;

namespace {

// A start of the program; with "quit" it ends normally once its dialog is up.
struct Start {
    explicit Start(const char* argument)
    {
        int fds[2];
        EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        char* argv[] = {const_cast<char*>(START_PROBE), const_cast<char*>(argument), nullptr};
        EXPECT_EQ(posix_spawn(&pid, START_PROBE, &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out = fdopen(fds[0], "r");
    }
    ~Start()
    {
        if (pid > 0)
            kill(pid, SIGKILL), exitCode();
        std::fclose(out);
    }
    std::string line() // empty once the output is closed
    {
        char buffer[256] = "";
        std::string text = std::fgets(buffer, sizeof buffer, out) ? buffer : "";
        return text.substr(0, text.find('\n'));
    }
    int exitCode() // -1 when it did not exit
    {
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    pid_t pid = -1;
    FILE* out = nullptr;
};

class InstanceLock : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(mkdtemp(dir), nullptr);
        setenv("XDG_RUNTIME_DIR", dir, 1);
    }
    void TearDown() override
    {
        unlink(lockFile().c_str());
        rmdir(dir);
    }
    std::string lockFile() const { return std::string(dir) + "/KorvelConfig.lock"; }

    char dir[64] = "/tmp/korvel-lock-test-XXXXXX";
};

TEST_F(InstanceLock, ASecondStartIsRefusedUntilTheFirstIsGoneEvenByKill)
{
    auto first = std::make_unique<Start>("stay");
    ASSERT_EQ(first->line(), "shown");
    Start second("quit"); // ends by itself should it get past the guard
    EXPECT_EQ(second.line(), "Error: KorvelConfig allready started.");
    EXPECT_EQ(second.line(), "") << "no dialog after the refusal";
    EXPECT_EQ(second.exitCode(), 255);

    first.reset(); // SIGKILL
    for (int run = 0; run < 2; ++run) { // the second finds the lock freed by the first's normal end
        Start next("quit");
        EXPECT_EQ(next.line(), "shown");
        EXPECT_EQ(next.exitCode(), 0);
    }
}

// A symlink planted under the lock's name: the program neither locks nor creates a
// file elsewhere (the guard moves to /tmp).
TEST_F(InstanceLock, SomeoneElsesFileIsNeitherObeyedNorCreated)
{
    const std::string elsewhere = std::string(dir) + "/elsewhere";
    ASSERT_EQ(symlink(elsewhere.c_str(), lockFile().c_str()), 0);
    EXPECT_EQ(acquireInstanceLock("KorvelConfig"), 1);
    EXPECT_NE(access(elsewhere.c_str(), F_OK), 0);
    unlink(elsewhere.c_str());
}

// Without a usable runtime directory (su, cron, containers) the guard moves to /tmp.
TEST_F(InstanceLock, WithoutARuntimeDirectoryTheLockIsInTmp)
{
    setenv("XDG_RUNTIME_DIR", (std::string(dir) + "/missing").c_str(), 1);
    const std::string name = "KorvelConfig-test-" + std::to_string(getpid());
    EXPECT_EQ(acquireInstanceLock(name.c_str()), 1);
    EXPECT_EQ(acquireInstanceLock(name.c_str()), 0);
    unlink(("/tmp/" + name + "-" + std::to_string(getuid()) + ".lock").c_str());
}

} // namespace
