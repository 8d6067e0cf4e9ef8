// The behaviour suite's driver for the Qt host: the real main dialog, offscreen,
// acted on through Qt's own input paths.

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
    if (!picture) {
        ADD_FAILURE() << "the symbol chooser has no picture";
        chooser->done(QDialog::Rejected);
        return;
    }
    const qreal ratio = picture->pixmap().devicePixelRatio();
    const QPoint at = picture->contentsRect().topLeft() +
                      QPoint(static_cast<int>(press.first / ratio), static_cast<int>(press.second / ratio));
    QTest::mousePress(picture, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, at);
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
