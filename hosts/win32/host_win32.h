#pragma once
// The Win32 host: the main dialog's window class and procedure, and what the
// platform layer keeps on the controls beyond the standard messages.

#include <windows.h>

#include "port_list.h"

// The program's module, for loading dialog template 115 later.
extern HINSTANCE instanceHandle;

// Window procedure of class trackerDialog and, the same function, dialog
// procedure of template 1.
LRESULT CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Registers trackerDialog and creates the main dialog from template 1 (hidden),
// listing the ports that findPorts finds (the system's when it is null or empty).
// Shows "cannot register dialog Class! (%i)" when registration fails. NULL on failure.
HWND registerAndCreateMainDialog(HINSTANCE instance, HWND parent, const PortFinder* findPorts = nullptr);

// Creates another main dialog once the class is registered (tests open one per case).
HWND createMainDialog(HINSTANCE instance, HWND parent, const PortFinder* findPorts = nullptr);

// Every single-line edit of the dialog takes a paste up to its first line break
// and no control character.
void filterSingleLineInput(HWND dialog);

// The most characters the user may give the edit, as setTextLimit set it (0: none
// more), or else EM_GETLIMITTEXT.
unsigned editCharacterLimit(HWND edit);

// The dialog's control with the keyboard focus (a combo box for its own edit), or NULL.
HWND focusedChild(HWND dialog);

// The push button with the keyboard focus is the dialog's default one, so that
// Enter presses it, as in any dialog.
void defaultButtonFollowsFocus(HWND dialog);

// After a message box, the chooser or a file dialog: the focus back on the control
// that had it (GetFocus before), where activation would leave it on the dialog
// window. For the dialog logic the focus never left: while it returns, the
// dialog raises no focus notification.
void giveFocusBack(HWND control);
bool givingFocusBack();
