#include "prompts.h"

#include <windows.h>

#include "host_win32.h"
#include "wide_text_win32.h"

void showMessage(const char* text, const char* caption)
{
    HWND focus = GetFocus();
    // No owner: the main dialog stays enabled while the box is open.
    MessageBoxW(NULL, wideFromShownText(text).data(), wideFromShownText(caption).data(), MB_OK);
    giveFocusBack(focus);
}

void pauseMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }
