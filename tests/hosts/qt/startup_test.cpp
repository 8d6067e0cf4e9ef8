// The program's start-up: the single-instance guard across real starts (message
// boxes printed instead of shown) under a lock name of the test's own, and the
// real message boxes offscreen.

#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "control_ids.h"
#include "dialog_qt.h"
#include "instance_lock.h"
#include "settings_qt.h"
#include "startup_qt.h"

namespace {

const std::string kLock = "KorvelConfig-test-" + std::to_string(getpid());

std::string line(FILE* out) // empty once the output is closed
{
    char buffer[256] = "";
    const std::string text = std::fgets(buffer, sizeof buffer, out) ? buffer : "";
    return text.substr(0, text.find('\n'));
}

// A start of the program under env (assignments, or "-u NAME" to remove one) that
// prints "shown" and then stays ("stay", after its process id) or ends ("quit").
FILE* start(const std::string& env, const char* mode)
{
    const std::string command = "env " + env + " " START_PROBE " " + mode + " " + kLock;
    return popen((std::string(mode) == "stay" ? command + " & echo $!" : "exec " + command).c_str(), "r");
}

// One lock, wherever the runtime folder is said to be: a folder that does not exist
// yet (Qt makes it at the first start), or one start with it and one without.
TEST(Startup, ASecondStartIsRefusedWhateverTheEnvironmentUntilTheFirstIsGoneEvenByKill)
{
    char dir[] = "/tmp/korvel-lock-test-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    const std::string missing = "XDG_RUNTIME_DIR=" + std::string(dir) + "/runtime", none = "-u XDG_RUNTIME_DIR";
    const std::string cases[][2] = {{missing, missing}, {"XDG_RUNTIME_DIR=" + std::string(dir), none},
                                    {none, "XDG_RUNTIME_DIR=" + std::string(dir)}};
    for (const auto& c : cases) {
        FILE* first = start(c[0], "stay");
        const pid_t firstId = std::atoi(line(first).c_str());
        EXPECT_EQ(line(first), "shown");
        FILE* second = start(c[1], "quit"); // ends by itself should it get past the guard
        EXPECT_EQ(line(second), "Error: KorvelConfig allready started.") << c[0] << ", then " << c[1];
        EXPECT_EQ(line(second), "") << "no dialog after the refusal";
        EXPECT_EQ(WEXITSTATUS(pclose(second)), 255);
        ASSERT_GT(firstId, 0);
        kill(firstId, SIGKILL); // the lock goes with the process, however it ends
        EXPECT_EQ(line(first), "");
        pclose(first);
    }
    for (int run = 0; run < 2; ++run) { // the second finds the lock freed by the first's normal end
        FILE* next = start(none, "quit");
        EXPECT_EQ(line(next), "shown");
        EXPECT_EQ(pclose(next), 0);
    }
    std::system(("rm -rf " + std::string(dir)).c_str());
}

// Anybody may take a name in the abstract namespace: another user's socket under this
// user's lock name keeps nothing from running.
TEST(InstanceLock, AnotherUsersSocketOfTheNameIsNotObeyed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs another user";
    const std::string name = kLock + "-squatted", taken = name + "-0";
    sockaddr_un address{AF_UNIX, {}};
    taken.copy(address.sun_path + 1, taken.size());
    const int squatter = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(seteuid(65534), 0); // the listening socket belongs to nobody
    EXPECT_EQ(bind(squatter, reinterpret_cast<sockaddr*>(&address),
                   static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + taken.size())), 0);
    EXPECT_EQ(listen(squatter, 8), 0);
    ASSERT_EQ(seteuid(0), 0);
    EXPECT_EQ(acquireInstanceLock(name.c_str()), 1);
    close(squatter);
    EXPECT_EQ(acquireInstanceLock(name.c_str()), 1); // this process holds it now
    EXPECT_EQ(acquireInstanceLock(name.c_str()), 0); // and a second ask is refused
}

std::string refusedFile;
QString shownText;
int focusedId = 0, boxesAtClose = -1;

// The real boxes: one names a refused file called Łódź Ωmega as the system encodes
// it and gives the focus back to the field that had it; closed while a fit check's
// box is open, the program shows nothing more (a box would wait until the time-out)
// and ends with 0.
TEST(RealBoxes, NameAFileAsItIsGiveTheFocusBackAndGoWithTheDialog)
{
    refusedFile = "/tmp/" + kLock + "-\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9mega.korvel";
    std::ofstream(refusedFile) << "[config0]\ncalsign = X\n";
    int argc = 1;
    char name[] = "korvelconfig";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(runKorvelConfig(argc, argv, [] {
        QTimer::singleShot(20000, [] { ADD_FAILURE() << "still running"; QCoreApplication::exit(3); });
        Dialog* dialog = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            dialog = dialog ? dialog : dynamic_cast<Dialog*>(window);
        QApplication::setActiveWindow(dialog);
        auto* path = qobject_cast<QLineEdit*>(dialogControl(dialog, IdPath0));
        path->setFocus();
        QTimer::singleShot(200, [] { // inside the box's loop
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
                    shownText = box->text(), box->done(0);
        });
        openSettingsAtStart(dialog, refusedFile);
        QApplication::setActiveWindow(dialog); // as the window system does once the box is gone
        focusedId = QApplication::focusWidget() ? QApplication::focusWidget()->property("controlId").toInt() : -1;
        QTimer::singleShot(200, dialog, [dialog] { // inside the fit check's box
            boxesAtClose = 0;
            for (QWidget* box : QApplication::topLevelWidgets())
                boxesAtClose += qobject_cast<QMessageBox*>(box) && box->isVisible();
            dialog->close();
        });
        QApplication::clipboard()->setText(QStringLiteral("WIDE1-1,").repeated(125));
        path->selectAll();
        QTimer::singleShot(0, path, &QLineEdit::paste);
    }, {}, (kLock + "-box").c_str()), 0); // a lock of its own: this process keeps it
    EXPECT_EQ(shownText.toStdString(), refusedFile + ", line 2, \"calsign\": unknown key in [config0]");
    EXPECT_EQ(focusedId, IdPath0);
    EXPECT_EQ(boxesAtClose, 1);
    unlink(refusedFile.c_str());
}

} // namespace
