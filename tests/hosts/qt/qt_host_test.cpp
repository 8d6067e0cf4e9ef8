// The Qt host, offscreen, with a stand-in for the dialog logic that notes every
// notification: where Qt differs from Win32 and the host must bend it back.

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "host_driver.h"
#include "port_table.h"
#include "symbol_chooser.h"
#include "symbol_grid.h"
#include "control_ids.h"
#include "dialog_qt.h"
#include "layout.h"
#include "main_dialog.h"

// ---- the stand-in for the logic: notes, and opens the chooser as the logic does ----

namespace {
constexpr int kScroll = -1;
std::vector<std::pair<int, int>> calls; // id, notification
std::function<void(Dialog*)> hook;
} // namespace

void initMainDialog(Dialog*) {}
void handleCommand(Dialog* dialog, int id, int notification)
{
    calls.emplace_back(id, notification);
    if (hook)
        hook(dialog);
    if (notification == NotifySetFocus && (id == IdSymbol0 || id == IdSymbol1)) {
        runSymbolChooser(dialog);
        setItemText(dialog, id, dialogState(dialog).pick.chosen);
    }
}
void handleHScroll(Dialog* dialog) { handleCommand(dialog, 0, kScroll); }

namespace {

class QtHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = openMainDialogForTest(nullptr);
        calls.clear();
    }
    void TearDown() override
    {
        hook = {};
        closeMainDialogForTest(dialog);
    }
    std::string text(int id) { return getItemText(dialog, id, 1023); }
    long changes(int id) { return std::count(calls.begin(), calls.end(), std::make_pair(id, int(NotifyChange))); }
    template <typename T>
    T* widget(int id) { return qobject_cast<T*>(dialogControl(dialog, id)); }

    Dialog* dialog = nullptr;
};

// Win32 MulDiv for positive values, written out again rather than trusting the host's.
int mulDiv(int a, int b, int c) { return (2 * a * b + c) / (2 * c); }

TEST_F(QtHost, EveryControlSitsAtItsLayoutRectInPixelsOfTheDialogFont)
{
    const QFontMetrics metrics(dialog->font());
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ") +
                                                  QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
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
        if (c.id >= 0) {
            EXPECT_EQ(children[i], dialogControl(dialog, c.id));
        }
        // A combo's height in the table includes its open list; closed it is edit-high.
        const int height = c.kind == KindCombo ? mulDiv(12, y, 8) : mulDiv(c.height, y, 8);
        EXPECT_EQ(children[i]->geometry(), QRect(mulDiv(c.x, x, 4), mulDiv(c.y, y, 8), mulDiv(c.width, x, 4), height));
    }
}

// The edges of Windows' rounding, which the font at hand need not reach.
TEST(DialogUnits, RoundAsWindowsDoes)
{
    EXPECT_EQ(averageLetterWidth(52 * 6 + 25), 6);
    EXPECT_EQ(averageLetterWidth(52 * 6 + 26), 7);
    EXPECT_EQ(dluToPixelsX(194, {7, 16}), 340); // 339.5
    EXPECT_EQ(dluToPixelsY(4, {6, 13}), 7);     // 6.5
}

// Upper-casing letter by letter (no "SS" for "ß"), a text ending at a NUL, and a
// limit that holds back what comes in but never cuts what is there.
TEST_F(QtHost, EditsTakeTextAsAWin32EditDoes)
{
    enum How { Set, Type, Paste };
    const struct {
        int id;
        unsigned limit;
        const char* before;
        How how;
        std::string input;
        long changes;
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
            QApplication::clipboard()->setText(QString::fromLatin1(c.input.c_str()));
            widget<QLineEdit>(c.id)->setCursorPosition(1); // after the first character, if any
            widget<QLineEdit>(c.id)->paste();
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
    setComboRowData(dialog, IdPathType0, addComboRow(dialog, IdPathType0, "RELAY"), 3);
    setComboSelection(dialog, IdPathType0, 0);
    setComboSelection(dialog, IdBaud, 1);
    setCheck(dialog, IdTiny13, false);
    enableItem(dialog, IdSecondConfig, false);
    setItemText(dialog, IdSecondConfig, "Enable 2nd Config");
    EXPECT_TRUE(calls.empty());
}

// Keys arrive as actions before the slider's value follows: the logic must
// already read the new position, and a minimum it raises meanwhile holds.
TEST_F(QtHost, TrackbarKeysScrollWithTheNewPositionInPlace)
{
    setTrackbarRangeMin(dialog, IdTxDelay1, 6);
    setTrackbarRangeMax(dialog, IdTxDelay1, 75);
    setTrackbarPos(dialog, IdTxDelay1, 35);
    std::vector<int> seen;
    hook = [&seen](Dialog* d) { seen.push_back(getTrackbarPos(d, IdTxDelay1)); };
    QTest::keyClick(widget<QSlider>(IdTxDelay1), Qt::Key_Right);
    QTest::keyClick(widget<QSlider>(IdTxDelay1), Qt::Key_PageDown);
    EXPECT_EQ(seen, (std::vector<int>{36, 36 + 69 / 5})) << "a page is a fifth of the range";

    hook = [](Dialog* d) { setTrackbarRangeMin(d, IdTxDelay1, 70); };
    QTest::keyClick(widget<QSlider>(IdTxDelay1), Qt::Key_Left);
    EXPECT_EQ(widget<QSlider>(IdTxDelay1)->value(), 70);
}

TEST_F(QtHost, ReturnEscapeAndAClosingContextMenuDoNothing)
{
    userFocus(dialog, IdCallsign0);
    QTest::keyClick(dialogControl(dialog, IdCallsign0), Qt::Key_Return);
    QTest::keyClick(dialogControl(dialog, IdCallsign0), Qt::Key_Escape);
    // The focus a closing menu hands back is no new focus: it would reopen a chooser.
    dialogControl(dialog, IdSymbol0)->setFocus(Qt::PopupFocusReason);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{IdCallsign0, NotifySetFocus}}));
}

// The list names the Linux device of each port; the box keeps the COM name.
TEST_F(QtHost, ARowsDetailShowsInTheListAndTheTooltip)
{
    const int row = addComboRow(dialog, IdPort, "COM3");
    setComboRowDetail(dialog, IdPort, row, "/dev/ttyUSB2");
    setComboSelection(dialog, IdPort, row);
    EXPECT_EQ(widget<QComboBox>(IdPort)->toolTip(), "/dev/ttyUSB2");
    EXPECT_EQ(text(IdPort), "COM3");
    EXPECT_GE(widget<QComboBox>(IdPort)->view()->minimumWidth(),
              widget<QComboBox>(IdPort)->fontMetrics().horizontalAdvance(QStringLiteral("COM3 (/dev/ttyUSB2)")));
}

// ---- the symbol chooser ----

TEST_F(QtHost, TheChoosersSecondPressPicksTheCellUnderItsPixel)
{
    const struct {
        int x, y;
        const char* symbol;
    } cases[] = {
        {0, 0, "!/"},   {20, 20, "!/"}, {20, 21, "1/"},   {273, 21, ">/"}, {294, 21, "?/"}, {335, 0, "0/"},
        {0, 105, "q/"}, {335, 125, "--"}, {-1, 5, ">/"}, {336, 0, ">/"},  {0, 126, ">/"},  {100, 300, ">/"},
    };
    for (const auto& c : cases) {
        queueChooserPresses({{5, 5}, {c.x, c.y}});
        userFocus(dialog, IdSymbol0);
        EXPECT_EQ(text(IdSymbol0), c.symbol) << "at " << c.x << "," << c.y;
    }
}

// The grid's black lines and the red mark under ">/" (row 2's top line, x 274 to
// 294) at their own pixels from the picture's contents, where presses are
// measured from: not scaled or shifted. Then the ways a dialog is left, and presses
// beside the picture, of which only one that activates the chooser counts.
TEST_F(QtHost, TheChooserDrawsTheBitmapAtThePressOriginAndEndsOnlyWithAPick)
{
    const QColor black(0, 0, 0), red(255, 0, 0);
    const std::vector<std::pair<QPoint, QColor>> expected = {
        {{0, 0}, black},  {{21, 10}, black}, {{10, 21}, black},  {{315, 105}, black}, {{273, 42}, black},
        {{274, 42}, red}, {{294, 42}, red},  {{295, 42}, black}, {{0, 126}, black},   {{336, 126}, black},
    };
    bool inspected = false;
    QTimer::singleShot(0, [&] { // inside the chooser's loop, before the queued press
        QDialog* chooser = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("symbolChooser") && w->isVisible())
                chooser = qobject_cast<QDialog*>(w);
        ASSERT_NE(chooser, nullptr);
        auto* picture = chooser->findChild<QLabel*>(QStringLiteral("symbolPicture"));
        const QImage drawn = picture->grab().toImage();
        for (const auto& [at, colour] : expected)
            EXPECT_EQ(drawn.pixelColor(picture->contentsRect().topLeft() + at), colour) << at.x() << "," << at.y();

        chooser->close();
        chooser->reject();
        EXPECT_TRUE(chooser->isVisible());

        QLabel* label = nullptr;
        for (QLabel* l : chooser->findChildren<QLabel*>())
            if (l != picture)
                label = l;
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
