#pragma once
// Interaction that is not bound to a dialog: an ownerless modal message box and a
// blocking pause. Each host links one implementation; tests link a recording one.

// Modal, OK button only, no owner window: the main dialog stays enabled.
void showMessage(const char* text, const char* caption);

// Blocks the calling (GUI) thread.
void pauseMilliseconds(unsigned milliseconds);
