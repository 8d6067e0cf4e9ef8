#pragma once
// The main dialog's controls as data, read from main_dialog_layout.def.

enum ControlKind { KindGroup, KindLabel, KindEdit, KindTrackbar, KindCombo, KindPush, KindRadio };

enum ControlStyle : unsigned {
    StyleNone = 0,
    StyleUpper = 1u << 0,
    StyleCenter = 1u << 1,
    StyleRight = 1u << 2,
    StyleSunken = 1u << 3,
    StyleAutoHScroll = 1u << 4,
    StyleMultiline = 1u << 5,
    StyleGroup = 1u << 6,
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

// The control with this id, or nullptr (ids of -1 are not looked up).
const ControlLayout* findControlLayout(int id);

constexpr const char* kMainDialogCaption = "Korvel Config V1.12";
constexpr const char* kDialogFontName = "MS Shell Dlg";
constexpr int kDialogFontPoints = 10;
constexpr int kMainDialogWidth = 339;  // dialog units
constexpr int kMainDialogHeight = 284; // dialog units

constexpr const char* kChooserCaption = "Choose APRS-Symbol";
constexpr const char* kChooserLabel = "choose your APRS-Symbol";
