#include "port_choice.h"

#include "control_ids.h"
#include "messages.h"

void fillPortList(Dialog* dialog)
{
    DialogState& state = dialogState(dialog);
    const PortEntry chosen = chosenPort(dialog);
    state.ports = state.findPorts ? state.findPorts() : discoverPorts();
    bool chosenThere = false;
    for (const PortEntry& port : state.ports)
        chosenThere = chosenThere || samePort(port, chosen);
    // Gone: kept and marked, so that the button refuses rather than program another.
    if (!chosen.devicePath.empty() && !chosenThere)
        state.ports.push_back(notConnected(chosen));
    clearComboRows(dialog, IdPort);
    int kept = -1;
    int firstOpening = -1;
    for (std::size_t i = 0; i < state.ports.size(); ++i) {
        const PortEntry& port = state.ports[i];
        const int row = addComboRow(dialog, IdPort, portRowText(port));
        setComboRowData(dialog, IdPort, row, static_cast<long>(i));
        setComboRowDetail(dialog, IdPort, row, port.detail);
        if (kept < 0 && samePort(port, chosen))
            kept = row;
        if (firstOpening < 0 && port.available)
            firstOpening = row;
    }
    setComboSelection(dialog, IdPort, kept >= 0 ? kept : firstOpening >= 0 ? firstOpening : 0);
}

PortEntry chosenPort(Dialog* dialog)
{
    const DialogState& state = dialogState(dialog);
    const int row = getComboSelection(dialog, IdPort);
    const long index = row < 0 ? -1 : getComboRowData(dialog, IdPort, row);
    if (index < 0 || static_cast<std::size_t>(index) >= state.ports.size())
        return PortEntry();
    return state.ports[static_cast<std::size_t>(index)];
}

PortRefusal portRefusal(const PortEntry& port, const PortError& error)
{
    PortRefusal refusal;
    if (error.kind == PortLineRefused)
        refusal.lineSetup = "cannot set COMstate (" + std::to_string(error.systemCode) + ")";
    const std::string advice = openFailureAdvice(port, error);
    refusal.text = kCannotOpenPort + (advice.empty() ? std::string() : "\n" + advice);
    return refusal;
}
