// The Qt host's platform layer, offscreen, against the recording stand-in of the
// dialog logic: geometry from the layout table, and the Win32 behaviours that the
// handlers rely on.

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include "host_driver.h"
#include "recording_logic.h"
#include "serial/port_table.h"
#include "ui/control_ids.h"
#include "ui/dialog_qt.h"
#include "ui/layout.h"

namespace {

// Win32 MulDiv, written out again so the test does not trust the host's own.
int expectMulDiv(int a, int b, int c) { return static_cast<int>((static_cast<long long>(a) * b * 2 + c) / (2 * c)); }

class QtHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setCommandHook({});
        setScrollHook({});
        dialog = openMainDialogForTest();
        logicCalls().clear();
    }
    void TearDown() override
    {
        setCommandHook({});
        setScrollHook({});
        closeMainDialogForTest(dialog);
    }

    template <typename T>
    T* widget(int id)
    {
        T* w = qobject_cast<T*>(dialogControl(dialog, id));
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }
    std::string text(int id) { return getItemText(dialog, id, 1023); }
    std::vector<std::string> changeTexts(int id)
    {
        std::vector<std::string> texts;
        for (const LogicCall& call : logicCalls())
            if (call.kind == LogicCall::Command && call.id == id && call.notification == NotifyChange)
                texts.push_back(call.text);
        return texts;
    }

    Dialog* dialog = nullptr;
};

// ---- the dialog as the layout table gives it ----

TEST_F(QtHostTest, EveryControlSitsAtItsLayoutRectInPixelsOfTheDialogFont)
{
    const QFontMetrics metrics(dialogFont());
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (letters / 26 + 1) / 2;
    const int baseY = metrics.height();
    EXPECT_EQ(dialog->baseUnits.x, baseX);
    EXPECT_EQ(dialog->baseUnits.y, baseY);

    const QList<QWidget*> children = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), mainDialogControlCount);
    for (int i = 0; i < mainDialogControlCount; ++i) {
        const ControlLayout& layout = mainDialogLayout[i];
        QWidget* child = children[i];
        SCOPED_TRACE(testing::Message() << "control " << layout.id << " \"" << layout.caption << "\"");
        if (layout.id >= 0) {
            EXPECT_EQ(child, dialogControl(dialog, layout.id));
        }
        const QRect expected(expectMulDiv(layout.x, baseX, 4), expectMulDiv(layout.y, baseY, 8),
                             expectMulDiv(layout.width, baseX, 4), expectMulDiv(layout.height, baseY, 8));
        if (layout.kind == KindCombo) {
            // The table's height includes the open list; the closed box is edit-high.
            EXPECT_EQ(child->geometry().topLeft(), expected.topLeft());
            EXPECT_EQ(child->width(), expected.width());
            EXPECT_EQ(child->height(), expectMulDiv(12, baseY, 8));
        } else {
            EXPECT_EQ(child->geometry(), expected);
        }
    }
}

TEST_F(QtHostTest, DialogHasTheTemplatesSizeCaptionFrameAndFont)
{
    const int baseX = dialog->baseUnits.x;
    const int baseY = dialog->baseUnits.y;
    EXPECT_EQ(dialog->size(), QSize(expectMulDiv(kMainDialogWidth, baseX, 4), expectMulDiv(kMainDialogHeight, baseY, 8)));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "the dialog must not be resizable";
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Korvel Config V1.12"));
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(dialog->windowIcon().isNull());
    EXPECT_EQ(dialog->font().pixelSize(), 13);
    // A sans serif near Tahoma's 7 x 16 at that size.
    EXPECT_GE(baseX, 5);
    EXPECT_LE(baseX, 9);
    EXPECT_GE(baseY, 13);
    EXPECT_LE(baseY, 19);
}

TEST_F(QtHostTest, ControlsCarryTheirLayoutStyles)
{
    EXPECT_EQ(widget<QLineEdit>(IdSsid0)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(widget<QLineEdit>(IdSymbol1)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(widget<QLabel>(IdTxDelayValue0)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QLabel* hops = widget<QLabel>(IdHopCount1);
    EXPECT_EQ(hops->frameShape(), QFrame::Panel);
    EXPECT_EQ(hops->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(widget<QLabel>(IdStatus)->frameShape(), QFrame::NoFrame);

    for (int id : {IdHops0, IdTxDelay1, IdDriveInterval0, IdFrames1}) {
        QSlider* slider = widget<QSlider>(id);
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
        EXPECT_EQ(slider->tickPosition(), QSlider::TicksBothSides);
    }
    for (int id : {IdPathType0, IdPathType1, IdPort, IdBaud})
        EXPECT_TRUE(widget<QComboBox>(id)->isEditable()) << id;

    QPlainTextEdit* log = widget<QPlainTextEdit>(IdLog);
    EXPECT_EQ(log->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(log->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(log->isReadOnly());

    EXPECT_EQ(text(IdProgram), "Generate Config and Programm");
    EXPECT_FALSE(widget<QPushButton>(IdProgram)->autoDefault()) << "Return must not press it";
    EXPECT_EQ(widget<QGroupBox>(IdConfig1Group)->title(), QStringLiteral("Config 1"));
    EXPECT_NE(qobject_cast<QRadioButton*>(dialogControl(dialog, IdTiny13)), nullptr);
}

TEST_F(QtHostTest, OpeningActivatesNoControlAndNotifiesNothing)
{
    EXPECT_TRUE(dialog->isActiveWindow());
    EXPECT_EQ(QApplication::focusWidget(), dialog);
    EXPECT_TRUE(logicCalls().empty());

    // Leaving the window and coming back does not hand the focus to the edit
    // that had it either.
    userFocus(dialog, IdComment0);
    ASSERT_EQ(countCalls(LogicCall::Command, IdComment0, NotifySetFocus), 1);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(dialog);
    EXPECT_EQ(QApplication::focusWidget(), dialog);
    EXPECT_EQ(countCalls(LogicCall::Command, IdComment0, NotifySetFocus), 1);
}

TEST_F(QtHostTest, ReturnAndEscapeDoNothingInTheMainDialog)
{
    // No dialog manager keys: no default button, no cancel.
    userFocus(dialog, IdCallsign0);
    QTest::keyClick(dialogControl(dialog, IdCallsign0), Qt::Key_Return);
    QTest::keyClick(dialogControl(dialog, IdCallsign0), Qt::Key_Escape);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(countCalls(LogicCall::Command, IdProgram), 0);
    EXPECT_EQ(countCalls(LogicCall::Command, IdSecondConfig), 0);
    EXPECT_EQ(widget<QSlider>(IdHops0)->focusPolicy(), Qt::ClickFocus) << "trackbars have no tab stop";
}

// ---- edits ----

TEST_F(QtHostTest, UpperCaseEditsUpperCaseWhatIsTypedAndWhatIsSet)
{
    userType(dialog, IdCallsign0, "dl1abc");
    EXPECT_EQ(text(IdCallsign0), "DL1ABC");
    userType(dialog, IdSsid1, "x1");
    EXPECT_EQ(text(IdSsid1), "X1");
    setItemText(dialog, IdPath0, "compressed");
    EXPECT_EQ(text(IdPath0), "COMPRESSED");
    setItemText(dialog, IdPath1, "wide2-2,\xe4");
    EXPECT_EQ(text(IdPath1), "WIDE2-2,\xc4") << "one character per character, Latin-1 included";

    setItemText(dialog, IdSymbol1, std::string("E/\0x", 4));
    EXPECT_EQ(text(IdSymbol1), "E/") << "a text ends at its first NUL";

    // Symbol and comment edits keep the case.
    userType(dialog, IdSymbol0, "a");
    setItemText(dialog, IdComment1, "Hello");
    EXPECT_EQ(text(IdSymbol0), "a");
    EXPECT_EQ(text(IdComment1), "Hello");
}

TEST_F(QtHostTest, EveryTypedCharacterIsOneChangeSeenWithItsText)
{
    userType(dialog, IdCallsign1, "ab1");
    EXPECT_EQ(changeTexts(IdCallsign1), (std::vector<std::string>{"A", "AB", "AB1"}));
    userBackspace(dialog, IdCallsign1, 2);
    EXPECT_EQ(changeTexts(IdCallsign1), (std::vector<std::string>{"A", "AB", "AB1", "AB", "A"}));
    userBackspace(dialog, IdCallsign1, 3);
    EXPECT_EQ(text(IdCallsign1), "");
    EXPECT_EQ(changeTexts(IdCallsign1).size(), 6u) << "backspace on an empty edit changes nothing";
}

TEST_F(QtHostTest, TextLimitHoldsTypingBackButNeverCutsThePresentText)
{
    setItemText(dialog, IdComment0, "0123456789");
    setTextLimit(dialog, IdComment0, 5);
    EXPECT_EQ(text(IdComment0), "0123456789");
    EXPECT_EQ(textLimitOf(dialog, IdComment0), 5u);
    logicCalls().clear();

    userType(dialog, IdComment0, "x");
    EXPECT_EQ(text(IdComment0), "0123456789");
    EXPECT_TRUE(changeTexts(IdComment0).empty()) << "a refused keystroke is no change";

    userBackspace(dialog, IdComment0, 6);
    EXPECT_EQ(text(IdComment0), "0123");
    userType(dialog, IdComment0, "abc");
    EXPECT_EQ(text(IdComment0), "0123a");
    EXPECT_EQ(changeTexts(IdComment0).size(), 7u);

    // A program write is not bound by the limit.
    setItemText(dialog, IdComment0, "a much longer text");
    EXPECT_EQ(text(IdComment0), "a much longer text");
}

TEST_F(QtHostTest, TextLimitZeroTakesNoFurtherCharacter)
{
    setTextLimit(dialog, IdComment1, 0);
    userType(dialog, IdComment1, "abc");
    EXPECT_EQ(text(IdComment1), "");
    setItemText(dialog, IdComment1, "keep");
    userType(dialog, IdComment1, "s");
    EXPECT_EQ(text(IdComment1), "keep");
    userBackspace(dialog, IdComment1, 1);
    EXPECT_EQ(text(IdComment1), "kee") << "deleting stays possible";
    EXPECT_EQ(textLimitOf(dialog, IdComment1), 0u);
}

TEST_F(QtHostTest, PastedAndInsertedTextIsCutToTheLimitWhereItGoesIn)
{
    setItemText(dialog, IdComment0, "abc");
    setTextLimit(dialog, IdComment0, 6);
    QLineEdit* edit = widget<QLineEdit>(IdComment0);
    QApplication::clipboard()->setText(QStringLiteral("0123456789"));
    edit->setCursorPosition(1);
    edit->paste();
    EXPECT_EQ(text(IdComment0), "a012bc");
    EXPECT_EQ(edit->cursorPosition(), 4);

    // Typing over a selection replaces it within the limit.
    edit->setSelection(0, 3);
    userType(dialog, IdComment0, "Z"); // the driver types at the end: selection gone
    EXPECT_EQ(text(IdComment0), "a012bc");
    edit->setSelection(0, 3);
    edit->insert(QStringLiteral("XYZW"));
    EXPECT_EQ(text(IdComment0), "XYZ2bc");

    // Upper-case edits upper-case what is pasted.
    QApplication::clipboard()->setText(QStringLiteral("wide1-1"));
    QLineEdit* path = widget<QLineEdit>(IdPath0);
    path->clear();
    path->paste();
    EXPECT_EQ(text(IdPath0), "WIDE1-1");
}

TEST_F(QtHostTest, ProgramWritesNotifyAtOnceNestedAndAlsoWhenUnchanged)
{
    setItemText(dialog, IdPath0, "RELAY");
    setItemText(dialog, IdPath0, "RELAY");
    setItemText(dialog, IdPath0, "relay");
    EXPECT_EQ(changeTexts(IdPath0), (std::vector<std::string>{"RELAY", "RELAY", "RELAY"}));

    // A handler that writes the edit again runs that change before the first
    // write returns, as EN_CHANGE does.
    logicCalls().clear();
    std::vector<std::string> order;
    setCommandHook([&order](Dialog* d, int id, int notification) {
        if (id != IdPath1 || notification != NotifyChange)
            return;
        const std::string now = getItemText(d, id, 1023);
        order.push_back("enter " + now);
        if (now.size() > 3)
            setItemText(d, id, now.substr(0, now.size() - 2));
        order.push_back("leave " + now);
    });
    setItemText(dialog, IdPath1, "ABCDEFG");
    order.push_back("returned");
    EXPECT_EQ(order, (std::vector<std::string>{"enter ABCDEFG", "enter ABCDE", "enter ABC", "leave ABC", "leave ABCDE",
                                               "leave ABCDEFG", "returned"}));
    EXPECT_EQ(text(IdPath1), "ABC");

    // A typed change that the handler rewrites leaves the handler's text.
    userType(dialog, IdPath1, "x");
    EXPECT_EQ(text(IdPath1), "AB");
    userType(dialog, IdPath1, "y");
    EXPECT_EQ(text(IdPath1), "ABY");
}

TEST_F(QtHostTest, LogEditTakesMultiLineTextAndNotifies)
{
    setItemText(dialog, IdLog, "$#Pe0 1,2 \n$#Pe1 3,4 ");
    EXPECT_EQ(text(IdLog), "$#Pe0 1,2 \n$#Pe1 3,4 ");
    EXPECT_EQ(changeTexts(IdLog).size(), 1u);
    EXPECT_EQ(getItemText(dialog, IdLog, 5), "$#Pe0");
}

TEST_F(QtHostTest, NumbersAreReadAsGetDlgItemIntReadsThemUnsigned)
{
    // The shared reading of dialog_text.h, on the text the control shows.
    const std::pair<const char*, unsigned> cases[] = {
        {"9", 9}, {" 12 ", 12}, {"007", 7}, {"12a", 12}, {"+5", 5}, {"4294967296", 0}, {"", 0}, {"a12", 0}, {"   ", 0},
    };
    for (const auto& [input, expected] : cases) {
        setItemText(dialog, IdComment0, input);
        EXPECT_EQ(getItemUnsigned(dialog, IdComment0), expected) << '"' << input << '"';
    }
    setItemUnsigned(dialog, IdSsid0, 15);
    EXPECT_EQ(text(IdSsid0), "15");
    setItemSigned(dialog, IdConfig0SpaceLeft, -7);
    EXPECT_EQ(text(IdConfig0SpaceLeft), "-7");
    EXPECT_EQ(getItemUnsigned(dialog, IdHopCount0), 0u);
    setItemUnsigned(dialog, IdHopCount0, 3);
    EXPECT_EQ(getItemUnsigned(dialog, IdHopCount0), 3u);
}

// ---- trackbars and combos ----

TEST_F(QtHostTest, ProgramChangesOfTrackbarsCombosAndChecksRaiseNothing)
{
    setTrackbarRangeMin(dialog, IdDriveInterval0, 5);
    setTrackbarRangeMax(dialog, IdDriveInterval0, 254);
    setTrackbarPos(dialog, IdDriveInterval0, 30);
    setTrackbarRangeMin(dialog, IdDriveInterval0, 60);
    EXPECT_EQ(getTrackbarPos(dialog, IdDriveInterval0), 60) << "a higher minimum takes the position along";
    const int row = addComboRow(dialog, IdPathType0, "RELAY");
    setComboRowData(dialog, IdPathType0, row, 3);
    setComboSelection(dialog, IdPathType0, row);
    setCheck(dialog, IdTiny13, true);
    enableItem(dialog, IdSecondConfig, false);
    setItemText(dialog, IdSecondConfig, "Enable 2nd Config");
    setItemText(dialog, IdStatus, "done.");
    EXPECT_TRUE(logicCalls().empty());
}

TEST_F(QtHostTest, TrackbarUserActionsScrollWithTheNewPositionInPlace)
{
    setTrackbarRangeMin(dialog, IdTxDelay1, 6);
    setTrackbarRangeMax(dialog, IdTxDelay1, 75);
    setTrackbarPos(dialog, IdTxDelay1, 35);
    std::vector<int> seen;
    setScrollHook([&seen](Dialog* d) { seen.push_back(getTrackbarPos(d, IdTxDelay1)); });

    userDragTrackbar(dialog, IdTxDelay1, 50);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 50) << "the drag ends with a scroll";
    for (int position : seen)
        EXPECT_EQ(position, 50);

    seen.clear();
    QSlider* slider = widget<QSlider>(IdTxDelay1);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(seen, (std::vector<int>{51}));
    QTest::keyClick(slider, Qt::Key_PageDown);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(getTrackbarPos(dialog, IdTxDelay1), 51 - 69 / 5) << "a page is a fifth of the range";

    // A handler that raises the minimum in the middle of an action keeps it.
    setScrollHook([](Dialog* d) { setTrackbarRangeMin(d, IdTxDelay1, 70); });
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(getTrackbarPos(dialog, IdTxDelay1), 70);
    EXPECT_EQ(slider->value(), 70);

    // Ticks at the two ends only.
    EXPECT_EQ(slider->tickInterval(), 75 - 70);
}

TEST_F(QtHostTest, AUserChoiceInACombo)
{
    QComboBox* combo = widget<QComboBox>(IdBaud);
    EXPECT_EQ(addComboRow(dialog, IdBaud, "1200 Bd"), 0);
    EXPECT_EQ(getComboSelection(dialog, IdBaud), -1) << "adding rows selects none";
    EXPECT_EQ(combo->currentText(), QString());
    EXPECT_EQ(addComboRow(dialog, IdBaud, "2400 Bd"), 1);
    EXPECT_EQ(addComboRow(dialog, IdBaud, "4800 Bd"), 2);
    setComboRowData(dialog, IdBaud, 1, 1);
    setComboRowData(dialog, IdBaud, 2, 2);
    EXPECT_EQ(getComboRowData(dialog, IdBaud, 0), 0) << "a new row's data is 0";
    EXPECT_EQ(getComboRowData(dialog, IdBaud, 2), 2);
    EXPECT_EQ(getComboRowData(dialog, IdBaud, -1), -1);
    EXPECT_EQ(getComboRowData(dialog, IdBaud, 3), -1);
    EXPECT_EQ(getComboRowData(dialog, IdBaud, getComboSelection(dialog, IdBaud)), -1);

    setComboSelection(dialog, IdBaud, 0);
    int seenSelection = -2;
    setCommandHook([&seenSelection](Dialog* d, int id, int notification) {
        if (id == IdBaud && notification == NotifySelChange)
            seenSelection = getComboSelection(d, id);
    });
    userChooseComboRow(dialog, IdBaud, 2);
    EXPECT_EQ(countCalls(LogicCall::Command, IdBaud, NotifySelChange), 1);
    EXPECT_EQ(seenSelection, 2);
    EXPECT_EQ(text(IdBaud), "4800 Bd");

    setComboSelection(dialog, IdBaud, 7);
    EXPECT_EQ(getComboSelection(dialog, IdBaud), -1) << "a row that is not there selects none";
    EXPECT_EQ(countCalls(LogicCall::Command, IdBaud, NotifySelChange), 1);
}

TEST_F(QtHostTest, PortRowsNameTheirLinuxDevice)
{
    const int row = addComboRow(dialog, IdPort, portNameTable[2]);
    setComboRowData(dialog, IdPort, row, 2);
    setComboSelection(dialog, IdPort, row);
    QComboBox* combo = widget<QComboBox>(IdPort);
    const QString device = QString::fromLatin1(portDevicePath(2));
    EXPECT_FALSE(device.isEmpty());
    EXPECT_EQ(combo->itemData(row, Qt::ToolTipRole).toString(), device);
    EXPECT_EQ(combo->toolTip(), device);
    EXPECT_EQ(text(IdPort), "COM3") << "the value stays the COM name";
    EXPECT_EQ(getComboRowData(dialog, IdPort, row), 2);
    const QString shown = QStringLiteral("COM3 (%1)").arg(device);
    EXPECT_GE(combo->view()->minimumWidth(), combo->fontMetrics().horizontalAdvance(shown)) << "the open list shows it whole";
}

// ---- focus, buttons, enabling ----

TEST_F(QtHostTest, FocusGainedByAnEditNotifiesOnce)
{
    userFocus(dialog, IdComment1);
    userFocus(dialog, IdComment1);
    EXPECT_EQ(countCalls(LogicCall::Command, IdComment1, NotifySetFocus), 1) << "it had the focus already";
    userFocus(dialog, IdPath0);
    userFocus(dialog, IdComment1);
    EXPECT_EQ(countCalls(LogicCall::Command, IdComment1, NotifySetFocus), 2);
    EXPECT_EQ(countCalls(LogicCall::Command, IdPath0, NotifySetFocus), 1);
    EXPECT_EQ(QApplication::focusWidget(), dialogControl(dialog, IdComment1));

    // A context menu that closes hands the focus back: not a new focus.
    userFocus(dialog, IdCallsign0);
    logicCalls().clear();
    dialogControl(dialog, IdComment0)->setFocus(Qt::PopupFocusReason);
    EXPECT_TRUE(logicCalls().empty());
}

TEST_F(QtHostTest, ClicksNotifyWhileEnabledAndChecksFollowTheProgram)
{
    userClick(dialog, IdSecondConfig);
    userClick(dialog, IdProgram);
    EXPECT_EQ(countCalls(LogicCall::Command, IdSecondConfig, NotifyClicked), 1);
    EXPECT_EQ(countCalls(LogicCall::Command, IdProgram, NotifyClicked), 1);

    enableItem(dialog, IdSecondConfig, false);
    EXPECT_FALSE(isItemEnabled(dialog, IdSecondConfig));
    userClick(dialog, IdSecondConfig);
    EXPECT_EQ(countCalls(LogicCall::Command, IdSecondConfig, NotifyClicked), 1);
    enableItem(dialog, IdSecondConfig, true);
    EXPECT_TRUE(isItemEnabled(dialog, IdSecondConfig));

    setCheck(dialog, IdTiny13, true);
    EXPECT_TRUE(getCheck(dialog, IdTiny13));
    setCheck(dialog, IdTiny13, false);
    EXPECT_FALSE(getCheck(dialog, IdTiny13)) << "BM_SETCHECK clears even the one checked radio button";
    userClick(dialog, IdTiny13);
    EXPECT_TRUE(getCheck(dialog, IdTiny13));
    EXPECT_EQ(countCalls(LogicCall::Command, IdTiny13, NotifyClicked), 1);

    // Greyed controls keep their text and position.
    setItemText(dialog, IdCallsign1, "DL1ABC");
    enableItem(dialog, IdCallsign1, false);
    enableItem(dialog, IdConfig1Group, false);
    EXPECT_EQ(text(IdCallsign1), "DL1ABC");
    EXPECT_FALSE(dialogControl(dialog, IdConfig1Group)->isEnabled());
}

} // namespace
