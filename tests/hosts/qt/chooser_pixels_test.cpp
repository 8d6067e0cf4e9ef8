// The chooser on X at QT_SCALE_FACTOR 1.5 or 2, pressed by the real pointer
// (xdotool) on single screen pixels found where X shows the grid: the last pixel
// of a cell picks that cell, the next one the next cell.
#include <functional>

#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "control_ids.h"
#include "dialog_qt.h"

namespace {

constexpr int kFactor = 2; // the picture's whole factor at both scales

TEST(ChooserOnX, EachScreenPixelPicksTheCellPaintedUnderIt)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "no X display";
    qputenv("QT_QPA_PLATFORM", "xcb");
    int argc = 1;
    char name[] = "chooser-pixels";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    Dialog* dialog = createMainDialog([] { return std::vector<PortEntry>(); });
    dialog->show();
    // Column, row, the cell's last screen pixel across and down (else its first), the
    // pick. The highlight of the field's symbol is never on the grid's first corner.
    const struct {
        int column, row;
        bool last;
        const char* symbol;
    } cases[] = {{13, 1, true, ">/"}, {14, 1, false, "?/"}, {13, 5, true, "~/"}, {15, 5, true, "--"}, {0, 0, false, "!/"}};
    for (const auto& c : cases) {
        bool pressed = false;
        std::function<void()> pressWhenShown = [&] {
            auto* chooser = qobject_cast<QDialog*>(QApplication::activeWindow()); // the chooser, once active
            const QImage shown = chooser ? chooser->screen()->grabWindow(chooser->winId()).toImage() : QImage();
            int corner = 0; // the grid's first black pixel, as X shows it
            while (corner < shown.width() * shown.height() && shown.pixelColor(corner % shown.width(), corner / shown.width()) != Qt::black)
                ++corner;
            if (corner == shown.width() * shown.height())
                return QTimer::singleShot(50, pressWhenShown);
            const int step = 21 * kFactor, shift = c.last ? step - 1 : 0;
            const int x = corner % shown.width() + c.column * step + shift, y = corner / shown.width() + c.row * step + shift;
            pressed = QProcess::startDetached("xdotool", {"mousemove", "--window", QString::number(chooser->winId()),
                                                          QString::number(x), QString::number(y), "click", "--repeat",
                                                          "2", "--delay", "200", "1"}); // arms, then picks
            QTimer::singleShot(20000, chooser, [chooser] { chooser->done(QDialog::Rejected); }); // nobody ended it
        };
        QTimer::singleShot(0, pressWhenShown);
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        dialogControl(dialog, IdSymbol0)->setFocus(Qt::MouseFocusReason); // the chooser runs in here
        EXPECT_TRUE(pressed);
        EXPECT_EQ(getItemText(dialog, IdSymbol0, 2), c.symbol) << c.column << ", " << c.row << (c.last ? " last" : " first");
    }
    destroyMainDialog(dialog);
}

} // namespace
