#include "dialog_qt.h"

#include <string>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyledItemDelegate>

#include "control_ids.h"
#include "dialog_text.h"
#include "layout.h"
#include "main_dialog.h"
#include "serial/port_table.h"

namespace {

// Where the Linux device of a port row is kept, for its list entry and tooltip.
constexpr int kDeviceRole = Qt::UserRole + 1;
constexpr int kRowDataRole = Qt::UserRole;

// The port list names the Linux device beside each COM name; the closed field
// keeps the bare name, which is all the box has room for.
class PortRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString device = index.data(kDeviceRole).toString();
        if (!device.isEmpty())
            option->text = QStringLiteral("%1 (%2)").arg(option->text, device);
    }
};

// Up to the first NUL, as SetWindowTextA reads it.
QString fromAnsi(const std::string& text) { return QString::fromLatin1(text.c_str()); }

std::string toAnsi(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Letter by letter, so that the length never changes (QString::toUpper turns
// "ß" into "SS"; an upper-case Win32 edit keeps one character per character).
QString upperCased(QString text)
{
    for (QChar& c : text)
        c = c.toUpper();
    return text;
}

QLabel* multilineCaption(QWidget* button) { return button->findChild<QLabel*>(QStringLiteral("caption")); }

QString textOf(QWidget* widget)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        return edit->toPlainText();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (QLabel* caption = multilineCaption(button))
            return caption->text();
        return button->text();
    }
    return {};
}

// The closed port box has room for the COM name only; its tooltip names the device.
void showPortDevice(QComboBox* combo)
{
    const QString device = combo->itemData(combo->currentIndex(), kDeviceRole).toString();
    combo->setToolTip(device);
    if (QLineEdit* edit = combo->lineEdit())
        edit->setToolTip(device);
}

int controlId(const QObject* object) { return object->property("controlId").toInt(); }

void updateTrackbarSteps(QSlider* slider)
{
    const int span = slider->maximum() - slider->minimum();
    // A Win32 trackbar without TBS_AUTOTICKS marks its two ends only, and pages by
    // a fifth of its range.
    slider->setTickInterval(span > 0 ? span : 1);
    slider->setPageStep(span / 5 > 0 ? span / 5 : 1);
}

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
        slider->setFocusPolicy(Qt::ClickFocus); // no tab stop, as in the template
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
        auto* combo = new QComboBox(dialog);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr); // a Win32 drop-down combo does not complete
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        if (id == IdPort) {
            combo->setItemDelegate(new PortRowDelegate(combo));
            QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo] { showPortDevice(combo); });
        }
        // activated is the user's choice; setCurrentIndex by the program stays silent.
        QObject::connect(combo, &QComboBox::activated, dialog, [dialog, id] { handleCommand(dialog, id, NotifySelChange); });
        widget = combo;
        break;
    }
    case KindPush: {
        auto* button = new QPushButton(dialog);
        button->setAutoDefault(false);
        button->setDefault(false);
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
    return widget;
}

Dialog::EditState* editState(Dialog* dialog, int id)
{
    auto it = dialog->edits.find(id);
    return it == dialog->edits.end() ? nullptr : &it->second;
}

template <typename T>
T* control(Dialog* dialog, int id)
{
    return qobject_cast<T*>(dialogControl(dialog, id));
}

int commonPrefix(const QString& a, const QString& b)
{
    int n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n;
}

int commonSuffix(const QString& a, const QString& b, int prefix)
{
    int n = 0;
    while (n < a.size() - prefix && n < b.size() - prefix && a[a.size() - 1 - n] == b[b.size() - 1 - n])
        ++n;
    return n;
}

} // namespace

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
    setWindowTitle(QString::fromLatin1(kMainDialogCaption));
    QIcon icon(QStringLiteral(":/korvelconfig.png"));
    icon.addFile(QStringLiteral(":/korvelconfig-48.png"));
    setWindowIcon(icon);
    setFont(dialogFont());
    baseUnits = dialogBaseUnits(font());
    setFixedSize(dluToPixelsX(kMainDialogWidth, baseUnits), dluToPixelsY(kMainDialogHeight, baseUnits));

    // Template order is creation order: later controls lie above the group frames
    // and follow them in the focus chain.
    for (int i = 0; i < mainDialogControlCount; ++i) {
        QWidget* widget = makeControl(this, mainDialogLayout[i]);
        if (mainDialogLayout[i].id >= 0)
            controls[mainDialogLayout[i].id] = widget;
    }
}

bool Dialog::event(QEvent* event)
{
    // Activation puts the focus on the dialog window itself, as DefWindowProc does
    // for the Win32 dialog. Qt would hand it back to the control that had it last,
    // and a Symbol edit regaining the focus would open the chooser again after
    // every chooser and message box.
    if (event->type() == QEvent::WindowActivate)
        setFocus(Qt::ActiveWindowFocusReason);
    return QWidget::event(event);
}

bool Dialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusIn || deliveringFocus)
        return false;
    // A closing context menu hands the focus back; the edit never lost it on Win32.
    if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
        return false;
    // The edit takes the focus first (cursor and all), then the dialog hears of it:
    // the handler may run a modal chooser that moves the focus elsewhere.
    deliveringFocus = true;
    QCoreApplication::sendEvent(watched, event);
    deliveringFocus = false;
    handleCommand(this, controlId(watched), NotifySetFocus);
    return true;
}

void Dialog::userEdited(int id, QLineEdit* edit)
{
    EditState& state = edits[id];
    const QString before = state.text;
    QString after = edit->text();
    if (state.upperCase)
        after = upperCased(after);

    // The limit holds back what is typed or pasted, never what is there already:
    // of an insertion only as much is kept as fits beside the rest of the text.
    const int prefix = commonPrefix(before, after);
    const int suffix = commonSuffix(before, after, prefix);
    const int inserted = after.size() - prefix - suffix;
    const int rest = after.size() - inserted;
    int cursor = prefix + inserted;
    const long long limit = state.limit;
    if (after.size() > before.size() && after.size() > limit && inserted > 0) {
        const long long room = limit - rest;
        const int keep = room <= 0 ? 0 : room < inserted ? static_cast<int>(room) : inserted;
        after = after.left(prefix + keep) + after.right(suffix);
        cursor = prefix + keep;
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

Dialog* createMainDialog()
{
    auto* dialog = new Dialog;
    initMainDialog(dialog);
    return dialog;
}

void destroyMainDialog(Dialog* dialog) { delete dialog; }

QWidget* dialogControl(Dialog* dialog, int id)
{
    auto it = dialog->controls.find(id);
    return it == dialog->controls.end() ? nullptr : it->second;
}

// ---- platform.h ----

std::string getItemText(Dialog* dialog, int id, std::size_t maxChars)
{
    QWidget* widget = dialogControl(dialog, id);
    if (!widget)
        return {};
    return toAnsi(textOf(widget).left(static_cast<int>(maxChars)));
}

void setItemText(Dialog* dialog, int id, const std::string& text)
{
    QWidget* widget = dialogControl(dialog, id);
    if (!widget)
        return;
    QString value = fromAnsi(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        Dialog::EditState& state = dialog->edits[id];
        if (state.upperCase)
            value = upperCased(value);
        {
            const QSignalBlocker blocker(edit);
            edit->setText(value);
            edit->setCursorPosition(0); // WM_SETTEXT leaves the caret at the start
        }
        state.text = value;
        // Every write is a change, also of an unchanged text, reported at once.
        handleCommand(dialog, id, NotifyChange);
    } else if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) {
        {
            const QSignalBlocker blocker(log);
            log->setPlainText(value);
        }
        handleCommand(dialog, id, NotifyChange);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
        // A Win32 static paints its new text at once, so the status line shows
        // during the programming run's pauses too.
        label->repaint();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setEditText(value);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (QLabel* caption = multilineCaption(button))
            caption->setText(value);
        else
            button->setText(value);
    }
}

unsigned getItemUnsigned(Dialog* dialog, int id)
{
    return dialogTextToUnsigned(getItemText(dialog, id, 1023));
}

void setItemUnsigned(Dialog* dialog, int id, unsigned value) { setItemText(dialog, id, std::to_string(value)); }
void setItemSigned(Dialog* dialog, int id, int value) { setItemText(dialog, id, std::to_string(value)); }

int getTrackbarPos(Dialog* dialog, int id)
{
    // The position the handle shows: inside an action the value is not yet updated.
    auto* slider = control<QSlider>(dialog, id);
    return slider ? slider->sliderPosition() : 0;
}

void setTrackbarRangeMin(Dialog* dialog, int id, int minimum)
{
    if (auto* slider = control<QSlider>(dialog, id)) {
        slider->setMinimum(minimum);
        updateTrackbarSteps(slider);
    }
}

void setTrackbarRangeMax(Dialog* dialog, int id, int maximum)
{
    if (auto* slider = control<QSlider>(dialog, id)) {
        slider->setMaximum(maximum);
        updateTrackbarSteps(slider);
    }
}

void setTrackbarPos(Dialog* dialog, int id, int position)
{
    if (auto* slider = control<QSlider>(dialog, id))
        slider->setValue(position);
}

int addComboRow(Dialog* dialog, int id, const std::string& text)
{
    auto* combo = control<QComboBox>(dialog, id);
    if (!combo)
        return -1;
    const QSignalBlocker blocker(combo);
    const bool wasEmpty = combo->count() == 0;
    combo->addItem(fromAnsi(text));
    const int row = combo->count() - 1;
    if (wasEmpty)
        combo->setCurrentIndex(-1); // Qt selects a first row by itself; Win32 does not
    if (id == IdPort) {
        for (unsigned slot = 0; slot < kPortSlotCount; ++slot) {
            if (portNameTable[slot][0] != '\0' && text == portNameTable[slot]) {
                const QString device = QString::fromLatin1(portDevicePath(slot));
                combo->setItemData(row, device, kDeviceRole);
                combo->setItemData(row, device, Qt::ToolTipRole);
                // The open list may be wider than the box, so the device shows whole.
                const QString shown = QStringLiteral("%1 (%2)").arg(combo->itemText(row), device);
                const int wanted = combo->fontMetrics().horizontalAdvance(shown) + 4 * dialog->baseUnits.x;
                if (combo->view()->minimumWidth() < wanted)
                    combo->view()->setMinimumWidth(wanted);
                break;
            }
        }
    }
    return row;
}

void setComboRowData(Dialog* dialog, int id, int row, long data)
{
    auto* combo = control<QComboBox>(dialog, id);
    if (combo && row >= 0 && row < combo->count())
        combo->setItemData(row, QVariant::fromValue<qlonglong>(data), kRowDataRole);
}

long getComboRowData(Dialog* dialog, int id, int row)
{
    auto* combo = control<QComboBox>(dialog, id);
    if (!combo || row < 0 || row >= combo->count())
        return -1;
    const QVariant data = combo->itemData(row, kRowDataRole);
    return data.isValid() ? static_cast<long>(data.toLongLong()) : 0; // a new row's data is 0
}

int getComboSelection(Dialog* dialog, int id)
{
    auto* combo = control<QComboBox>(dialog, id);
    return combo ? combo->currentIndex() : -1;
}

void setComboSelection(Dialog* dialog, int id, int row)
{
    auto* combo = control<QComboBox>(dialog, id);
    if (!combo)
        return;
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(row >= 0 && row < combo->count() ? row : -1);
    if (id == IdPort)
        showPortDevice(combo);
}

void setTextLimit(Dialog* dialog, int id, unsigned maxChars)
{
    if (Dialog::EditState* state = editState(dialog, id))
        state->limit = maxChars;
}

void enableItem(Dialog* dialog, int id, bool enabled)
{
    if (QWidget* widget = dialogControl(dialog, id))
        widget->setEnabled(enabled);
}

bool isItemEnabled(Dialog* dialog, int id)
{
    QWidget* widget = dialogControl(dialog, id);
    return widget && widget->isEnabled();
}

void setCheck(Dialog* dialog, int id, bool checked)
{
    auto* button = control<QAbstractButton>(dialog, id);
    if (!button)
        return;
    // Qt refuses to clear the checked button of an exclusive set; BM_SETCHECK does not.
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(exclusive);
}

bool getCheck(Dialog* dialog, int id)
{
    auto* button = control<QAbstractButton>(dialog, id);
    return button && button->isChecked();
}
