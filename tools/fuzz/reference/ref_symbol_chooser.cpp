// Frozen copy of dialog/symbol_chooser.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_symbol_chooser.h"

#include "config_settings.h"
#include "ref_symbol_grid.h"
#include "ref_user_action.h"

namespace reference {

void openSymbolChooser(Dialog* dialog, int editId)
{
    // Shift+Tab brought the focus here: it goes on backward.
    const bool backward = dialogState(dialog).focusCameBackward;
    dialogState(dialog).focusCameBackward = false;
    const int cell = symbolCell(getItemText(dialog, editId, kSymbolChars));
    dialogState(dialog).pick.highlighted = cell >= 0 ? cell : symbolCell(">/");
    dialogState(dialog).pick.cancelled = false;
    if (!runSymbolChooser(dialog) || dialogClosed(dialog))
        return;
    // Whatever the run gave: the last pick of this run, or nothing yet; after
    // Escape the field keeps its symbol.
    if (!dialogState(dialog).pick.cancelled)
        setItemText(dialog, editId, dialogState(dialog).pick.chosen);
    // Not back to the field: its next focus would open the chooser again.
    focusNextControl(dialog, editId, backward);
}

} // namespace reference
