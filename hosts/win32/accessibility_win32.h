#pragma once
// Names, values and announcements of the Win32 dialogs for screen readers, beyond
// what Windows reads from the templates.

#include <windows.h>

// A screen reader says it runs (SPI_GETSCREENREADER).
bool screenReaderRunning();

// Annotates every control of the main dialog, once; loads COM only when mayLoad
// (a screen reader runs or an accessibility client asked for the dialog).
void describeForScreenReaders(HWND dialog, bool mayLoad);
// The dialog's annotations are gone with it (WM_NCDESTROY).
void forgetScreenReaderNotes(HWND dialog);

// Control id now shows another text: a trackbar's value, a space display or the
// status line, which is a live region, follows it.
void readTextChanged(HWND dialog, int id);

// The chooser's picture names the symbol its highlight is on.
void describeSymbolHighlight(HWND picture, int cell);
