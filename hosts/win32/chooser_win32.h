#pragma once
// The symbol chooser on Win32: dialog template 115 run modally, presses measured
// on the picture control itself.

#include <windows.h>

// Template 115's procedure; WM_INITDIALOG's lParam is the SymbolPick to work on.
INT_PTR CALLBACK symbolChooserProc(HWND chooser, UINT message, WPARAM wParam, LPARAM lParam);

// The chooser's picture control (id -1, found by its SS_BITMAP style), or NULL.
HWND findChooserPicture(HWND chooser);

// The whole factor at which the picture shows bitmap 134 (its image is that many
// times as wide).
int pictureFactor(HWND picture);

// Screen position of the picture's top-left pixel: inside the sunken edge, at the
// top-left of a client area that the chooser sizes to the bitmap.
POINT pictureOriginOnScreen(HWND picture);
