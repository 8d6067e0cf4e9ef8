// Frozen copy of dialog/user_action.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_user_action.h"

#include "prompts.h"

namespace reference {

bool enterHandler(Dialog* dialog)
{
    DialogState& state = dialogState(dialog);
    if (state.closed)
        return false;
    if (state.handlerDepth++ == 0)
        state.fitMessagesShown = 0;
    if (state.handlerDepth > state.deepestHandlerDepth)
        state.deepestHandlerDepth = state.handlerDepth;
    return true;
}

void leaveHandler(Dialog* dialog) { --dialogState(dialog).handlerDepth; }

bool tellUser(Dialog* dialog, const char* text, const char* caption)
{
    if (dialogClosed(dialog))
        return false;
    showMessage(text, caption);
    // The box had its own message loop: the dialog may have been closed in it. Its
    // state lives on until the outermost handler has returned.
    return !dialogClosed(dialog);
}

bool dialogClosed(Dialog* dialog) { return dialogState(dialog).closed; }

} // namespace reference
