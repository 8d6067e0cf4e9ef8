// The Qt host's platform layer, offscreen, with a stand-in for the dialog logic
// that notes every notification: what Qt does differently from Win32 and the
// host must bend back.

#include <functional>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include "host_driver.h"
#include "serial/port_table.h"
#include "ui/control_ids.h"
#include "ui/dialog_qt.h"
#include "ui/layout.h"
#include "ui/main_dialog.h"

// ---- the stand-in for the logic ----

bool secondConfigEnabled = true;
bool secondConfigOffByUser = false;

namespace {
constexpr int kScroll = -1; // the notification noted for a scroll

struct Call {
    int id, notification;
    std::string text; // the control's text as the logic saw it
};
std::vector<Call> calls;
std::function<void(Dialog*, int id, int notification)> hook;
} // namespace

void initMainDialog(Dialog*) {}
void handleCommand(Dialog* dialog, int id, int notification)
{
    calls.push_back({id, notification, getItemText(dialog, id, 1023)});
    if (hook)
        hook(dialog, id, notification);
}
void handleHScroll(Dialog* dialog) { handleCommand(dialog, 0, kScroll); }

namespace {

class QtHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = openMainDialogForTest();
        calls.clear();
    }
    void TearDown() override
    {
        hook = {};
        closeMainDialogForTest(dialog);
    }
    std::string text(int id) { return getItemText(dialog, id, 1023); }
    int changes(int id)
    {
        int n = 0;
        for (const Call& call : calls)
            n += call.id == id && call.notification == NotifyChange;
        return n;
    }

    Dialog* dialog = nullptr;
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
    EXPECT_EQ(dialog->size(), QSize(mulDiv(kMainDialogWidth, x, 4), mulDiv(kMainDialogHeight, y, 8)));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "not resizable";

    const QList<QWidget*> children = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), mainDialogControlCount);
    for (int i = 0; i < mainDialogControlCount; ++i) {
        const ControlLayout& c = mainDialogLayout[i];
        SCOPED_TRACE(testing::Message() << "id " << c.id << " \"" << c.caption << "\"");
        if (c.id >= 0) {
            EXPECT_EQ(children[i], dialogControl(dialog, c.id));
        }
        // A combo's height in the table includes its open list; closed it is edit-high.
        const int height = c.kind == KindCombo ? mulDiv(12, y, 8) : mulDiv(c.height, y, 8);
        EXPECT_EQ(children[i]->geometry(),
                  QRect(mulDiv(c.x, x, 4), mulDiv(c.y, y, 8), mulDiv(c.width, x, 4), height));
    }
}

// Upper-casing letter by letter (no "SS" for "ß"), ending at a NUL, and a limit
// that holds back what comes in but never cuts what is there.
TEST_F(QtHost, EditsTakeTextAsAWin32EditDoes)
{
    enum How { Set, Type, Paste };
    const struct {
        int id;
        unsigned limit;
        const char* before;
        How how;
        std::string input;
        int changes;
        const char* after;
    } cases[] = {
        {IdPath0, 30000, "", Set, "compressed", 1, "COMPRESSED"},
        {IdPath1, 30000, "", Set, "wide2-2,\xe4\xdf", 1, "WIDE2-2,\xc4\xdf"},
        {IdPath0, 30000, "", Paste, "wide1-1", 1, "WIDE1-1"},
        {IdSymbol1, 30000, "", Set, std::string("E/\0x", 4), 1, "E/"},
        {IdComment0, 5, "0123456789", Type, "x", 0, "0123456789"},
        {IdComment0, 5, "0123456789", Set, "a much longer text", 1, "a much longer text"},
        {IdComment0, 6, "abc", Paste, "0123456789", 1, "a012bc"},
        {IdComment1, 0, "keep", Paste, "xyz", 0, "keep"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        setItemText(dialog, c.id, c.before);
        setTextLimit(dialog, c.id, c.limit);
        calls.clear();
        if (c.how == Set) {
            setItemText(dialog, c.id, c.input);
        } else if (c.how == Type) {
            userType(dialog, c.id, c.input);
        } else {
            auto* edit = qobject_cast<QLineEdit*>(dialogControl(dialog, c.id));
            QApplication::clipboard()->setText(QString::fromLatin1(c.input.c_str()));
            edit->setCursorPosition(1); // after the first character, if any
            edit->paste();
        }
        EXPECT_EQ(text(c.id), c.after);
        EXPECT_EQ(changes(c.id), c.changes);
    }
}

TEST_F(QtHost, ProgramWritesNotifyEvenWhenUnchanged)
{
    for (int id : {IdPath0, IdLog}) {
        setItemText(dialog, id, "RELAY");
        setItemText(dialog, id, "RELAY");
        EXPECT_EQ(changes(id), 2) << id;
    }
}

TEST_F(QtHost, ProgramChangesOfTrackbarsCombosAndButtonsRaiseNothing)
{
    setTrackbarRangeMax(dialog, IdDriveInterval0, 254);
    setTrackbarPos(dialog, IdDriveInterval0, 30);
    setTrackbarRangeMin(dialog, IdDriveInterval0, 60);
    EXPECT_EQ(getTrackbarPos(dialog, IdDriveInterval0), 60) << "a higher minimum takes the position along";
    const int row = addComboRow(dialog, IdPathType0, "RELAY");
    setComboRowData(dialog, IdPathType0, row, 3);
    setComboSelection(dialog, IdPathType0, row);
    setComboSelection(dialog, IdBaud, 1);
    setCheck(dialog, IdTiny13, false);
    enableItem(dialog, IdSecondConfig, false);
    setItemText(dialog, IdSecondConfig, "Enable 2nd Config");
    EXPECT_TRUE(calls.empty());
}

// Keys and clicks beside the handle arrive as actions before the slider's value
// follows: the logic must already read the new position.
TEST_F(QtHost, TrackbarKeysScrollWithTheNewPositionInPlace)
{
    setTrackbarRangeMin(dialog, IdTxDelay1, 6);
    setTrackbarRangeMax(dialog, IdTxDelay1, 75);
    setTrackbarPos(dialog, IdTxDelay1, 35);
    std::vector<int> seen;
    hook = [&seen](Dialog* d, int, int) { seen.push_back(getTrackbarPos(d, IdTxDelay1)); };
    QSlider* slider = qobject_cast<QSlider*>(dialogControl(dialog, IdTxDelay1));
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_PageDown);
    EXPECT_EQ(seen, (std::vector<int>{36, 36 - 69 / 5})) << "a page is a fifth of the range";

    // A minimum the logic raises during the action holds.
    hook = [](Dialog* d, int, int) { setTrackbarRangeMin(d, IdTxDelay1, 70); };
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(slider->value(), 70);
}

TEST_F(QtHost, ReturnEscapeAndAClosingContextMenuDoNothing)
{
    userFocus(dialog, IdCallsign0);
    QTest::keyClick(dialogControl(dialog, IdCallsign0), Qt::Key_Return);
    QTest::keyClick(dialogControl(dialog, IdCallsign0), Qt::Key_Escape);
    // The focus a closing menu hands back is no new focus (it would reopen a chooser).
    dialogControl(dialog, IdSymbol0)->setFocus(Qt::PopupFocusReason);
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].notification, NotifySetFocus);
}

// The list names the Linux device of each port; the box keeps the COM name.
TEST_F(QtHost, PortRowsNameTheirLinuxDevice)
{
    const int row = addComboRow(dialog, IdPort, portNameTable[2]);
    setComboSelection(dialog, IdPort, row);
    auto* combo = qobject_cast<QComboBox*>(dialogControl(dialog, IdPort));
    const QString device = QString::fromLatin1(portDevicePath(2));
    EXPECT_FALSE(device.isEmpty());
    EXPECT_EQ(combo->toolTip(), device);
    EXPECT_EQ(text(IdPort), "COM3");
    const QString shown = QStringLiteral("COM3 (%1)").arg(device);
    EXPECT_GE(combo->view()->minimumWidth(), combo->fontMetrics().horizontalAdvance(shown));
}

} // namespace
