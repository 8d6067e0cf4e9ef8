// The behaviour suite's driver for the Qt host: the real main dialog, offscreen,
// acted on through Qt's own input paths.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialog_qt.h"
#include "host_driver.h"
#include "symbol_grid.h"

namespace {

std::deque<std::pair<int, int>> queuedPresses;

void pressKey(QWidget* widget, int key)
{
    static const Qt::Key keys[] = {Qt::Key_Tab,  Qt::Key_Backtab, Qt::Key_Left,     Qt::Key_Right,  Qt::Key_Up,
                                   Qt::Key_Down, Qt::Key_PageUp,  Qt::Key_PageDown, Qt::Key_Home,   Qt::Key_End,
                                   Qt::Key_Return, Qt::Key_Space, Qt::Key_Escape};
    QTest::keyClick(widget, keys[key], key == KeyShiftTab ? Qt::ShiftModifier : Qt::NoModifier);
}

// Where the picture's grid starts as the chooser paints it, in screen pixels: its
// first column and row that are black for half their length (an arrow key's
// highlight may cover a cell's lines).
QPoint paintedGrid(QDialog* chooser, int factor)
{
    const QImage shown = chooser->grab().toImage();
    std::vector<int> columns(shown.width()), rows(shown.height());
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixelColor(x, y) == Qt::black)
                ++columns[x], ++rows[y];
    const auto first = [](const std::vector<int>& counts, int half) {
        return int(std::find_if(counts.begin(), counts.end(), [half](int n) { return n >= half; }) - counts.begin());
    };
    return QPoint(first(columns, 63 * factor), first(rows, 168 * factor));
}

// Feeds the queued presses to a symbol chooser from inside its own event loop, one
// per turn of the loop, until it ends.
void feedChooser(QPointer<QDialog> chooser)
{
    if (!chooser || !chooser->isVisible())
        return;
    auto* picture = chooser->findChild<QLabel*>(QStringLiteral("symbolPicture"));
    if (queuedPresses.empty() || !picture) {
        ADD_FAILURE() << "a symbol chooser opened with no press queued for it, or no picture";
        return chooser->done(QDialog::Rejected); // ends the run; reject() would be ignored
    }
    const auto [x, y] = queuedPresses.front();
    const int factor = picture->pixmap().width() / kSymbolPictureWidth;
    queuedPresses.pop_front();
    if (x == kChooserKey) {
        pressKey(chooser, y);
    } else { // a point on the first screen pixel of that picture pixel
        const qreal ratio = chooser->devicePixelRatio();
        const QPoint grid = paintedGrid(chooser, factor);
        const QPoint at = QPoint(int(std::ceil((grid.x() + x * factor) / ratio)), int(std::ceil((grid.y() + y * factor) / ratio))) -
                          picture->mapTo(chooser, QPoint());
        QTest::mousePress(picture, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, at);
    }
    QTimer::singleShot(0, [chooser] { feedChooser(chooser); });
}

struct ChooserFeeder : QObject {
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("symbolChooser"))
            QTimer::singleShot(0, [chooser = QPointer<QDialog>(qobject_cast<QDialog*>(watched))] { feedChooser(chooser); });
        return false;
    }
};

// Input reaches only the active window, as on a desktop.
void activate(Dialog* dialog)
{
    if (QApplication::activeWindow() != dialog) {
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
    }
}

QWidget* activeControl(Dialog* dialog, int id) { return activate(dialog), dialogControl(dialog, id); }

} // namespace

Dialog* openMainDialogForTest(const PortFinder& findPorts)
{
    if (!QApplication::instance()) { // one per test program, kept to its end
        static int argc = 1;
        static char name[] = "korvel-tests";
        static char* argv[] = {name, nullptr};
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        (new QApplication(argc, argv))->installEventFilter(new ChooserFeeder);
    }
    queuedPresses.clear();
    Dialog* dialog = createMainDialog(findPorts);
    dialog->show();
    activate(dialog);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog)); // painted, as on a screen
    return dialog;
}

void closeMainDialogForTest(Dialog* dialog)
{
    destroyMainDialog(dialog);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Keystrokes straight to the edit, at the end of its text: typing gives no focus notification.
void userType(Dialog* dialog, int id, const std::string& characters)
{
    auto* edit = qobject_cast<QLineEdit*>(dialogControl(dialog, id));
    for (char c : characters) {
        const QChar character(utf16FromAnsi(static_cast<unsigned char>(c)));
        const int key = c == '\b' ? int(Qt::Key_Backspace) : character.isLetter() ? character.toUpper().unicode()
                                                                                    : character.unicode();
        const QString text = c == '\b' ? QString() : QString(character);
        edit->end(false);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text), release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(edit, &press);
        QCoreApplication::sendEvent(edit, &release);
    }
}

void userBackspace(Dialog* dialog, int id, int count) { userType(dialog, id, std::string(std::max(count, 0), '\b')); }

void userPaste(Dialog* dialog, int id, const std::u16string& text)
{
    auto* edit = qobject_cast<QLineEdit*>(dialogControl(dialog, id));
    QApplication::clipboard()->setText(QString::fromStdU16String(text));
    edit->end(false);
    edit->paste();
}

std::u16string shownText(Dialog* dialog, int id)
{
    return qobject_cast<QLineEdit*>(dialogControl(dialog, id))->text().toStdU16String();
}

// What QSlider does for a drag of its handle: pressed, moved (each step an action), released.
void userDragTrackbar(Dialog* dialog, int id, int position)
{
    auto* slider = qobject_cast<QSlider*>(dialogControl(dialog, id));
    if (slider->isEnabled()) {
        slider->setSliderDown(true);
        slider->setSliderPosition(position);
        slider->setSliderDown(false);
    }
}

// Takes the row with Return, as from the keyboard.
void userChooseComboRow(Dialog* dialog, int id, int row)
{
    auto* combo = qobject_cast<QComboBox*>(activeControl(dialog, id));
    if (!combo->isEnabled())
        return;
    combo->showPopup();
    if (row >= 0 && row < combo->count()) {
        combo->view()->setCurrentIndex(combo->model()->index(row, combo->modelColumn()));
        QTest::keyClick(combo->view(), Qt::Key_Return);
    }
    if (combo->view()->isVisible())
        combo->hidePopup();
}

void userClick(Dialog* dialog, int id) { QTest::mouseClick(activeControl(dialog, id), Qt::LeftButton); }
// A chooser, if any, runs in here.
void userFocus(Dialog* dialog, int id) { activeControl(dialog, id)->setFocus(Qt::MouseFocusReason); }

void userKeys(Dialog* dialog, const std::vector<UserKey>& keys)
{
    for (UserKey key : keys) {
        activate(dialog);
        pressKey(dialog->focusWidget() ? dialog->focusWidget() : dialog, key);
    }
}

int focusedControl(Dialog* dialog)
{
    return dialog->focusWidget() ? dialog->focusWidget()->property("controlId").toInt() : 0;
}

void queueChooserPresses(const std::vector<std::pair<int, int>>& presses)
{
    queuedPresses.insert(queuedPresses.end(), presses.begin(), presses.end());
}

unsigned textLimitOf(Dialog* dialog, int id)
{
    auto it = dialog->edits.find(id);
    return it == dialog->edits.end() ? 0 : it->second.limit;
}

int textCutOff(Dialog* dialog, int id, const std::string& text)
{
    QWidget* widget = dialogControl(dialog, id);
    const QString shown = QString::fromLatin1(text.c_str());
    if (auto* caption = widget->findChild<QLabel*>(QStringLiteral("caption"))) // a multi-line button's wraps
        return qMax(0, caption->fontMetrics().boundingRect(QRect(0, 0, caption->width(), 1000), Qt::TextWordWrap,
                                                         shown).height() - caption->height());
    // Labels do not wrap; an edit has its frame and 2 pixels of its own a side.
    const int frame = widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int inset = qobject_cast<QLineEdit*>(widget) ? frame + 2 : 0;
    return qMax(0, widget->fontMetrics().horizontalAdvance(shown) - widget->contentsRect().width() + 2 * inset);
}

bool shownAsItIs(Dialog* dialog, int id)
{
    // What the window's backing store holds, offscreen the screen's pixels.
    const QRect area = dialogControl(dialog, id)->geometry();
    const QImage screen = dialog->screen()->grabWindow(dialog->winId()).toImage().copy(area);
    return screen.convertToFormat(QImage::Format_RGB32) == dialog->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}
