#include "symbol_chooser.h"

#include "symbol_grid.h"
#include "user_action.h"

void openSymbolChooser(Dialog* dialog, int editId)
{
    runSymbolChooser(dialog);
    if (dialogClosed(dialog))
        return;
    // Whatever the run gave: the last pick of this run, or nothing yet.
    setItemText(dialog, editId, dialogState(dialog).pick.chosen);
}
