#pragma once
// The in-memory host: a main dialog without a window system, with the Win32
// behaviours of the platform layer, for tests.

#include <string>

#include "platform.h"

// A dialog with every control of the layout, in the state a new Win32 dialog has
// before WM_INITDIALOG; then runs initMainDialog, with the ports that findPorts
// finds (the system's when it is empty).
Dialog* createHeadlessDialog(const PortFinder& findPorts = PortFinder());
void destroyHeadlessDialog(Dialog* dialog);

// What the user meets, for the test drivers.
unsigned headlessTextLimit(Dialog* dialog, int id);
int headlessTrackbarMin(Dialog* dialog, int id);
int headlessTrackbarMax(Dialog* dialog, int id);
int headlessFocusedId(Dialog* dialog); // 0: the dialog itself
void headlessSetFocus(Dialog* dialog, int id);
// The dialog window itself takes the focus (as after a modal chooser).
void headlessFocusDialog(Dialog* dialog);
// Tab or Shift+Tab: the focus moves on to the next or previous control that
// takes input, in the layout's order.
void headlessTab(Dialog* dialog, bool backward);
// A key on the focused trackbar, as a Win32 trackbar takes it: a step of 1 or a
// page of a fifth of the range either way, or to an end; then the scroll notification.
enum TrackbarKey { TrackLeft, TrackRight, TrackUp, TrackDown, TrackPageUp, TrackPageDown, TrackHome, TrackEnd };
void headlessTrackbarKey(Dialog* dialog, TrackbarKey key);
// Enter or Space: the push button with the focus is pressed; elsewhere nothing.
void headlessPressFocusedButton(Dialog* dialog);
// Appends typed characters one by one, as keystrokes (limit, upper case, change).
void headlessType(Dialog* dialog, int id, const std::string& characters);
void headlessBackspace(Dialog* dialog, int id, int count);
// A paste at the end of the text, as a single-line edit takes it: cut at the first
// line break, without control characters, as much as the limit leaves room for.
void headlessPaste(Dialog* dialog, int id, const std::string& text);
// The close box: the handlers still running return without doing more, and no
// new one starts. The dialog stays in memory until destroyHeadlessDialog.
void headlessClose(Dialog* dialog);
