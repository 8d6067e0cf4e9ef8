// The behaviour suite's driver for the Qt host: the real main dialog, offscreen,
// acted on through Qt's own input paths.

#include <cmath>
#include <cstdlib>
#include <cstring>
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
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ansi_text.h"
#include "host_driver.h"
#include "symbol_grid.h"
#include "dialog_qt.h"
#include "main_dialog.h"
#include "prompts_recorder.h"

namespace {

std::deque<std::pair<int, int>> queuedPresses;

void pressKey(QWidget* widget, int key)
{
    static const Qt::Key keys[] = {Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                                   Qt::Key_Down,   Qt::Key_PageUp,   Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
                                   Qt::Key_Return, Qt::Key_Space,    Qt::Key_Escape};
    QTest::keyClick(widget, keys[key], key == KeyShiftTab ? Qt::ShiftModifier : Qt::NoModifier);
}

void feedChooser(QPointer<QDialog> chooser);

// Notices every symbol chooser that opens and feeds it the queued presses from
// inside its own event loop.
class ChooserFeeder : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("symbolChooser")) {
            QPointer<QDialog> chooser = qobject_cast<QDialog*>(watched);
            QTimer::singleShot(0, [chooser] { feedChooser(chooser); });
        }
        return false;
    }
};

void feedChooser(QPointer<QDialog> chooser)
{
    if (!chooser || !chooser->isVisible())
        return;
    if (queuedPresses.empty()) {
        ADD_FAILURE() << "a symbol chooser opened with no press queued for it";
        chooser->done(QDialog::Rejected); // ends the run; reject() would be ignored
        return;
    }
    const std::pair<int, int> press = queuedPresses.front();
    queuedPresses.pop_front();
    auto* picture = chooser->findChild<QLabel*>(QStringLiteral("symbolPicture"));
    if (press.first == kChooserKey) {
        pressKey(chooser, press.second);
    } else if (!picture) {
        ADD_FAILURE() << "the symbol chooser has no picture";
        chooser->done(QDialog::Rejected);
        return;
    } else { // the first screen pixel on that picture pixel, at the picture's scale
        const qreal scale = picture->pixmap().width() / kSymbolPictureWidth / picture->pixmap().devicePixelRatio();
        const auto screen = [scale](int pixel) { return static_cast<int>(std::ceil(pixel * scale)); };
        const QPoint at = picture->contentsRect().topLeft() + QPoint(screen(press.first), screen(press.second));
        QTest::mousePress(picture, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, at);
    }
    if (chooser && chooser->isVisible())
        QTimer::singleShot(0, [chooser] { feedChooser(chooser); });
}

void ensureApplication()
{
    if (QApplication::instance())
        return;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "korvel-tests";
    static char* argv[] = {name, nullptr};
    auto* application = new QApplication(argc, argv); // one per test program, kept to its end
    application->installEventFilter(new ChooserFeeder);
}

// Input reaches only the active window, as on a desktop.
void activate(Dialog* dialog)
{
    if (QApplication::activeWindow() == dialog)
        return;
    dialog->activateWindow();
    QApplication::setActiveWindow(dialog);
}

void sendKey(QWidget* widget, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

QLineEdit* lineEdit(Dialog* dialog, int id)
{
    auto* edit = qobject_cast<QLineEdit*>(dialogControl(dialog, id));
    EXPECT_NE(edit, nullptr) << "control " << id << " is no single-line edit";
    return edit;
}

} // namespace

Dialog* openMainDialogForTest(const PortFinder& findPorts)
{
    ensureApplication();
    queuedPresses.clear();
    clearRecordedPrompts();
    setMessageHook({});
    setPauseHook({});
    Dialog* dialog = createMainDialog(findPorts);
    dialog->show();
    activate(dialog);
    return dialog;
}

void closeMainDialogForTest(Dialog* dialog)
{
    destroyMainDialog(dialog);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void userType(Dialog* dialog, int id, const std::string& characters)
{
    QLineEdit* edit = lineEdit(dialog, id);
    if (!edit)
        return;
    for (char c : characters) {
        // Keystrokes straight to the edit: typing gives no focus notification.
        edit->end(false);
        const QChar character(utf16FromAnsi(static_cast<unsigned char>(c)));
        const int key = character.isLetter() ? character.toUpper().unicode() : character.unicode();
        sendKey(edit, key, QString(character));
    }
}

void userBackspace(Dialog* dialog, int id, int count)
{
    QLineEdit* edit = lineEdit(dialog, id);
    if (!edit)
        return;
    for (int i = 0; i < count; ++i) {
        edit->end(false);
        sendKey(edit, Qt::Key_Backspace, QString());
    }
}

void userDragTrackbar(Dialog* dialog, int id, int position)
{
    auto* slider = qobject_cast<QSlider*>(dialogControl(dialog, id));
    ASSERT_NE(slider, nullptr) << "control " << id << " is no trackbar";
    if (!slider->isEnabled())
        return;
    // What QSlider does for a drag of its handle: pressed, moved (each step an
    // action), released.
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
}

void userChooseComboRow(Dialog* dialog, int id, int row)
{
    auto* combo = qobject_cast<QComboBox*>(dialogControl(dialog, id));
    ASSERT_NE(combo, nullptr) << "control " << id << " is no combo box";
    if (!combo->isEnabled() || row < 0 || row >= combo->count())
        return;
    activate(dialog);
    // Opens the list and takes the row with Return, as from the keyboard.
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    list->setCurrentIndex(combo->model()->index(row, combo->modelColumn()));
    QTest::keyClick(list, Qt::Key_Return);
    if (list->isVisible())
        combo->hidePopup();
}

void userOpenComboList(Dialog* dialog, int id)
{
    auto* combo = qobject_cast<QComboBox*>(dialogControl(dialog, id));
    if (combo && combo->isEnabled()) {
        combo->showPopup();
        combo->hidePopup();
    }
}

void userClick(Dialog* dialog, int id)
{
    QWidget* widget = dialogControl(dialog, id);
    ASSERT_NE(widget, nullptr) << "no control " << id;
    activate(dialog);
    QTest::mouseClick(widget, Qt::LeftButton);
}

void userFocus(Dialog* dialog, int id)
{
    QWidget* widget = dialogControl(dialog, id);
    ASSERT_NE(widget, nullptr) << "no control " << id;
    activate(dialog);
    widget->setFocus(Qt::MouseFocusReason); // a chooser, if any, runs in here
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

void userPaste(Dialog* dialog, int id, const std::string& text)
{
    QLineEdit* edit = lineEdit(dialog, id);
    if (!edit)
        return;
    QApplication::clipboard()->setText(QString::fromStdU16String(utf16FromAnsi(text)));
    edit->end(false);
    edit->paste();
}

void userCloseMainDialog(Dialog* dialog) { dialog->close(); }

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
