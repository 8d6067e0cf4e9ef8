// The platform layer on Qt: each call bent to the Win32 behaviour that the dialog
// logic relies on.
#include "dialog_qt.h"

#include <string>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSlider>

#include "accessibility_qt.h"
#include "ansi_text.h"
#include "control_ids.h"
#include "dialog_text.h"
#include "main_dialog.h"

namespace {

// Up to the first NUL, as SetWindowTextA reads it.
QString fromAnsi(const std::string& text)
{
    return QString::fromStdU16String(utf16FromAnsi(text.substr(0, text.find('\0'))));
}

std::string toAnsi(const QString& text) { return ansiFromUtf16(text.toStdU16String()); }

// The word-wrapped caption inside a multi-line push button.
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

} // namespace

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
            value = upperCasedText(value);
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
    readTextChanged(dialog, id, value);
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
    return row;
}

void setComboRowDetail(Dialog* dialog, int id, int row, const std::string& detail)
{
    auto* combo = control<QComboBox>(dialog, id);
    if (!combo || row < 0 || row >= combo->count())
        return;
    const QString shownDetail = fromAnsi(detail);
    combo->setItemData(row, shownDetail, kRowDetailRole);
    combo->setItemData(row, shownDetail, Qt::ToolTipRole);
    // The open list may be wider than the box, so the detail shows whole.
    const QString shown = QStringLiteral("%1 (%2)").arg(combo->itemText(row), shownDetail);
    const int wanted = combo->fontMetrics().horizontalAdvance(shown) + 4 * dialog->baseUnits.x;
    if (combo->view()->minimumWidth() < wanted)
        combo->view()->setMinimumWidth(wanted);
    if (row == combo->currentIndex())
        showRowDetail(combo);
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

void clearComboRows(Dialog* dialog, int id)
{
    auto* combo = control<QComboBox>(dialog, id);
    if (!combo)
        return;
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->clearEditText();
    combo->view()->setMinimumWidth(0); // the details of the rows to come set it again
    showRowDetail(combo);
}

void setComboSelection(Dialog* dialog, int id, int row)
{
    auto* combo = control<QComboBox>(dialog, id);
    if (!combo)
        return;
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(row >= 0 && row < combo->count() ? row : -1);
    showRowDetail(combo);
}

void setTextLimit(Dialog* dialog, int id, unsigned maxChars)
{
    if (Dialog::EditState* state = editState(dialog, id))
        state->limit = maxChars;
}

void focusNextControl(Dialog* dialog, int id, bool backward)
{
    if (QWidget* widget = dialogControl(dialog, id))
        dialog->handFocusOn(widget, backward);
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
