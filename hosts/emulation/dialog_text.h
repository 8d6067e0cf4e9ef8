#pragma once
// Reading a number from a control's text the way Win32's GetDlgItemInt does, for
// hosts that have no such call.

#include <string>

// Leading blanks, an optional sign, then decimal digits up to the first other
// character, wrapped to 32 bits like strtoul with a 32-bit long; 0 when there is
// no digit or the number overflows. Only the first 29 characters count.
unsigned dialogTextToUnsigned(const std::string& text);
