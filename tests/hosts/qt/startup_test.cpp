// The program's start-up, in a runtime directory of the test's own: the
// single-instance guard across real starts (message boxes printed instead of
// shown), and the real message boxes offscreen.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

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

std::string line(FILE* out) // empty once the output is closed
{
    char buffer[256] = "";
    const std::string text = std::fgets(buffer, sizeof buffer, out) ? buffer : "";
    return text.substr(0, text.find('\n'));
}

class Startup : public ::testing::Test {
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

TEST_F(Startup, ASecondStartIsRefusedUntilTheFirstIsGoneEvenByKill)
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
TEST_F(Startup, SomeoneElsesLockFileIsNeitherObeyedNorCreated)
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

int boxesAtClose = -1;

// Closed while a fit check's box is open, the program shows nothing more (a box
// would wait until the time-out) and ends with 0.
TEST_F(Startup, ClosedWhileAFitMessageIsOpenTheProgramEndsWithZero)
{
    int argc = 1;
    char name[] = "korvelconfig";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(runKorvelConfig(argc, argv, [] {
        QTimer::singleShot(20000, [] { QCoreApplication::exit(3); });
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = dynamic_cast<Dialog*>(window)) {
                QTimer::singleShot(200, dialog, [dialog] { // inside the box's loop
                    boxesAtClose = 0;
                    for (QWidget* box : QApplication::topLevelWidgets())
                        boxesAtClose += qobject_cast<QMessageBox*>(box) && box->isVisible();
                    dialog->close();
                });
                QApplication::clipboard()->setText(QStringLiteral("WIDE1-1,").repeated(125));
                auto* edit = qobject_cast<QLineEdit*>(dialogControl(dialog, IdPath0));
                edit->selectAll();
                QTimer::singleShot(0, edit, &QLineEdit::paste);
            }
    }), 0);
    EXPECT_EQ(boxesAtClose, 1);
}

// A refused file named Łódź Ωmega: the real box names it as the system encodes it,
// and the focus comes back to the field that had it.
std::string refusedFile;
QString shownText;
int focusedId = 0;

TEST_F(Startup, ABoxNamesAFileAsItIsAndGivesTheFocusBack)
{
    refusedFile = std::string(dir) + "/\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9mega.korvel";
    std::ofstream(refusedFile) << "[config0]\ncalsign = X\n";
    int argc = 1;
    char name[] = "korvelconfig";
    char* argv[] = {name, nullptr};
    runKorvelConfig(argc, argv, [] {
        Dialog* dialog = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            dialog = dialog ? dialog : dynamic_cast<Dialog*>(window);
        QApplication::setActiveWindow(dialog);
        dialogControl(dialog, IdPath0)->setFocus();
        QTimer::singleShot(200, [] { // inside the box's loop
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
                    shownText = box->text(), box->done(0);
        });
        openSettingsAtStart(dialog, refusedFile);
        QApplication::setActiveWindow(dialog); // as the window system does once the box is gone
        focusedId = QApplication::focusWidget()->property("controlId").toInt();
        QTimer::singleShot(0, [] { QApplication::closeAllWindows(); });
    });
    EXPECT_EQ(shownText.toStdString(), refusedFile + ", line 2, \"calsign\": unknown key in [config0]");
    EXPECT_EQ(focusedId, IdPath0);
    unlink(refusedFile.c_str());
}

} // namespace
