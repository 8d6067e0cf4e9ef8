#pragma once
// Names, values and roles of the Qt dialog's controls for screen readers.

#include <QString>

#include "dialog_qt.h"

// Names every control after the layout table and makes each caption the label of
// the control after it; once, when the widgets are built.
void describeForScreenReaders(Dialog* dialog);

// Control id now shows text: a slider's value label describes the slider, a
// display reads with its caption, the status line announces its new text.
void readTextChanged(Dialog* dialog, int id, const QString& text);

// The chooser's picture: named by its label, described by the highlighted
// symbol and where it sits in the table.
void describeSymbolHighlight(QWidget* picture, int cell);
