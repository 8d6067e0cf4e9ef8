// The Qt message box and pause behave as MessageBoxA(NULL, ...) and Sleep.

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ui/prompts.h"

namespace {

void application()
{
    static int argc = 1;
    static char name[] = "prompts-test";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv); // kept to the program's end
}

// No owner and no modality, so the main dialog stays usable; the text is shown as
// it is, and the call returns only once the box is closed.
TEST(QtPrompts, AMessageBoxBlocksTheCallButNoWindow)
{
    application();
    QWidget mainWindow;
    mainWindow.show();
    const char* text = "please make sure\notherwise <b>to much</b>";
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        QMessageBox* box = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && qobject_cast<QMessageBox*>(w))
                box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromLatin1(text));
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->parentWidget(), nullptr);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        inspected = true;
        QTest::keyClick(box, Qt::Key_Escape);
    });
    showMessage(text, "KorvelConfig");
    EXPECT_TRUE(inspected);
}

// The programming run's pauses keep the user's input waiting, as Sleep does.
TEST(QtPrompts, APauseHandlesNoEvents)
{
    application();
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    pauseMilliseconds(1);
    EXPECT_FALSE(ran);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ran);
}

} // namespace
