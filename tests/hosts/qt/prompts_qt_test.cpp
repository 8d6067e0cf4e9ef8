// The programming run's pauses block the GUI thread as Sleep does: a click or a
// close handled meanwhile would act on a dialog in the middle of the run.

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include "prompts.h"

TEST(QtPrompts, APauseHandlesNoEvents)
{
    static int argc = 1;
    static char name[] = "prompts-test";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    pauseMilliseconds(1);
    EXPECT_FALSE(ran);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ran);
}
