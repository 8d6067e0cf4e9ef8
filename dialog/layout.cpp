#include "layout.h"

#define KK_GROUP KindGroup
#define KK_LABEL KindLabel
#define KK_EDIT KindEdit
#define KK_TRACKBAR KindTrackbar
#define KK_COMBO KindCombo
#define KK_PUSH KindPush
#define KK_RADIO KindRadio
#define KS_NONE StyleNone
#define KS_UPPER StyleUpper
#define KS_CENTER StyleCenter
#define KS_RIGHT StyleRight
#define KS_SUNKEN StyleSunken
#define KS_AUTOHSCROLL StyleAutoHScroll
#define KS_MULTILINE StyleMultiline
#define KS_GROUP StyleGroup
#define KORVEL_CONTROL(id, kind, styles, caption, x, y, w, h) {id, kind, styles, caption, x, y, w, h},
#define KORVEL_HIDDEN_LABEL(caption, x, y, w, h) {-1, KindLabel, StyleHidden, caption, x, y, w, h},
#define KORVEL_PICTURE(id, bitmap, x, y, w, h) {id, KindPicture, StyleSunken, "", x, y, w, h},

const ControlLayout mainDialogLayout[] = {
#include "main_dialog_layout.def"
};
const int mainDialogControlCount = static_cast<int>(sizeof mainDialogLayout / sizeof mainDialogLayout[0]);

const ControlLayout chooserLayout[] = {
#include "chooser_layout.def"
};
const int chooserControlCount = static_cast<int>(sizeof chooserLayout / sizeof chooserLayout[0]);
