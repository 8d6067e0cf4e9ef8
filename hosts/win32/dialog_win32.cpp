// The platform layer on Win32: the standard control messages, which already
// behave as the dialog logic expects, plus one repair for text limits of 0.

#include <windows.h>
#include <commctrl.h>

#include <cassert>

#include "host_win32.h"
#include "platform.h"

namespace {

HWND windowOf(Dialog* dialog) { return reinterpret_cast<HWND>(dialog); }

HWND item(Dialog* dialog, int id)
{
    HWND control = GetDlgItem(windowOf(dialog), id);
    assert(control && "no control with this id");
    return control;
}

LRESULT sendItem(Dialog* dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(item(dialog, id), message, wParam, lParam);
}

// EM_LIMITTEXT 0 means "no limit" to an edit, while the logic means "nothing more".
// A subclass refuses typed and pasted characters while the edit carries the
// property below; texts set by the program are not limited, as with a real limit.
// (A property, as GetWindowSubclass is exported by ordinal only.)
constexpr UINT_PTR kNoCharacterSubclass = 1;
constexpr const char* kNoCharacterProperty = "KorvelNoCharacter";

bool insertsText(HWND edit, UINT message, WPARAM wParam)
{
    if (message == WM_PASTE)
        return true;
    if (message != WM_CHAR)
        return false;
    if (wParam >= 0x20 && wParam != 0x7F)
        return true;
    // A multi-line edit also takes line breaks and tabs as text.
    const bool multiline = (GetWindowLongA(edit, GWL_STYLE) & ES_MULTILINE) != 0;
    return multiline && (wParam == '\r' || wParam == '\t');
}

LRESULT CALLBACK noCharacterProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                 DWORD_PTR)
{
    if (message == WM_NCDESTROY) {
        RemovePropA(edit, kNoCharacterProperty);
        RemoveWindowSubclass(edit, noCharacterProc, subclassId);
    } else if (editTakesNoCharacter(edit) && insertsText(edit, message, wParam)) {
        // As an edit at its limit does: tell the parent, drop a selection, insert nothing.
        HWND parent = GetParent(edit);
        const int id = GetDlgCtrlID(edit);
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, EN_MAXTEXT), reinterpret_cast<LPARAM>(edit));
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (start != end)
            SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(""));
        return 0;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace

bool editTakesNoCharacter(HWND edit) { return GetPropA(edit, kNoCharacterProperty) != NULL; }

std::string getItemText(Dialog* dialog, int id, std::size_t maxChars)
{
    // A buffer no larger than the text: the result is the same as with maxChars + 1.
    const int present = GetWindowTextLengthA(item(dialog, id));
    std::size_t size = present > 0 ? static_cast<std::size_t>(present) : 0;
    if (size > maxChars)
        size = maxChars;
    std::string text(size + 1, '\0');
    const UINT length = GetDlgItemTextA(windowOf(dialog), id, &text[0], static_cast<int>(size + 1));
    text.resize(length < size ? length : size);
    return text;
}

void setItemText(Dialog* dialog, int id, const std::string& text)
{
    SetDlgItemTextA(windowOf(dialog), id, text.c_str());
}

unsigned getItemUnsigned(Dialog* dialog, int id) { return GetDlgItemInt(windowOf(dialog), id, NULL, FALSE); }

void setItemUnsigned(Dialog* dialog, int id, unsigned value) { SetDlgItemInt(windowOf(dialog), id, value, FALSE); }

void setItemSigned(Dialog* dialog, int id, int value)
{
    SetDlgItemInt(windowOf(dialog), id, static_cast<UINT>(value), TRUE);
}

int getTrackbarPos(Dialog* dialog, int id) { return static_cast<int>(sendItem(dialog, id, TBM_GETPOS, 0, 0)); }

void setTrackbarRangeMin(Dialog* dialog, int id, int minimum) { sendItem(dialog, id, TBM_SETRANGEMIN, FALSE, minimum); }

void setTrackbarRangeMax(Dialog* dialog, int id, int maximum) { sendItem(dialog, id, TBM_SETRANGEMAX, FALSE, maximum); }

void setTrackbarPos(Dialog* dialog, int id, int position) { sendItem(dialog, id, TBM_SETPOS, TRUE, position); }

int addComboRow(Dialog* dialog, int id, const std::string& text)
{
    return static_cast<int>(sendItem(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void setComboRowData(Dialog* dialog, int id, int row, long data) { sendItem(dialog, id, CB_SETITEMDATA, row, data); }

// A Windows user knows the COM names; the list shows them alone.
void setComboRowDetail(Dialog*, int, int, const std::string&) {}

long getComboRowData(Dialog* dialog, int id, int row)
{
    // CB_ERR (-1) for a row that does not exist.
    return static_cast<long>(sendItem(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(row), 0));
}

int getComboSelection(Dialog* dialog, int id) { return static_cast<int>(sendItem(dialog, id, CB_GETCURSEL, 0, 0)); }

void setComboSelection(Dialog* dialog, int id, int row) { sendItem(dialog, id, CB_SETCURSEL, row, 0); }

void setTextLimit(Dialog* dialog, int id, unsigned maxChars)
{
    HWND edit = item(dialog, id);
    if (!edit)
        return;
    SendMessageA(edit, EM_LIMITTEXT, maxChars, 0);
    if (maxChars == 0) {
        SetPropA(edit, kNoCharacterProperty, reinterpret_cast<HANDLE>(1));
        SetWindowSubclass(edit, noCharacterProc, kNoCharacterSubclass, 0); // once per edit
    } else {
        RemovePropA(edit, kNoCharacterProperty);
    }
}

void focusNextControl(Dialog* dialog, int id, bool backward)
{
    // As Tab would, through the dialog's own WM_NEXTDLGCTL.
    if (HWND next = GetNextDlgTabItem(windowOf(dialog), item(dialog, id), backward))
        SendMessageA(windowOf(dialog), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
}

void enableItem(Dialog* dialog, int id, bool enabled) { EnableWindow(item(dialog, id), enabled); }

bool isItemEnabled(Dialog* dialog, int id) { return IsWindowEnabled(item(dialog, id)) != FALSE; }

void setCheck(Dialog* dialog, int id, bool checked)
{
    sendItem(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool getCheck(Dialog* dialog, int id) { return sendItem(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
