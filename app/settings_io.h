#pragma once
// Settings files opened and saved on a dialog: the file's bytes through the
// storage of this system, refusals and failures shown as one message each.

#include <string>

#include "platform.h"

// Reads and applies the file; one that cannot be read or is refused shows one
// message and changes nothing in the dialog. 1 when applied.
int openSettingsFile(Dialog* dialog, const std::string& path);

// Writes every setting, replacing the file only once the new text is stored
// whole; a failure shows why. 1 when saved.
int saveSettingsFile(Dialog* dialog, const std::string& path);
