#pragma once
// The controls of the two dialogs as data, read from main_dialog_layout.def and
// chooser_layout.def, which the resource script reads too.

#include "control_ids.h"
#include "templates.h"

enum ControlKind { KindGroup, KindLabel, KindEdit, KindTrackbar, KindCombo, KindPush, KindRadio, KindPicture };

enum ControlStyle : unsigned {
    StyleNone = 0,
    StyleUpper = 1u << 0,
    StyleCenter = 1u << 1,
    StyleRight = 1u << 2,
    StyleSunken = 1u << 3,
    StyleAutoHScroll = 1u << 4,
    StyleMultiline = 1u << 5,
    StyleGroup = 1u << 6,
    StyleHidden = 1u << 7, // a label that only names the control after it
};

struct ControlLayout {
    int id; // -1 for a caption without id
    ControlKind kind;
    unsigned styles;
    const char* caption;
    int x, y, width, height; // dialog units
};

extern const ControlLayout mainDialogLayout[];
extern const int mainDialogControlCount;
extern const ControlLayout chooserLayout[];
extern const int chooserControlCount;
