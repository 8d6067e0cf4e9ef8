// The Qt host, offscreen, with the real logic and the behaviour suite's driver:
// what only Qt can get wrong, where the host bends it to the Win32 behaviours the
// logic relies on.

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "behaviour_fixture.h"
#include "dialog_qt.h"
#include "layout.h"

namespace {

class QtHost : public MainDialogTest {
protected:
    void setUpPorts() override { ports = {{"ttyUSB2", "/dev/ttyUSB2", "", "/dev/serial/by-id/usb-x", true, {}}}; }
    template <typename T>
    T* widget(int id) { return qobject_cast<T*>(dialogControl(dialog, id)); }
};

// Win32 MulDiv for positive values, written out again rather than trusting the host's.
int mulDiv(int a, int b, int c) { return (2 * a * b + c) / (2 * c); }

TEST_F(QtHost, EveryControlSitsAtItsLayoutRectInPixelsOfTheDialogFont)
{
    const QFontMetrics metrics(dialog->font());
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int x = (letters / 26 + 1) / 2; // the average letter width, rounded as Windows does
    const int y = metrics.height();
    EXPECT_NEAR(x, 7, 2) << "a sans serif near the Win32 dialog font";
    EXPECT_NEAR(y, 16, 3);
    EXPECT_EQ(dialog->size(), QSize(mulDiv(KORVEL_MAIN_WIDTH, x, 4), mulDiv(KORVEL_MAIN_HEIGHT, y, 8)));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "not resizable";
    const QList<QWidget*> children = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), mainDialogControlCount);
    for (int i = 0; i < mainDialogControlCount; ++i) {
        const ControlLayout& c = mainDialogLayout[i];
        SCOPED_TRACE(testing::Message() << "id " << c.id << " \"" << c.caption << "\"");
        EXPECT_EQ(children[i], c.id >= 0 ? dialogControl(dialog, c.id) : children[i]);
        // A combo's height in the table includes its open list; closed it is edit-high.
        const int height = mulDiv(c.kind == KindCombo ? 12 : c.height, y, 8);
        EXPECT_EQ(children[i]->geometry(), QRect(mulDiv(c.x, x, 4), mulDiv(c.y, y, 8), mulDiv(c.width, x, 4), height));
    }
}

// Upper-casing letter by letter (no "SS" for "ß"), a text ending at a NUL, and a
// limit that holds back what is pasted but never cuts what is there.
TEST_F(QtHost, EditsTakeTextAsAWin32EditDoes)
{
    const struct {
        int id;
        unsigned limit;
        const char* before;
        bool paste; // after the first character; else set by the program
        std::string input;
        const char* after;
    } cases[] = {
        {IdPath1, 30000, "", false, "wide2-2,\xe4\xdf", "WIDE2-2,\xc4\xdf"},
        {IdSymbol1, 30000, "", false, std::string("E/\0x", 4), "E/"},
        {IdComment0, 5, "0123456789", false, "a much longer text", "a much longer text"},
        {IdComment0, 6, "abc", true, "0123456789", "a012bc"},
        {IdComment0, 0, "keep", true, "xyz", "keep"},
    };
    for (const auto& c : cases) {
        setItemText(dialog, c.id, c.before);
        setTextLimit(dialog, c.id, c.limit);
        if (c.paste) {
            QApplication::clipboard()->setText(QString::fromLatin1(c.input.c_str()));
            widget<QLineEdit>(c.id)->setCursorPosition(1);
            widget<QLineEdit>(c.id)->paste();
        } else {
            setItemText(dialog, c.id, c.input);
        }
        EXPECT_EQ(text(c.id), c.after) << "case " << &c - cases;
    }
}

// The focus a closing context menu hands back opens no chooser (the driver fails a
// chooser it has no press for). The port list names each port's device, and Tab
// shows the start of its field, the port's name. The log shows its focus as an edit.
TEST_F(QtHost, MenusThePortListAndTheFocus)
{
    dialogControl(dialog, IdSymbol0)->setFocus(Qt::PopupFocusReason);
    userFocus(dialog, IdProgram);
    userKeys(dialog, {KeyTab});
    QLineEdit* port = widget<QComboBox>(IdPort)->lineEdit();
    EXPECT_EQ(port->cursorPosition(), 0);
    EXPECT_EQ(port->selectedText(), "ttyUSB2");
    const auto frameTop = [this](int id) { return widget<QWidget>(id)->grab().toImage().pixelColor(30, 0); };
    const QColor unfocused = frameTop(IdLog);
    userFocus(dialog, IdPath0);
    const QColor path = frameTop(IdPath0);
    userFocus(dialog, IdLog);
    EXPECT_EQ(frameTop(IdLog), path);
    EXPECT_NE(frameTop(IdLog), unfocused);
    EXPECT_EQ(text(IdPort), "ttyUSB2");
    EXPECT_EQ(widget<QComboBox>(IdPort)->toolTip(), "/dev/serial/by-id/usb-x");
    EXPECT_GE(widget<QComboBox>(IdPort)->view()->minimumWidth(),
              widget<QComboBox>(IdPort)->fontMetrics().horizontalAdvance(QStringLiteral("ttyUSB2 (/dev/serial/by-id/usb-x)")));
}

// The ways a dialog is left, and presses beside the picture, of which only one that
// activates the chooser counts. (The driver presses where the grid is painted, so
// every pick also checks that presses are measured from there.)
TEST_F(QtHost, TheChooserEndsOnlyWithAPick)
{
    bool inspected = false;
    QTimer::singleShot(0, [&] { // inside the chooser's loop, before the queued press
        QDialog* chooser = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("symbolChooser") && w->isVisible())
                chooser = qobject_cast<QDialog*>(w);
        ASSERT_NE(chooser, nullptr);
        auto* picture = chooser->findChild<QLabel*>(QStringLiteral("symbolPicture"));
        chooser->close();
        chooser->reject();
        EXPECT_TRUE(chooser->isVisible());
        QLabel* label = nullptr;
        for (QLabel* l : chooser->findChildren<QLabel*>())
            label = l != picture ? l : label;
        QApplication::setActiveWindow(chooser);
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_FALSE(dialogState(dialog).pick.armed);
        QApplication::setActiveWindow(dialog);
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_TRUE(dialogState(dialog).pick.armed);
        inspected = true;
    });
    queueChooserPresses({{64, 64}}); // armed already: this one picks
    userFocus(dialog, IdSymbol0);
    EXPECT_TRUE(inspected);
    EXPECT_EQ(text(IdSymbol0), "T/");
}

} // namespace
