// What screen readers find in the Qt dialog (through Qt's bridge to AT-SPI): the
// names the layout table gives, each slider's value as its label shows it, the
// space displays as one text each and the status line as a status bar.
#include "accessibility_qt.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "control_ids.h"
#include "control_names.h"
#include "layout.h"

namespace {

constexpr const char* kStatusBarProperty = "korvelStatusBar";

// The status line is announced as a status bar, which screen readers can also
// read out on request.
QAccessibleInterface* statusBarFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->property(kStatusBarProperty).toBool())
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    return nullptr;
}

QString fromAnsiName(const std::string& name) { return QString::fromLatin1(name.c_str()); }

} // namespace

void describeForScreenReaders(Dialog* dialog)
{
    QAccessible::removeFactory(statusBarFactory);
    QAccessible::installFactory(statusBarFactory);
    // The widgets in the table's order, hidden labels too.
    const QList<QWidget*> widgets = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (int i = 0; i < mainDialogControlCount && i < widgets.size(); ++i) {
        const ControlLayout& c = mainDialogLayout[i];
        const QString name = c.id >= 0 ? fromAnsiName(accessibleNameOf(c.id)) : QString();
        if (!name.isEmpty())
            widgets[i]->setAccessibleName(name);
        // A combo is named by the label that points to it; its own name is its text.
        if (auto* combo = qobject_cast<QComboBox*>(widgets[i])) {
            combo->lineEdit()->setAccessibleName(name);
            combo->view()->setAccessibleName(name);
        }
        // A caption labels what follows it, with that control's whole name, so a
        // screen reader says the name once and does not read the caption on its own.
        auto* caption = qobject_cast<QLabel*>(widgets[i]);
        if (!caption || !*c.caption || i + 1 >= widgets.size())
            continue;
        caption->setBuddy(widgets[i + 1]);
        const int next = mainDialogLayout[i + 1].id;
        const QString labelled = next >= 0 ? fromAnsiName(accessibleNameOf(next)) : QString();
        if (!labelled.isEmpty())
            caption->setAccessibleName(labelled);
    }
    if (QWidget* status = dialogControl(dialog, IdStatus))
        status->setProperty(kStatusBarProperty, true);
}

void readTextChanged(Dialog* dialog, int id, const QString& text)
{
    QWidget* widget = dialogControl(dialog, id);
    if (!widget)
        return;
    if (qobject_cast<QPushButton*>(widget)) {
        widget->setAccessibleName(text); // a caption inside the button does not name it
        return;
    }
    if (!qobject_cast<QLabel*>(widget))
        return;
    const int trackbar = trackbarShownBy(id);
    if (trackbar >= 0)
        dialogControl(dialog, trackbar)->setAccessibleDescription(text);
    const QString reading = fromAnsiName(displayReading(id, text.toLatin1().toStdString()));
    // Each change is an event with the new text, so the status line is announced
    // as a run goes on, even while the run holds the dialog.
    if (reading != text || widget->property(kStatusBarProperty).toBool())
        widget->setAccessibleName(reading);
}

void describeSymbolHighlight(QWidget* picture, int cell)
{
    picture->setAccessibleName(fromAnsiName(chooserPictureName()));
    picture->setAccessibleDescription(fromAnsiName(highlightedSymbolReading(cell)));
}
