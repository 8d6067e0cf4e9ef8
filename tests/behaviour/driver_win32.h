#pragma once
// What the Win32 driver offers its own tests beyond host_driver.h.

#include <windows.h>

// The innermost visible symbol chooser of this thread, or NULL.
HWND findOpenChooser();

// A mouse press on the chooser's picture at picture pixel x, y: the cursor goes
// there and the picture gets the WM_MOUSEACTIVATE of a button press.
void pressChooserPicture(HWND chooser, int x, int y);
