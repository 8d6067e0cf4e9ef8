// The Linux program with its real message boxes, offscreen: closed while a fit
// check's box is open, it shows nothing more (a box would wait until the time-out)
// and ends with 0.

#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "control_ids.h"
#include "dialog_qt.h"
#include "startup_qt.h"

static int boxes = -1; // shown when the dialog is closed

TEST(QtProgram, ClosedWhileAFitMessageIsOpenItShowsNothingMoreAndEndsWithZero)
{
    char dir[] = "/tmp/korvel-close-test-XXXXXX";
    setenv("XDG_RUNTIME_DIR", mkdtemp(dir), 1); // the instance lock, away from any running program
    int argc = 1;
    char name[] = "korvelconfig";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(runKorvelConfig(argc, argv, [] {
        QTimer::singleShot(20000, [] { QCoreApplication::exit(3); }); // still running: a failure
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = dynamic_cast<Dialog*>(window)) {
                QTimer::singleShot(200, dialog, [dialog] { // inside the box's loop
                    boxes = 0;
                    for (QWidget* box : QApplication::topLevelWidgets())
                        boxes += qobject_cast<QMessageBox*>(box) && box->isVisible();
                    dialog->close();
                });
                QApplication::clipboard()->setText(QStringLiteral("WIDE1-1,").repeated(125));
                auto* edit = qobject_cast<QLineEdit*>(dialogControl(dialog, IdPath0));
                edit->selectAll();
                QTimer::singleShot(0, edit, &QLineEdit::paste);
            }
    }), 0);
    EXPECT_EQ(boxes, 1);
    unlink((std::string(dir) + "/KorvelConfig.lock").c_str());
    rmdir(dir);
}
