#include "prompts.h"

#include <windows.h>

void showMessage(const char* text, const char* caption)
{
    // No owner: the main dialog stays enabled while the box is open.
    MessageBoxA(NULL, text, caption, MB_OK);
}

void pauseMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }
