// Frozen copy of dialog/port_choice.cpp as it was before the settings model, run
// side by side with the new logic; deleted once the two agree.
#include "ref_port_choice.h"

#include "control_ids.h"

namespace reference {

void fillPortList(Dialog* dialog)
{
    DialogState& state = dialogState(dialog);
    const std::string chosen = chosenPort(dialog).devicePath;
    state.ports = state.findPorts ? state.findPorts() : discoverPorts();
    clearComboRows(dialog, IdPort);
    int kept = -1;
    int firstOpening = -1;
    for (std::size_t i = 0; i < state.ports.size(); ++i) {
        const PortEntry& port = state.ports[i];
        const int row = addComboRow(dialog, IdPort, portRowText(port));
        setComboRowData(dialog, IdPort, row, static_cast<long>(i));
        setComboRowDetail(dialog, IdPort, row, port.detail);
        if (!chosen.empty() && port.devicePath == chosen)
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

} // namespace reference
