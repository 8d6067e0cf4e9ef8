// The Qt symbol chooser from the real dialog: presses are measured from the pixel
// where the bitmap is drawn, and only a pick ends it.

#include <functional>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "behaviour_fixture.h"
#include "symbols/symbol_grid.h"
#include "ui/dialog_qt.h"

namespace {

// Runs inside the next chooser's own loop, before the queued presses arrive.
void whileChooserOpen(std::function<void(QDialog*, QLabel* picture)> action)
{
    QTimer::singleShot(0, [action] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("symbolChooser") && w->isVisible())
                return action(qobject_cast<QDialog*>(w), w->findChild<QLabel*>(QStringLiteral("symbolPicture")));
        ADD_FAILURE() << "no chooser open";
    });
}

using QtChooser = MainDialogTest;

TEST_F(QtChooser, TheSecondPressPicksTheCellUnderItsPixel)
{
    const struct {
        int x, y;
        const char* symbol;
    } cases[] = {
        {0, 0, "!/"},     {20, 20, "!/"},   {20, 21, "1/"},   {273, 21, ">/"}, {294, 21, "?/"},
        {335, 0, "0/"},   {0, 105, "q/"},   {335, 125, "--"}, {-1, 5, ">/"},   {336, 0, ">/"},
        {0, 126, ">/"},   {100, 300, ">/"},
    };
    for (const auto& c : cases) {
        queueChooserPresses({{5, 5}, {c.x, c.y}});
        userFocus(dialog, IdSymbol0);
        EXPECT_EQ(text(IdSymbol0), c.symbol) << "at " << c.x << "," << c.y;
    }
}

// The grid's black lines and the red mark under ">/" (row 2's top line, x 274 to
// 294) at their own pixels from the picture's contents: not scaled or shifted.
// Then the ways a dialog is left, and presses beside the picture.
TEST_F(QtChooser, DrawsTheBitmapAtThePressOriginAndEndsOnlyWithAPick)
{
    const QColor black(0, 0, 0), red(255, 0, 0);
    const std::vector<std::pair<QPoint, QColor>> expected = {
        {{0, 0}, black},   {{21, 10}, black}, {{10, 21}, black}, {{315, 105}, black}, {{273, 42}, black},
        {{274, 42}, red},  {{294, 42}, red},  {{295, 42}, black}, {{0, 126}, black},   {{336, 126}, black},
    };
    bool inspected = false;
    whileChooserOpen([&](QDialog* chooser, QLabel* picture) {
        ASSERT_NE(picture, nullptr);
        const QImage drawn = picture->grab().toImage();
        for (const auto& [at, colour] : expected)
            EXPECT_EQ(drawn.pixelColor(picture->contentsRect().topLeft() + at), colour) << at.x() << "," << at.y();
        EXPECT_TRUE(dialog->isEnabled()) << "no owner: the main dialog stays usable";

        QTest::keyClick(chooser, Qt::Key_Escape);
        chooser->close();
        chooser->reject();
        EXPECT_TRUE(chooser->isVisible());

        // Beside the picture only the press that activates the chooser counts.
        QLabel* label = nullptr;
        for (QLabel* l : chooser->findChildren<QLabel*>())
            if (l != picture)
                label = l;
        ASSERT_NE(label, nullptr);
        QApplication::setActiveWindow(chooser);
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_FALSE(pickArmed);
        QApplication::setActiveWindow(dialog);
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_TRUE(pickArmed);
        inspected = true;
    });
    queueChooserPresses({{64, 64}}); // armed already: this one picks
    userFocus(dialog, IdSymbol0);
    EXPECT_TRUE(inspected);
    EXPECT_EQ(text(IdSymbol0), "T/");
}

} // namespace
