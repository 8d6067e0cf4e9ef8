// The Qt symbol chooser: its window, the two-press pick measured in picture pixels,
// and no way out but a pick.

#include <algorithm>
#include <cstring>

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include "host_driver.h"
#include "recording_logic.h"
#include "symbols/symbol_chooser.h"
#include "symbols/symbol_grid.h"
#include "ui/control_ids.h"
#include "ui/dialog_qt.h"

namespace {

QDialog* openChooser()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("symbolChooser") && w->isVisible())
            return qobject_cast<QDialog*>(w);
    return nullptr;
}

// Runs inside the next chooser's own loop, before the queued presses arrive.
void whileChooserOpen(std::function<void(QDialog*)> action)
{
    QTimer::singleShot(0, [action] {
        QDialog* chooser = openChooser();
        EXPECT_NE(chooser, nullptr) << "no chooser open";
        if (chooser)
            action(chooser);
    });
}

Dialog* starvedDialog = nullptr;

class QtChooserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = openMainDialogForTest();
        // What the logic does on a Symbol edit's focus: run the chooser, write the pick.
        setCommandHook([](Dialog* d, int id, int notification) {
            if (notification == NotifySetFocus && (id == IdSymbol0 || id == IdSymbol1)) {
                runSymbolChooser(d);
                setItemText(d, id, chosenSymbol);
            }
        });
    }
    void TearDown() override
    {
        setCommandHook({});
        closeMainDialogForTest(dialog);
    }

    std::string pick(int symbolEdit, std::pair<int, int> arming, std::pair<int, int> press)
    {
        userFocus(dialog, IdCallsign0);
        queueChooserPresses({arming, press});
        userFocus(dialog, symbolEdit);
        return getItemText(dialog, symbolEdit, 10);
    }

    Dialog* dialog = nullptr;
};

TEST_F(QtChooserTest, WindowPictureAndLabelAtTheirTemplatePlaces)
{
    bool seen = false;
    whileChooserOpen([this, &seen](QDialog* chooser) {
        seen = true;
        const DialogBaseUnits units = dialogBaseUnits(chooser->font());
        EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Choose APRS-Symbol"));
        // 199 x 80 dialog units, taller only by what the real-size picture pushes
        // the label down.
        EXPECT_EQ(chooser->width(), dluToPixelsX(199, units));
        EXPECT_EQ(chooser->minimumSize(), chooser->maximumSize());
        EXPECT_EQ(chooser->pos(), dialog->screen()->availableGeometry().topLeft());
        EXPECT_FALSE(chooser->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_EQ(chooser->windowModality(), Qt::NonModal) << "ownerless: the main dialog stays usable";
        EXPECT_TRUE(dialog->isEnabled());

        auto* picture = chooser->findChild<QLabel*>(QStringLiteral("symbolPicture"));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->pos(), QPoint(dluToPixelsX(3, units), dluToPixelsY(3, units)));
        EXPECT_EQ(picture->frameShadow(), QFrame::Sunken);
        const QPixmap pixmap = picture->pixmap();
        EXPECT_EQ(pixmap.size(), QSize(337, 127)) << "shown at its real size";
        EXPECT_EQ(picture->contentsRect().size(), QSize(337, 127));

        QLabel* label = nullptr;
        for (QLabel* l : chooser->findChildren<QLabel*>())
            if (l->text() == QLatin1String("choose your APRS-Symbol"))
                label = l;
        ASSERT_NE(label, nullptr);
        const int labelY = std::max(dluToPixelsY(70, units), picture->geometry().bottom() + 1 + dluToPixelsY(2, units));
        EXPECT_EQ(label->pos(), QPoint(dluToPixelsX(3, units), labelY));
        EXPECT_EQ(chooser->height(), dluToPixelsY(80, units) + labelY - dluToPixelsY(70, units));
        EXPECT_LE(label->geometry().bottom(), chooser->rect().bottom());

        // The main dialog still takes input while the chooser is open.
        userType(dialog, IdComment0, "x");
        EXPECT_EQ(getItemText(dialog, IdComment0, 10), "x");
    });
    queueChooserPresses({{5, 5}, {5, 5}});
    userFocus(dialog, IdSymbol0);
    EXPECT_TRUE(seen);
}

TEST_F(QtChooserTest, SecondPressPicksTheCellUnderItInPicturePixels)
{
    const struct {
        int x, y;
        const char* symbol;
    } cases[] = {
        {0, 0, "!/"},     {20, 20, "!/"},    {20, 21, "1/"},   {21, 0, "\"/"},   // cell corners and grid lines
        {273, 21, ">/"},  {293, 41, ">/"},   {294, 21, "?/"},  {293, 125, "~/"},
        {314, 125, "--"}, {335, 125, "--"},  {315, 105, "--"}, {0, 105, "q/"},
        {336, 0, ">/"},   {-1, 5, ">/"},     {0, 126, ">/"},   {336, 126, ">/"}, // outside the grid
        {100, 300, ">/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pick(IdSymbol0, {200, 100}, {c.x, c.y}), c.symbol) << c.x << ", " << c.y;
    EXPECT_FALSE(pickArmed);
}

TEST_F(QtChooserTest, FirstPressOnlyArmsAndEachOpeningStartsUnarmed)
{
    bool openAfterFirst = false;
    whileChooserOpen([&openAfterFirst](QDialog* chooser) {
        QTimer::singleShot(0, [chooser, &openAfterFirst] {
            // After the feeder's first press (queued behind this one).
            openAfterFirst = chooser->isVisible() && pickArmed;
        });
    });
    EXPECT_EQ(pick(IdSymbol1, {0, 0}, {21, 21}), "2/");
    EXPECT_TRUE(openAfterFirst);
    EXPECT_EQ(pick(IdSymbol0, {300, 10}, {42, 0}), "#/");
    EXPECT_EQ(getItemText(dialog, IdSymbol1, 10), "2/") << "each pick goes into its own edit";
    EXPECT_EQ(std::string(chosenSymbol), "#/");

    // The return from the chooser gives the Symbol edit no new focus: nothing reopens.
    const int focusCalls = countCalls(LogicCall::Command, IdSymbol0, NotifySetFocus);
    QApplication::setActiveWindow(dialog);
    EXPECT_EQ(countCalls(LogicCall::Command, IdSymbol0, NotifySetFocus), focusCalls);
    EXPECT_EQ(openChooser(), nullptr);
}

TEST_F(QtChooserTest, EscapeCloseBoxAndRejectLeaveItOpen)
{
    bool stayedOpen = false;
    whileChooserOpen([&stayedOpen](QDialog* chooser) {
        QTest::keyClick(chooser, Qt::Key_Escape);
        chooser->close();
        chooser->reject();
        stayedOpen = chooser->isVisible() && !pickArmed;
    });
    queueChooserPresses({{1, 1}, {64, 64}});
    userFocus(dialog, IdSymbol0);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(getItemText(dialog, IdSymbol0, 10), "T/");
}

TEST_F(QtChooserTest, APressOnTheInactiveChooserArmsItButNotOnTheActiveOne)
{
    bool armedByInactivePress = false;
    bool ignoredWhileActive = false;
    whileChooserOpen([this, &armedByInactivePress, &ignoredWhileActive](QDialog* chooser) {
        QLabel* label = nullptr;
        for (QLabel* l : chooser->findChildren<QLabel*>())
            if (l->objectName() != QLatin1String("symbolPicture"))
                label = l;
        ASSERT_NE(label, nullptr);
        QApplication::setActiveWindow(chooser);
        QTest::mouseClick(label, Qt::LeftButton);
        QTest::mouseClick(chooser, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        ignoredWhileActive = !pickArmed;
        QApplication::setActiveWindow(dialog);
        QTest::mouseClick(label, Qt::LeftButton);
        armedByInactivePress = pickArmed && chooser->isVisible();
    });
    queueChooserPresses({{0, 0}}); // armed already: this one picks
    userFocus(dialog, IdSymbol0);
    EXPECT_TRUE(ignoredWhileActive);
    EXPECT_TRUE(armedByInactivePress);
    EXPECT_EQ(getItemText(dialog, IdSymbol0, 10), "!/");
}

TEST_F(QtChooserTest, AChooserWithoutPressesFailsTheTestAndCloses)
{
    starvedDialog = dialog;
    EXPECT_NONFATAL_FAILURE(userFocus(starvedDialog, IdSymbol1), "no press queued");
    EXPECT_EQ(openChooser(), nullptr);
    EXPECT_EQ(getItemText(dialog, IdSymbol1, 10), "") << "nothing picked yet in this run";
}

} // namespace
