// The Qt message box and pause: ownerless, OK only, and blocking like their Win32
// counterparts.

#include <cstdlib>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ui/prompts.h"

namespace {

void ensureApplication()
{
    if (QApplication::instance())
        return;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "prompts-test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

QMessageBox* openBox()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    return nullptr;
}

TEST(QtPrompts, MessageBoxIsOwnerlessOkOnlyAndWaitsForTheClick)
{
    ensureApplication();
    QWidget mainWindow;
    mainWindow.show();
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        QMessageBox* box = openBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("KorvelConfig"));
        EXPECT_EQ(box->text(), QStringLiteral("cannot open selected COM-Port!"));
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->parentWidget(), nullptr);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no window is blocked";
        EXPECT_TRUE(mainWindow.isEnabled());
        inspected = true;
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    showMessage("cannot open selected COM-Port!", "KorvelConfig");
    EXPECT_TRUE(inspected);
    EXPECT_EQ(openBox(), nullptr);
}

TEST(QtPrompts, LineFeedsAndEscapeCloseAsOk)
{
    ensureApplication();
    QString seen;
    QTimer::singleShot(0, [&] {
        QMessageBox* box = openBox();
        ASSERT_NE(box, nullptr);
        seen = box->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    showMessage("please make sure\notherwise <b>to much</b>", "KorvelConfig");
    EXPECT_EQ(seen, QStringLiteral("please make sure\notherwise <b>to much</b>"));
    EXPECT_EQ(openBox(), nullptr);
}

TEST(QtPrompts, PauseHandlesNoEventsMeanwhile)
{
    ensureApplication();
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    pauseMilliseconds(1);
    EXPECT_FALSE(ran) << "the GUI thread is blocked, as by Sleep";
    QCoreApplication::processEvents();
    EXPECT_TRUE(ran);
}

} // namespace
