// Frozen copy of dialog/user_action.h as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#pragma once
// One user action and the handlers it runs, one inside another; and the message
// boxes they show, after which the dialog may be gone.

#include "ref_platform.h"

namespace reference {

// Every entry point of the logic starts with enterHandler and, when that gives
// true, ends with leaveHandler. False once the dialog has been closed: the
// handler does nothing. The outermost handler starts a new user action.
bool enterHandler(Dialog* dialog);
void leaveHandler(Dialog* dialog);

// An ownerless message box, unless the dialog has been closed. True while the
// dialog is still open afterwards: a handler that gets false returns at once and
// touches the dialog no more.
bool tellUser(Dialog* dialog, const char* text, const char* caption);

// True when the dialog has been closed meanwhile (inside a nested message box).
bool dialogClosed(Dialog* dialog);

} // namespace reference
