// Frozen copy of dialog/platform.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// The platform layer: what the dialog logic needs from a toolkit. Every host
// (Win32, Qt, headless) implements it with the Win32 behaviours below, so the
// handlers run unchanged on all of them.

#include <cstddef>
#include <string>

#include "ref_dialog_state.h"

namespace reference {

// A host's main dialog; opaque to the logic (an HWND on Win32).
struct Dialog;

// The dialog's own state, made with the dialog and gone with it.
DialogState& dialogState(Dialog* dialog);

// Notification codes of WM_COMMAND, with their Win32 values.
enum Notification {
    NotifyClicked = 0,      // BN_CLICKED
    NotifySelChange = 1,    // CBN_SELCHANGE
    NotifyDropDown = 7,     // CBN_DROPDOWN: the list is about to open
    NotifySetFocus = 0x100, // EN_SETFOCUS
    NotifyChange = 0x300,   // EN_CHANGE
};

// At most maxChars characters of the control's text (a reader with a buffer of
// maxChars + 1 bytes).
std::string getItemText(Dialog* dialog, int id, std::size_t maxChars);

// Replaces the text. For an edit this raises NotifyChange at once, nested in the
// call, even when the text is unchanged; upper-case edits upper-case it.
void setItemText(Dialog* dialog, int id, const std::string& text);

// The text as an unsigned decimal number; 0 when it holds no number (GetDlgItemInt).
unsigned getItemUnsigned(Dialog* dialog, int id);
void setItemUnsigned(Dialog* dialog, int id, unsigned value);
void setItemSigned(Dialog* dialog, int id, int value);

// Trackbars: nothing here raises a scroll notification.
int getTrackbarPos(Dialog* dialog, int id);
void setTrackbarRangeMin(Dialog* dialog, int id, int minimum);
void setTrackbarRangeMax(Dialog* dialog, int id, int maximum);
void setTrackbarPos(Dialog* dialog, int id, int position);

// Combo boxes, unsorted. Rows are counted from 0; -1 stands for "no row" (CB_ERR).
// Setting the selection raises no NotifySelChange.
int addComboRow(Dialog* dialog, int id, const std::string& text);
void setComboRowData(Dialog* dialog, int id, int row, long data);
long getComboRowData(Dialog* dialog, int id, int row); // -1 for a row that does not exist
// What a row stands for, for hosts that can show it (a port's device, say).
void setComboRowDetail(Dialog* dialog, int id, int row, const std::string& detail);
int getComboSelection(Dialog* dialog, int id);
// Takes out every row (CB_RESETCONTENT): no row and no text are left.
void clearComboRows(Dialog* dialog, int id);
void setComboSelection(Dialog* dialog, int id, int row);

// Most characters the user may type into an edit; the present text is never cut.
// 0 means the edit takes no further character.
void setTextLimit(Dialog* dialog, int id, unsigned maxChars);

// Moves the keyboard focus from control id on to the next control that takes
// input, as Tab does (Shift+Tab when backward).
void focusNextControl(Dialog* dialog, int id, bool backward);

void enableItem(Dialog* dialog, int id, bool enabled);
bool isItemEnabled(Dialog* dialog, int id);
void setCheck(Dialog* dialog, int id, bool checked);
bool getCheck(Dialog* dialog, int id);

} // namespace reference
