#pragma once
// What screen readers call the controls of the main dialog, read from the layout
// table the way Windows reads a template: a control without a caption of its own
// is named after the label right before it, and one inside a configuration's
// frame carries the frame's caption in front ("Config 0 Mycall").

#include <string>

// The spoken name of control id: its own caption (buttons), or its frame's
// caption and its label (edits, trackbars, combos); "" for labels and where the
// table gives none.
std::string accessibleNameOf(int id);

// The caption of the label right before control id, what Windows finds without
// help; "" when the control follows no label.
std::string labelBefore(int id);

// The label that shows trackbar id's value: the one right after it; -1 for none.
int valueLabelOf(int trackbarId);
// The trackbar whose value label id is; -1 for none.
int trackbarShownBy(int labelId);

// A display read as one text with the caption right before it
// ("space left within Config0: 32"); any other label reads as it shows.
std::string displayReading(int id, const std::string& shown);

// The chooser's picture: named by the chooser's label, and telling which symbol
// the arrow keys have highlighted and where it sits (">/, row 2, column 14"); ""
// for no cell.
std::string chooserPictureName();
std::string highlightedSymbolReading(int cell);
