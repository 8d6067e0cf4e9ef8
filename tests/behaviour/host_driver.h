#pragma once
// What the behaviour suite needs from a host beyond the platform layer: opening
// the real main dialog of that host, and acting on it as a user does. One
// implementation per host (headless, Win32 under Wine, Qt offscreen).

#include <string>
#include <utility>
#include <vector>

#include "ansi_text.h"
#include "platform.h"
#include "port_list.h"

// The host's main dialog as the program makes it, with the ports that findPorts finds.
Dialog* openMainDialogForTest(const PortFinder& findPorts);
void closeMainDialogForTest(Dialog* dialog);

// Keystrokes at the end of an edit's text, one character at a time: the edit's
// text limit and upper-case style apply, and every accepted character is a change.
void userType(Dialog* dialog, int id, const std::string& characters);
void userBackspace(Dialog* dialog, int id, int count);
void userPaste(Dialog* dialog, int id, const std::u16string& text); // Ctrl+V at the end
inline void userPaste(Dialog* dialog, int id, const std::string& text) { userPaste(dialog, id, utf16FromAnsi(text)); }
std::u16string shownText(Dialog* dialog, int id); // an edit's text as the control holds it
// Drags a trackbar to a position (clamped to its range), ending with a scroll notification.
void userDragTrackbar(Dialog* dialog, int id, int position);
// Opens a combo box's list (the port list finds the ports again) and takes a row;
// -1 closes it without a choice.
void userChooseComboRow(Dialog* dialog, int id, int row);
void userClick(Dialog* dialog, int id);
void userFocus(Dialog* dialog, int id); // as a click into it does
// Keys pressed one after another wherever the focus is.
enum UserKey { KeyTab, KeyShiftTab, KeyLeft, KeyRight, KeyUp, KeyDown, KeyPageUp, KeyPageDown, KeyHome, KeyEnd,
               KeyEnter, KeySpace, KeyEscape };
void userKeys(Dialog* dialog, const std::vector<UserKey>& keys);
int focusedControl(Dialog* dialog); // its id; 0 for the dialog itself

// Presses the next symbol chooser(s) will receive, in picture pixels, in order; a
// press {kChooserKey, key} is that key. A chooser with no queued press left ends
// the test with a failure.
constexpr int kChooserKey = -1000000;
void queueChooserPresses(const std::vector<std::pair<int, int>>& presses);

// True when the screen shows a control as it would be painted now, even while the
// program waits (always on a host without a screen).
bool shownAsItIs(Dialog* dialog, int id);
// How many characters an edit can hold in all, as the user meets its limit.
unsigned textLimitOf(Dialog* dialog, int id);
// How much of a text the control cuts off in its font (0 on a host without fonts).
int textCutOff(Dialog* dialog, int id, const std::string& text);
