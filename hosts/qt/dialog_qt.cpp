// The Qt host's main dialog: its widgets built from the layout table, and the
// events that Qt delivers turned into the dialog logic's notifications.
#include "dialog_qt.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyleOptionFrame>
#include <QStyledItemDelegate>

#include "accessibility_qt.h"
#include "ansi_text.h"
#include "control_ids.h"
#include "layout.h"
#include "main_dialog.h"

namespace {

// The open list names each row's detail beside its text; the closed field keeps
// the bare text, which is all the box has room for.
class RowDetailDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString detail = index.data(kRowDetailRole).toString();
        if (!detail.isEmpty())
            option->text = QStringLiteral("%1 (%2)").arg(option->text, detail);
    }
};

// Win32 tells the dialog that a list is about to open (CBN_DROPDOWN); Qt has no
// signal for it.
class DialogCombo : public QComboBox {
public:
    DialogCombo(Dialog* dialog, int id) : QComboBox(dialog), dialog_(dialog), id_(id) {}

    void showPopup() override
    {
        handleCommand(dialog_, id_, NotifyDropDown);
        QComboBox::showPopup();
    }

private:
    Dialog* dialog_;
    int id_;
};

int controlId(const QObject* object) { return object->property("controlId").toInt(); }

QWidget* makeControl(Dialog* dialog, const ControlLayout& layout)
{
    const QString caption = QString::fromLatin1(layout.caption);
    const int id = layout.id;
    QWidget* widget = nullptr;
    switch (layout.kind) {
    case KindGroup: {
        auto* group = new QGroupBox(caption, dialog);
        // The caption sits on the frame's top line, as a Win32 group box draws it,
        // instead of above it: the rows inside were laid out for that.
        const int half = dialog->baseUnits.y / 2;
        group->setStyleSheet(QStringLiteral("QGroupBox { margin-top: %1px; border: 1px solid palette(mid);"
                                            " border-radius: 3px; }"
                                            "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
                                            " left: %2px; padding: 0px 2px; background-color: palette(window); }")
                                 .arg(half)
                                 .arg(dialog->baseUnits.x));
        widget = group;
        break;
    }
    case KindLabel: {
        auto* label = new QLabel(caption, dialog);
        label->setTextFormat(Qt::PlainText);
        Qt::Alignment horizontal = Qt::AlignLeft;
        if (layout.styles & StyleCenter)
            horizontal = Qt::AlignHCenter;
        else if (layout.styles & StyleRight)
            horizontal = Qt::AlignRight;
        label->setAlignment(horizontal | Qt::AlignTop);
        if (layout.styles & StyleSunken) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setLineWidth(1);
        }
        label->setHidden((layout.styles & StyleHidden) != 0);
        widget = label;
        break;
    }
    case KindEdit:
        if (layout.styles & StyleMultiline) {
            auto* log = new QPlainTextEdit(dialog);
            log->setLineWrapMode(QPlainTextEdit::NoWrap);
            log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            log->setTabChangesFocus(true);
            // Program writes run with signals blocked and notify themselves.
            QObject::connect(log, &QPlainTextEdit::textChanged, dialog,
                             [dialog, id] { handleCommand(dialog, id, NotifyChange); });
            log->installEventFilter(dialog);
            widget = log;
        } else {
            auto* edit = new QLineEdit(dialog);
            if (layout.styles & StyleCenter)
                edit->setAlignment(Qt::AlignHCenter);
            Dialog::EditState& state = dialog->edits[id];
            state.upperCase = (layout.styles & StyleUpper) != 0;
            QObject::connect(edit, &QLineEdit::textEdited, dialog, [dialog, id, edit] { dialog->userEdited(id, edit); });
            edit->installEventFilter(dialog);
            widget = edit;
        }
        break;
    case KindTrackbar: {
        auto* slider = new QSlider(Qt::Horizontal, dialog);
        slider->setTickPosition(QSlider::TicksBothSides);
        slider->setFocusPolicy(Qt::StrongFocus); // a tab stop; the dialog turns some keys round
        slider->installEventFilter(dialog);
        slider->setRange(0, 100); // a new trackbar's range
        slider->setValue(0);
        updateTrackbarSteps(slider);
        // User actions only: keys, wheel, clicks beside the handle and every step of
        // a drag arrive as actions, and the end of a drag as the release (TB_ENDTRACK).
        // Program changes emit valueChanged alone, which nothing listens to.
        QObject::connect(slider, &QSlider::actionTriggered, dialog, [dialog] { handleHScroll(dialog); });
        QObject::connect(slider, &QSlider::sliderReleased, dialog, [dialog] { handleHScroll(dialog); });
        widget = slider;
        break;
    }
    case KindCombo: {
        auto* combo = new DialogCombo(dialog, id);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr); // a Win32 drop-down combo does not complete
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setItemDelegate(new RowDetailDelegate(combo));
        combo->installEventFilter(dialog);
        QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo] { showRowDetail(combo); });
        // activated is the user's choice; setCurrentIndex by the program stays silent.
        QObject::connect(combo, &QComboBox::activated, dialog, [dialog, id] { handleCommand(dialog, id, NotifySelChange); });
        widget = combo;
        break;
    }
    case KindPush: {
        auto* button = new QPushButton(dialog);
        button->setAutoDefault(true); // Enter presses the button with the focus, as on Win32
        if (layout.styles & StyleMultiline) {
            // QPushButton does not wrap its text; a word-wrapped caption inside does.
            auto* text = new QLabel(caption, button);
            text->setObjectName(QStringLiteral("caption"));
            text->setTextFormat(Qt::PlainText);
            text->setWordWrap(true);
            text->setAlignment(Qt::AlignCenter);
            text->setAttribute(Qt::WA_TransparentForMouseEvents);
            auto* box = new QHBoxLayout(button);
            box->setContentsMargins(4, 2, 4, 2);
            box->addWidget(text);
        } else {
            button->setText(caption);
        }
        QObject::connect(button, &QPushButton::clicked, dialog, [dialog, id] { handleCommand(dialog, id, NotifyClicked); });
        widget = button;
        break;
    }
    case KindPicture: // the chooser's; the main dialog has none
        widget = new QLabel(dialog);
        break;
    case KindRadio: {
        auto* radio = new QRadioButton(caption, dialog);
        QObject::connect(radio, &QRadioButton::clicked, dialog, [dialog, id] { handleCommand(dialog, id, NotifyClicked); });
        widget = radio;
        break;
    }
    }
    widget->setProperty("controlId", id);

    const PixelRect rect = dluRectToPixels(layout.x, layout.y, layout.width, layout.height, dialog->baseUnits);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // The layout's height includes the dropped-down list; the closed box is as
        // tall as an edit.
        const int closed = dluToPixelsY(12, dialog->baseUnits);
        widget->setGeometry(rect.x, rect.y, rect.width, closed);
        const int itemHeight = QFontMetrics(dialog->font()).height() + 2;
        const int rows = (rect.height - closed) / itemHeight;
        combo->setMaxVisibleItems(rows > 1 ? rows : 1);
    } else {
        widget->setGeometry(rect.x, rect.y, rect.width, rect.height);
    }
    if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) {
        // The log's frame once more, above its viewport, which at fractional scales
        // covers the right edge of the frame below; drawn as an edit's frame, so
        // that it shows the focus as the other fields do (dialog's eventFilter).
        auto* border = new QWidget(log);
        border->setObjectName(QStringLiteral("logFrame"));
        border->setAttribute(Qt::WA_TransparentForMouseEvents);
        border->setGeometry(log->rect());
        border->installEventFilter(dialog);
        border->raise();
    }
    return widget;
}

// Up and Page Up lower a Win32 trackbar and Down and Page Down raise it; a QSlider
// does the opposite. Left, Right, Home and End agree.
bool win32TrackbarKey(QSlider* slider, int key)
{
    switch (key) {
    case Qt::Key_Up: slider->triggerAction(QAbstractSlider::SliderSingleStepSub); return true;
    case Qt::Key_Down: slider->triggerAction(QAbstractSlider::SliderSingleStepAdd); return true;
    case Qt::Key_PageUp: slider->triggerAction(QAbstractSlider::SliderPageStepSub); return true;
    case Qt::Key_PageDown: slider->triggerAction(QAbstractSlider::SliderPageStepAdd); return true;
    default: return false;
    }
}

// Never inside a surrogate pair: what lies between is whole characters.
int commonPrefix(const QString& a, const QString& b)
{
    int n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n > 0 && a[n - 1].isHighSurrogate() ? n - 1 : n;
}

int commonSuffix(const QString& a, const QString& b, int prefix)
{
    int n = 0;
    while (n < a.size() - prefix && n < b.size() - prefix && a[a.size() - 1 - n] == b[b.size() - 1 - n])
        ++n;
    return n > 0 && a[a.size() - n].isLowSurrogate() ? n - 1 : n;
}

// Characters as the record counts them: a surrogate pair is one.
int characterCount(const QString& text) { return static_cast<int>(text.toUcs4().size()); }

QString firstCharacters(const QString& text, int count)
{
    int units = 0;
    for (; units < text.size() && count > 0; --count)
        units += text[units].isHighSurrogate() && units + 1 < text.size() && text[units + 1].isLowSurrogate() ? 2 : 1;
    return text.left(units);
}

} // namespace

QString upperCasedText(QString text)
{
    // Letter by letter, so that the length never changes (QString::toUpper turns
    // "ß" into "SS"; an upper-case Win32 edit keeps one character per character).
    // A Windows-1252 letter takes the upper case that has a Windows-1252 byte too.
    for (QChar& c : text) {
        const unsigned char byte = ansiFromUtf16(c.unicode());
        c = byte != '?' ? QChar(utf16FromAnsi(ansiUpper(byte))) : c.toUpper();
    }
    return text;
}

void showRowDetail(QComboBox* combo)
{
    const QString detail = combo->itemData(combo->currentIndex(), kRowDetailRole).toString();
    combo->setToolTip(detail);
    if (QLineEdit* edit = combo->lineEdit()) {
        edit->setToolTip(detail);
        edit->setCursorPosition(0); // a row longer than the field shows its start, the port's name
    }
}

void updateTrackbarSteps(QSlider* slider)
{
    const int span = slider->maximum() - slider->minimum();
    slider->setTickInterval(span > 0 ? span : 1);
    slider->setPageStep(span / 5 > 0 ? span / 5 : 1);
}
QFont dialogFont()
{
    QFont font(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    font.setStyleHint(QFont::SansSerif);
    // "MS Shell Dlg" 10 pt at 96 DPI: MulDiv(10, 96, 72) = 13 pixels. Pixels, not
    // points, so the dialog keeps its size whatever DPI the X server reports.
    font.setPixelSize(13);
    font.setWeight(QFont::Normal);
    return font;
}

DialogBaseUnits dialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {averageLetterWidth(letters), metrics.height()};
}

Dialog::Dialog()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QString::fromLatin1(KORVEL_MAIN_CAPTION));
    QIcon icon(QStringLiteral(":/korvelconfig.png"));
    icon.addFile(QStringLiteral(":/korvelconfig-48.png"));
    setWindowIcon(icon);
    setFont(dialogFont());
    baseUnits = dialogBaseUnits(font());
    setFixedSize(dluToPixelsX(KORVEL_MAIN_WIDTH, baseUnits), dluToPixelsY(KORVEL_MAIN_HEIGHT, baseUnits));

    // Template order is creation order: later controls lie above the group frames
    // and follow them in the focus chain.
    for (int i = 0; i < mainDialogControlCount; ++i) {
        QWidget* widget = makeControl(this, mainDialogLayout[i]);
        if (mainDialogLayout[i].id >= 0)
            controls[mainDialogLayout[i].id] = widget;
    }
    describeForScreenReaders(this);
}

bool Dialog::event(QEvent* event)
{
    // Activation puts the focus on the dialog window itself, as DefWindowProc does
    // for the Win32 dialog. Qt would hand it back to the control that had it last,
    // and a Symbol edit regaining the focus would open the chooser again after
    // every chooser and message box.
    // The focus that a chooser handed on meanwhile stays where it is, and one to be
    // given back after a box goes back.
    if (event->type() == QEvent::WindowActivate && !std::exchange(focusHandedOn, false)) {
        if (focusToGiveBack)
            giveFocusBack(focusToGiveBack);
        else
            setFocus(Qt::ActiveWindowFocusReason);
    }
    return QWidget::event(event);
}

void Dialog::closeEvent(QCloseEvent* event)
{
    // Closed while a handler waits in a message box or the chooser: those go with
    // the dialog, and the handlers return without showing or touching anything more.
    state.closed = true;
    if (state.handlerDepth > 0) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* waitedOn = qobject_cast<QDialog*>(window);
            if (waitedOn && waitedOn->isVisible())
                waitedOn->done(QDialog::Rejected);
        }
    }
    QWidget::closeEvent(event);
}

bool Dialog::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* slider = qobject_cast<QSlider*>(watched))
        return event->type() == QEvent::KeyPress && win32TrackbarKey(slider, static_cast<QKeyEvent*>(event)->key());
    if (event->type() == QEvent::Paint && watched->objectName() == QLatin1String("logFrame")) {
        paintLogFrame(static_cast<QWidget*>(watched));
        return true;
    }
    const bool focus = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
    if (auto* log = qobject_cast<QPlainTextEdit*>(watched); log && focus) // painted later, with the new focus
        log->findChild<QWidget*>(QStringLiteral("logFrame"))->update();
    if (auto* combo = qobject_cast<QComboBox*>(watched))
        return event->type() == QEvent::FocusIn && !deliveringFocus && showStartAtFocus(combo, event);
    if (event->type() != QEvent::FocusIn || deliveringFocus || givingFocusBack)
        return false;
    // A closing context menu hands the focus back; the edit never lost it on Win32.
    if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
        return false;
    // The edit takes the focus first (cursor and all), then the dialog hears of it:
    // the handler may run a modal chooser that moves the focus elsewhere.
    deliveringFocus = true;
    QCoreApplication::sendEvent(watched, event);
    deliveringFocus = false;
    state.focusCameBackward = static_cast<QFocusEvent*>(event)->reason() == Qt::BacktabFocusReason;
    handleCommand(this, controlId(watched), NotifySetFocus);
    state.focusCameBackward = false;
    return true;
}

void Dialog::paintLogFrame(QWidget* frame)
{
    auto* log = frame->parentWidget();
    QStyleOptionFrame option;
    option.initFrom(log); // the log's focus
    option.rect = frame->rect();
    option.lineWidth = log->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, log);
    option.state |= QStyle::State_Sunken;
    QPainter painter(frame);
    log->style()->drawPrimitive(QStyle::PE_FrameLineEdit, &option, &painter, log);
}

bool Dialog::showStartAtFocus(QComboBox* combo, QEvent* event)
{
    deliveringFocus = true;
    QCoreApplication::sendEvent(combo, event);
    deliveringFocus = false;
    // Tab selects the whole text, and a line edit then shows its end: a port's
    // name comes first, so the selection ends at the start instead.
    QLineEdit* edit = combo->lineEdit();
    if (edit && edit->hasSelectedText() && edit->selectedText() == edit->text())
        edit->setSelection(edit->text().size(), -edit->text().size());
    return true;
}

void Dialog::handFocusOn(QWidget* from, bool backward)
{
    // The next tab stop in the focus chain, as Tab would find it.
    QWidget* next = from;
    do
        next = backward ? next->previousInFocusChain() : next->nextInFocusChain();
    while (next != from && !(next != this && next->window() == this && next->isEnabled() && next->isVisibleTo(this) &&
                             (next->focusPolicy() & Qt::TabFocus) && !next->focusProxy()));
    if (next == from)
        return;
    // An inactive window gets it back when activated, rather than the dialog itself.
    focusHandedOn = !isActiveWindow();
    next->setFocus(backward ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

void giveFocusBack(QWidget* control)
{
    // Other windows (a chooser under a box) get theirs back from Qt itself.
    auto* dialog = control ? dynamic_cast<Dialog*>(control->window()) : nullptr;
    if (!dialog)
        return;
    dialog->focusToGiveBack = control;
    if (!dialog->isActiveWindow())
        return; // at its activation
    dialog->focusToGiveBack = nullptr;
    // Not to a control that was hidden or greyed out meanwhile.
    if (control->isVisibleTo(dialog) && control->isEnabled()) {
        dialog->givingFocusBack = true;
        control->setFocus(Qt::OtherFocusReason);
        dialog->givingFocusBack = false;
    }
}

void Dialog::userEdited(int id, QLineEdit* edit)
{
    EditState& state = edits[id];
    const QString before = state.text;
    QString after = edit->text();
    if (state.upperCase)
        after = upperCasedText(after);

    // The limit holds back what is typed or pasted, never what is there already:
    // of an insertion only as much is kept as fits beside the rest of the text.
    const int prefix = commonPrefix(before, after);
    const int suffix = commonSuffix(before, after, prefix);
    // What was typed or pasted ends at its first line break and loses any other
    // control character, as a Win32 single-line edit takes a paste.
    const QString insertion = after.mid(prefix, after.size() - prefix - suffix);
    const QString taken = QString::fromStdU16String(singleLineInput(insertion.toStdU16String()));
    if (taken != insertion)
        after = after.left(prefix) + taken + after.right(suffix);
    const int inserted = characterCount(taken);
    const int length = characterCount(after);
    int cursor = prefix + taken.size();
    const long long limit = state.limit;
    if (length > characterCount(before) && length > limit && inserted > 0) {
        const long long room = limit - (length - inserted);
        const QString kept = room <= 0 ? QString() : firstCharacters(taken, static_cast<int>(std::min<long long>(room, inserted)));
        after = after.left(prefix) + kept + after.right(suffix);
        cursor = prefix + kept.size();
    }

    if (after != edit->text()) {
        const QSignalBlocker blocker(edit);
        edit->setText(after);
        edit->setCursorPosition(cursor);
    }
    if (after == before)
        return; // nothing was accepted: no change to report
    state.text = after;
    handleCommand(this, id, NotifyChange);
}

Dialog* createMainDialog(const PortFinder& findPorts)
{
    auto* dialog = new Dialog;
    dialog->state.findPorts = findPorts;
    initMainDialog(dialog);
    return dialog;
}

void destroyMainDialog(Dialog* dialog) { delete dialog; }

QWidget* dialogControl(Dialog* dialog, int id)
{
    auto it = dialog->controls.find(id);
    assert(it != dialog->controls.end() && "no control with this id");
    return it == dialog->controls.end() ? nullptr : it->second;
}

DialogState& dialogState(Dialog* dialog) { return dialog->state; }
