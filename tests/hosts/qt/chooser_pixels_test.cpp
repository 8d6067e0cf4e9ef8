// The chooser on X at a scale (QT_SCALE_FACTOR 1.5 or 2), pressed by the real
// pointer (xdotool) on single screen pixels found where X shows the grid: the last
// pixel of a cell picks that cell, the next one the next cell.

#include <functional>
#include <vector>

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

QDialog* shownChooser()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("symbolChooser") && window->isVisible())
            return qobject_cast<QDialog*>(window);
    return nullptr;
}

// The grid's top-left screen pixel in the chooser as X shows it, and the width of
// its lines (the picture's factor): the first columns and rows black for half their length.
struct Grid {
    int x = -1, y = -1, factor = 0;
};

Grid gridOnScreen(QDialog* chooser)
{
    const QImage shown = chooser->screen()->grabWindow(chooser->winId()).toImage();
    std::vector<int> columns(shown.width()), rows(shown.height());
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixelColor(x, y) == Qt::black)
                ++columns[x], ++rows[y];
    Grid grid;
    for (int x = 0; x < shown.width() && (grid.x < 0 || columns[x] >= shown.height() / 3); ++x)
        if (columns[x] >= shown.height() / 3)
            grid.x = grid.x < 0 ? x : grid.x, ++grid.factor;
    for (int y = 0; y < shown.height() && grid.y < 0; ++y)
        grid.y = rows[y] >= shown.width() / 3 ? y : -1;
    return grid;
}

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
    const struct {
        int column, row;
        bool last; // the cell's last screen pixel across and down, else its first
        const char* symbol;
    } cases[] = {{13, 1, true, ">/"}, {14, 1, false, "?/"}, {13, 5, true, "~/"}, {15, 5, true, "--"}, {0, 0, false, "!/"}};
    QTimer failSafe; // a chooser that nobody ends fails the case
    failSafe.setSingleShot(true);
    QObject::connect(&failSafe, &QTimer::timeout, [] {
        if (QDialog* chooser = shownChooser())
            chooser->done(QDialog::Rejected);
    });
    for (const auto& c : cases) {
        bool pressed = false;
        std::function<void()> pressWhenShown = [&] {
            QDialog* chooser = shownChooser();
            const Grid grid = chooser && chooser->isActiveWindow() ? gridOnScreen(chooser) : Grid();
            if (grid.factor == 0)
                return QTimer::singleShot(50, pressWhenShown);
            const int step = 21 * grid.factor, shift = c.last ? step - 1 : 0;
            const QString x = QString::number(grid.x + c.column * step + shift);
            const QString y = QString::number(grid.y + c.row * step + shift);
            // The first press arms the chooser, the second picks.
            pressed = QProcess::startDetached("xdotool", {"mousemove", "--window", QString::number(chooser->winId()), x,
                                                          y, "click", "--repeat", "2", "--delay", "200", "1"});
        };
        QTimer::singleShot(0, pressWhenShown);
        failSafe.start(20000);
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        dialogControl(dialog, IdSymbol0)->setFocus(Qt::MouseFocusReason); // the chooser runs in here
        failSafe.stop();
        EXPECT_TRUE(pressed);
        EXPECT_EQ(getItemText(dialog, IdSymbol0, 2), c.symbol) << c.column << ", " << c.row << (c.last ? " last" : " first");
    }
    destroyMainDialog(dialog);
}

} // namespace
