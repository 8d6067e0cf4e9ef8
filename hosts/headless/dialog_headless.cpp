#include "dialog_headless.h"

#include <algorithm>
#include <cassert>
#include <map>
#include <vector>

#include "ansi_text.h"
#include "dialog_text.h"
#include "layout.h"
#include "main_dialog.h"

namespace {

// What a new Win32 edit allows before EM_LIMITTEXT.
constexpr unsigned kInitialEditLimit = 30000;

struct ComboRow {
    std::string text;
    long data;
    std::string detail;
};

struct Control {
    ControlKind kind = KindLabel;
    unsigned styles = 0;
    std::string text;
    bool enabled = true;
    bool checked = false;
    unsigned limit = kInitialEditLimit;
    int rangeMin = 0; // a new trackbar's range is 0 to 100
    int rangeMax = 100;
    int position = 0;
    std::vector<ComboRow> rows;
    int selection = -1;
};

} // namespace

struct Dialog {
    std::map<int, Control> controls;
    int focusedId = 0;
    DialogState state;
};

namespace {

Control* find(Dialog* dialog, int id)
{
    auto it = dialog->controls.find(id);
    assert(it != dialog->controls.end() && "no control with this id");
    return it == dialog->controls.end() ? nullptr : &it->second;
}

std::string upperCased(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(ansiUpper(static_cast<unsigned char>(c)));
    return text;
}

int clamp(int value, int low, int high)
{
    return value < low ? low : value > high ? high : value;
}

bool isTabStop(const Control& control)
{
    const bool radioGroup = control.kind == KindRadio && (control.styles & StyleGroup);
    const bool inputKind = control.kind == KindEdit || control.kind == KindTrackbar || control.kind == KindCombo ||
                           control.kind == KindPush || radioGroup;
    return inputKind && control.enabled;
}

// The next enabled tab stop after fromId (0: the dialog itself) in the layout's
// order, round the end; 0 when there is none.
int nextTabStop(Dialog* dialog, int fromId, bool backward)
{
    std::vector<int> order;
    for (int i = 0; i < mainDialogControlCount; ++i)
        if (mainDialogLayout[i].id >= 0)
            order.push_back(mainDialogLayout[i].id);
    if (backward)
        std::reverse(order.begin(), order.end());
    const auto from = std::find(order.begin(), order.end(), fromId);
    const std::size_t start = from == order.end() ? 0 : static_cast<std::size_t>(from - order.begin()) + 1;
    for (std::size_t n = 0; n < order.size(); ++n) {
        const int id = order[(start + n) % order.size()];
        if (isTabStop(dialog->controls[id]))
            return id;
    }
    return 0;
}

} // namespace

Dialog* createHeadlessDialog(const PortFinder& findPorts)
{
    Dialog* dialog = new Dialog;
    dialog->state.findPorts = findPorts;
    for (int i = 0; i < mainDialogControlCount; ++i) {
        const ControlLayout& layout = mainDialogLayout[i];
        if (layout.id < 0)
            continue;
        Control control;
        control.kind = layout.kind;
        control.styles = layout.styles;
        control.text = layout.caption;
        dialog->controls[layout.id] = control;
    }
    initMainDialog(dialog);
    return dialog;
}

void destroyHeadlessDialog(Dialog* dialog)
{
    delete dialog;
}

DialogState& dialogState(Dialog* dialog) { return dialog->state; }

std::string getItemText(Dialog* dialog, int id, std::size_t maxChars)
{
    const Control* control = find(dialog, id);
    if (!control)
        return {};
    return control->text.substr(0, maxChars);
}

void setItemText(Dialog* dialog, int id, const std::string& text)
{
    Control* control = find(dialog, id);
    if (!control)
        return;
    // Texts end at a NUL, as in a window's text.
    std::string value = text.substr(0, text.find('\0'));
    control->text = control->styles & StyleUpper ? upperCased(value) : value;
    if (control->kind == KindEdit)
        handleCommand(dialog, id, NotifyChange);
}

unsigned getItemUnsigned(Dialog* dialog, int id)
{
    return dialogTextToUnsigned(getItemText(dialog, id, 29));
}

void setItemUnsigned(Dialog* dialog, int id, unsigned value)
{
    setItemText(dialog, id, std::to_string(value));
}

void setItemSigned(Dialog* dialog, int id, int value)
{
    setItemText(dialog, id, std::to_string(value));
}

int getTrackbarPos(Dialog* dialog, int id)
{
    const Control* control = find(dialog, id);
    return control ? control->position : 0;
}

void setTrackbarRangeMin(Dialog* dialog, int id, int minimum)
{
    if (Control* control = find(dialog, id)) {
        control->rangeMin = minimum;
        control->position = clamp(control->position, control->rangeMin, control->rangeMax);
    }
}

void setTrackbarRangeMax(Dialog* dialog, int id, int maximum)
{
    if (Control* control = find(dialog, id)) {
        control->rangeMax = maximum;
        control->position = clamp(control->position, control->rangeMin, control->rangeMax);
    }
}

void setTrackbarPos(Dialog* dialog, int id, int position)
{
    if (Control* control = find(dialog, id))
        control->position = clamp(position, control->rangeMin, control->rangeMax);
}

int addComboRow(Dialog* dialog, int id, const std::string& text)
{
    Control* control = find(dialog, id);
    if (!control)
        return -1;
    control->rows.push_back({text, 0, {}});
    return static_cast<int>(control->rows.size()) - 1;
}

void setComboRowDetail(Dialog* dialog, int id, int row, const std::string& detail)
{
    Control* control = find(dialog, id);
    if (control && row >= 0 && row < static_cast<int>(control->rows.size()))
        control->rows[static_cast<std::size_t>(row)].detail = detail;
}

void setComboRowData(Dialog* dialog, int id, int row, long data)
{
    Control* control = find(dialog, id);
    if (control && row >= 0 && row < static_cast<int>(control->rows.size()))
        control->rows[static_cast<std::size_t>(row)].data = data;
}

long getComboRowData(Dialog* dialog, int id, int row)
{
    const Control* control = find(dialog, id);
    if (!control || row < 0 || row >= static_cast<int>(control->rows.size()))
        return -1;
    return control->rows[static_cast<std::size_t>(row)].data;
}

int getComboSelection(Dialog* dialog, int id)
{
    const Control* control = find(dialog, id);
    return control ? control->selection : -1;
}

void clearComboRows(Dialog* dialog, int id)
{
    if (Control* control = find(dialog, id)) {
        control->rows.clear();
        control->selection = -1;
        control->text.clear();
    }
}

void setComboSelection(Dialog* dialog, int id, int row)
{
    Control* control = find(dialog, id);
    if (!control)
        return;
    const bool exists = row >= 0 && row < static_cast<int>(control->rows.size());
    control->selection = exists ? row : -1;
    control->text = exists ? control->rows[static_cast<std::size_t>(row)].text : std::string();
}

void setTextLimit(Dialog* dialog, int id, unsigned maxChars)
{
    if (Control* control = find(dialog, id))
        control->limit = maxChars;
}

void enableItem(Dialog* dialog, int id, bool enabled)
{
    if (Control* control = find(dialog, id))
        control->enabled = enabled;
}

bool isItemEnabled(Dialog* dialog, int id)
{
    const Control* control = find(dialog, id);
    return control && control->enabled;
}

void setCheck(Dialog* dialog, int id, bool checked)
{
    if (Control* control = find(dialog, id))
        control->checked = checked;
}

bool getCheck(Dialog* dialog, int id)
{
    const Control* control = find(dialog, id);
    return control && control->checked;
}

unsigned headlessTextLimit(Dialog* dialog, int id)
{
    const Control* control = find(dialog, id);
    return control ? control->limit : 0;
}

int headlessTrackbarMin(Dialog* dialog, int id)
{
    const Control* control = find(dialog, id);
    return control ? control->rangeMin : 0;
}

int headlessTrackbarMax(Dialog* dialog, int id)
{
    const Control* control = find(dialog, id);
    return control ? control->rangeMax : 0;
}

int headlessFocusedId(Dialog* dialog)
{
    return dialog->focusedId;
}

void headlessSetFocus(Dialog* dialog, int id)
{
    Control* control = find(dialog, id);
    if (!control || !control->enabled || dialog->focusedId == id)
        return;
    dialog->focusedId = id;
    if (control->kind == KindEdit)
        handleCommand(dialog, id, NotifySetFocus);
}

void focusNextControl(Dialog* dialog, int id, bool backward)
{
    if (const int next = nextTabStop(dialog, id, backward))
        headlessSetFocus(dialog, next);
}

void headlessTab(Dialog* dialog, bool backward)
{
    const int next = nextTabStop(dialog, dialog->focusedId, backward);
    dialog->state.focusCameBackward = backward;
    if (next)
        headlessSetFocus(dialog, next);
    dialog->state.focusCameBackward = false;
}

void headlessTrackbarKey(Dialog* dialog, TrackbarKey key)
{
    Control* control = dialog->focusedId ? find(dialog, dialog->focusedId) : nullptr;
    if (!control || control->kind != KindTrackbar || !control->enabled)
        return;
    const int page = (control->rangeMax - control->rangeMin) / 5 > 0 ? (control->rangeMax - control->rangeMin) / 5 : 1;
    const int steps[] = {-1, 1, -1, 1, -page, page, control->rangeMin - control->position,
                         control->rangeMax - control->position};
    control->position = clamp(control->position + steps[key], control->rangeMin, control->rangeMax);
    handleHScroll(dialog);
}

void headlessPressFocusedButton(Dialog* dialog)
{
    const int id = dialog->focusedId;
    if (id && find(dialog, id)->kind == KindPush && find(dialog, id)->enabled)
        handleCommand(dialog, id, NotifyClicked);
}

void headlessFocusDialog(Dialog* dialog)
{
    dialog->focusedId = 0;
}

void headlessType(Dialog* dialog, int id, const std::string& characters)
{
    for (char c : characters) {
        Control* control = find(dialog, id);
        if (!control || !control->enabled || control->kind != KindEdit)
            return;
        if (control->text.size() >= control->limit || singleLineInput(std::string(1, c)).empty())
            continue; // refused like a keystroke over the limit, or a control key
        if (control->styles & StyleUpper)
            c = static_cast<char>(ansiUpper(static_cast<unsigned char>(c)));
        control->text.push_back(c);
        handleCommand(dialog, id, NotifyChange);
    }
}

void headlessPaste(Dialog* dialog, int id, const std::string& text)
{
    Control* control = find(dialog, id);
    if (!control || !control->enabled || control->kind != KindEdit)
        return;
    // As much as fits beside the present text, in one change.
    std::string inserted = singleLineInput(text);
    const std::size_t room = control->text.size() < control->limit ? control->limit - control->text.size() : 0;
    inserted.resize(std::min(inserted.size(), room));
    if (inserted.empty())
        return;
    control->text += control->styles & StyleUpper ? upperCased(inserted) : inserted;
    handleCommand(dialog, id, NotifyChange);
}

void headlessBackspace(Dialog* dialog, int id, int count)
{
    for (int i = 0; i < count; ++i) {
        Control* control = find(dialog, id);
        if (!control || !control->enabled || control->text.empty())
            return;
        control->text.pop_back();
        handleCommand(dialog, id, NotifyChange);
    }
}

void headlessClose(Dialog* dialog) { dialog->state.closed = true; }
