// The single-instance guard across real processes: the program's start-up (with
// message boxes printed instead of shown) and a bare holder of the lock, each in a
// runtime directory of the test's own.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/instance_lock.h"

extern char** environ;

namespace {

struct Child {
    pid_t pid = -1;
    FILE* out = nullptr;

    // The next line the child prints; empty once it has closed its output.
    std::string readLine()
    {
        char buffer[512];
        if (!out || !std::fgets(buffer, sizeof buffer, out))
            return {};
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        return line;
    }
    // The exit status, or -1 when it did not exit normally.
    int wait()
    {
        int status = 0;
        if (waitpid(pid, &status, 0) != pid)
            return -1;
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void kill9()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            wait();
        }
    }
    bool alive() const { return pid > 0 && ::kill(pid, 0) == 0; }
    ~Child()
    {
        kill9();
        if (out)
            std::fclose(out);
    }
};

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/korvel-lock-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        runtimeDir = pattern;
    }
    void TearDown() override
    {
        unlink(lockFile().c_str());
        rmdir(runtimeDir.c_str());
    }

    std::string lockFile() const { return runtimeDir + "/KorvelConfig.lock"; }

    // Starts a program with this test's runtime directory, offscreen, stdout piped.
    void start(Child& child, const char* program, const char* argument = nullptr)
    {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry(*e);
            if (entry.rfind("XDG_RUNTIME_DIR=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
                env.push_back(entry);
        }
        env.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
        env.push_back("QT_QPA_PLATFORM=offscreen");
        std::vector<char*> envp;
        for (std::string& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);

        int pipeFds[2];
        ASSERT_EQ(pipe2(pipeFds, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        std::vector<char*> argv{const_cast<char*>(program)};
        if (argument)
            argv.push_back(const_cast<char*>(argument));
        argv.push_back(nullptr);
        ASSERT_EQ(posix_spawn(&child.pid, program, &actions, nullptr, argv.data(), envp.data()), 0) << program;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        child.out = fdopen(pipeFds[0], "r");
    }

    std::string runtimeDir;
};

TEST_F(InstanceLockTest, SecondStartIsRefusedWithTheMessageAndMinusOne)
{
    Child holder;
    start(holder, LOCK_HOLDER);
    ASSERT_EQ(holder.readLine(), "locked");

    struct stat info {};
    ASSERT_EQ(stat(lockFile().c_str(), &info), 0) << "the lock lives in the user's runtime directory";
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    Child second;
    start(second, START_PROBE);
    EXPECT_EQ(second.readLine(), "Error: KorvelConfig allready started.");
    EXPECT_EQ(second.readLine(), "") << "no dialog after the refusal";
    EXPECT_EQ(second.wait(), 255);
    EXPECT_TRUE(holder.alive()) << "the running instance is not disturbed";
}

TEST_F(InstanceLockTest, RunningProgramHoldsTheLockAndAKilledOneFreesIt)
{
    Child first;
    start(first, START_PROBE);
    ASSERT_EQ(first.readLine(), "shown");

    Child holder;
    start(holder, LOCK_HOLDER);
    EXPECT_EQ(holder.readLine(), "refused");
    EXPECT_EQ(holder.wait(), 1);

    Child second;
    start(second, START_PROBE);
    EXPECT_EQ(second.readLine(), "Error: KorvelConfig allready started.");
    EXPECT_EQ(second.wait(), 255);

    first.kill9();
    Child third;
    start(third, START_PROBE, "quit");
    EXPECT_EQ(third.readLine(), "shown");
    EXPECT_EQ(third.readLine(), "");
    EXPECT_EQ(third.wait(), 0) << "a normal end exits with 0";

    Child fourth;
    start(fourth, LOCK_HOLDER);
    EXPECT_EQ(fourth.readLine(), "locked") << "a normal end frees the lock too";
}

TEST_F(InstanceLockTest, LockIsNotInheritedByChildProcesses)
{
    // Taken here, in the test process, then a program is started from here: the
    // lock must not travel with it, or a helper the program starts could keep
    // the name taken after the program has ended.
    setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    ASSERT_EQ(acquireInstanceLock("KorvelConfig"), 1);
    bool foundCloexec = false;
    for (int fd = 3; fd < 256; ++fd) {
        char link[64];
        char target[512];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        const ssize_t n = readlink(link, target, sizeof target - 1);
        if (n <= 0)
            continue;
        target[n] = '\0';
        if (lockFile() == target) {
            foundCloexec = (fcntl(fd, F_GETFD) & FD_CLOEXEC) != 0;
            break;
        }
    }
    EXPECT_TRUE(foundCloexec);
    EXPECT_EQ(acquireInstanceLock("KorvelConfig"), 0) << "a second take, even in-process, is refused";
}

TEST_F(InstanceLockTest, SomeoneElsesLockFileIsNeitherObeyedNorHeld)
{
    // A symlink planted under the lock's name is not followed: the program runs
    // unguarded rather than lock (or create) a file elsewhere.
    const std::string elsewhere = runtimeDir + "/elsewhere";
    ASSERT_EQ(symlink(elsewhere.c_str(), lockFile().c_str()), 0);
    setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    EXPECT_EQ(acquireInstanceLock("KorvelConfig"), 1);
    struct stat info {};
    EXPECT_NE(stat(elsewhere.c_str(), &info), 0) << "nothing created through the link";
}

} // namespace
