// The platform layer on Win32: the standard control messages, which already
// behave as the dialog logic expects, plus one repair for text limits of 0.

#include <windows.h>
#include <commctrl.h>

#include <cassert>
#include <cstdint>
#include <vector>

#include "accessibility_win32.h"
#include "ansi_text.h"
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

// The limit counts characters as the record does, a surrogate pair as one, where
// EM_LIMITTEXT counts UTF-16 units and would split a pair; and to the logic 0 means
// "nothing more", to EM_LIMITTEXT "no limit". So the single-line edits' subclass
// keeps the limit in a property (plus one, so that none is 0) and fits what is
// typed or pasted to it; EM_LIMITTEXT only stays out of the way. Texts set by
// the program are not limited, as with a real limit. (A property, as
// GetWindowSubclass is exported by ordinal only.)
constexpr const char* kLimitProperty = "KorvelLimit";

std::size_t characterCount(const std::u16string& text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        count += !(text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF);
    return count;
}

std::u16string textOf(HWND edit)
{
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    const int length = GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
    return std::u16string(text.begin(), text.begin() + (length > 0 ? length : 0));
}

// Of an insertion that replaces the selection, as many whole characters as the
// limit leaves room for; as an edit at its limit does, the parent hears of a cut.
std::u16string fitToLimit(HWND edit, const std::u16string& inserted)
{
    const auto limit = reinterpret_cast<std::uintptr_t>(GetPropA(edit, kLimitProperty));
    if (limit == 0)
        return inserted;
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::u16string text = textOf(edit);
    const std::size_t kept = characterCount(text.substr(0, start)) + characterCount(text.substr(end));
    std::size_t room = limit - 1 > kept ? limit - 1 - kept : 0;
    std::size_t units = 0;
    while (units < inserted.size() && room > 0) {
        const bool pair = inserted[units] >= 0xD800 && inserted[units] <= 0xDBFF && units + 1 < inserted.size() &&
                          inserted[units + 1] >= 0xDC00 && inserted[units + 1] <= 0xDFFF;
        units += pair ? 2 : 1;
        --room;
    }
    if (units < inserted.size())
        SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), EN_MAXTEXT),
                     reinterpret_cast<LPARAM>(edit));
    return inserted.substr(0, units);
}

// The edit itself keeps a tab or any other control character of a pasted text,
// and Ctrl+Backspace types 127 into it.
constexpr UINT_PTR kSingleLineSubclass = 2;

bool clipboardText(HWND owner, std::u16string& text)
{
    if (!OpenClipboard(owner))
        return false;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* characters = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (characters) {
        for (const wchar_t* c = characters; *c; ++c)
            text.push_back(static_cast<char16_t>(*c));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return characters != nullptr;
}

// Limited and upper-cased like typing, and one change.
void replaceSelection(HWND edit, const std::u16string& text)
{
    std::vector<wchar_t> terminated(text.begin(), text.end());
    terminated.push_back(L'\0');
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(terminated.data()));
}

// A typed character: one that does not fit drops the selection only, as at a real
// limit; the second half of a pair goes in right after its first, or not at all.
bool takesCharacter(HWND edit, char16_t typed)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (typed >= 0xDC00 && typed <= 0xDFFF) {
        const std::u16string text = textOf(edit);
        return start > 0 && start <= text.size() && text[start - 1] >= 0xD800 && text[start - 1] <= 0xDBFF;
    }
    if (!fitToLimit(edit, std::u16string(1, typed)).empty())
        return true;
    if (start != end)
        replaceSelection(edit, std::u16string());
    return false;
}

LRESULT CALLBACK singleLineProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId, DWORD_PTR)
{
    if (message == WM_NCDESTROY) {
        RemovePropA(edit, kLimitProperty);
        RemoveWindowSubclass(edit, singleLineProc, subclassId);
    } else if (message == WM_CHAR && wParam == 0x7F) {
        return 0;
    } else if (message == WM_CHAR && wParam >= 0x20 && !takesCharacter(edit, static_cast<char16_t>(wParam))) {
        return 0;
    } else if (message == WM_PASTE) {
        std::u16string pasted;
        if (clipboardText(edit, pasted))
            replaceSelection(edit, fitToLimit(edit, singleLineInput(pasted)));
        return 0;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

BOOL CALLBACK filterEditProc(HWND control, LPARAM)
{
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    if (lstrcmpiW(className, L"Edit") == 0 && !(GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE))
        SetWindowSubclass(control, singleLineProc, kSingleLineSubclass, 0);
    return TRUE;
}

// Windows-1252 whatever the system's ANSI code page: the controls hold UTF-16.
// (Vectors of wchar_t rather than std::wstring keep the runtime's wide-string code
// out of the program.)
std::vector<wchar_t> wideFromAnsi(const std::string& text)
{
    const std::u16string wide = utf16FromAnsi(text.substr(0, text.find('\0')));
    std::vector<wchar_t> terminated(wide.begin(), wide.end());
    terminated.push_back(L'\0');
    return terminated;
}

} // namespace

void filterSingleLineInput(HWND dialog) { EnumChildWindows(dialog, filterEditProc, 0); }

unsigned editCharacterLimit(HWND edit)
{
    const auto limit = reinterpret_cast<std::uintptr_t>(GetPropA(edit, kLimitProperty));
    return limit ? static_cast<unsigned>(limit - 1) : static_cast<unsigned>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
}

std::string getItemText(Dialog* dialog, int id, std::size_t maxChars)
{
    // A buffer no larger than the text: the result is the same as with maxChars + 1.
    const int present = GetWindowTextLengthW(item(dialog, id));
    std::size_t size = present > 0 ? static_cast<std::size_t>(present) : 0;
    if (size > maxChars)
        size = maxChars;
    std::vector<wchar_t> text(size + 1, L'\0');
    const UINT length = GetDlgItemTextW(windowOf(dialog), id, text.data(), static_cast<int>(size + 1));
    text.resize(length < size ? length : size);
    return ansiFromUtf16(std::u16string(text.begin(), text.end()));
}

void setItemText(Dialog* dialog, int id, const std::string& text)
{
    SetDlgItemTextW(windowOf(dialog), id, wideFromAnsi(text).data());
    readTextChanged(windowOf(dialog), id);
}

unsigned getItemUnsigned(Dialog* dialog, int id) { return GetDlgItemInt(windowOf(dialog), id, NULL, FALSE); }

void setItemUnsigned(Dialog* dialog, int id, unsigned value) { SetDlgItemInt(windowOf(dialog), id, value, FALSE); }

void setItemSigned(Dialog* dialog, int id, int value)
{
    SetDlgItemInt(windowOf(dialog), id, static_cast<UINT>(value), TRUE);
}

int getTrackbarPos(Dialog* dialog, int id) { return static_cast<int>(sendItem(dialog, id, TBM_GETPOS, 0, 0)); }

// With redraw: a bound that moves the thumb would otherwise leave it drawn where it was.
void setTrackbarRangeMin(Dialog* dialog, int id, int minimum) { sendItem(dialog, id, TBM_SETRANGEMIN, TRUE, minimum); }

void setTrackbarRangeMax(Dialog* dialog, int id, int maximum) { sendItem(dialog, id, TBM_SETRANGEMAX, TRUE, maximum); }

void setTrackbarPos(Dialog* dialog, int id, int position) { sendItem(dialog, id, TBM_SETPOS, TRUE, position); }

// A dropped list is at least as wide as its widest row, which may be wider than the
// field ("COM15 (not connected)").
void fitDroppedWidth(HWND combo, const std::string& text)
{
    HDC dc = GetDC(combo);
    const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(combo, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, font);
    ReleaseDC(combo, dc);
    const LRESULT width = size.cx + 4 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
    if (width > SendMessageA(combo, CB_GETDROPPEDWIDTH, 0, 0))
        SendMessageA(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
}

int addComboRow(Dialog* dialog, int id, const std::string& text)
{
    fitDroppedWidth(item(dialog, id), text);
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

void clearComboRows(Dialog* dialog, int id) { sendItem(dialog, id, CB_RESETCONTENT, 0, 0); }

void setTextLimit(Dialog* dialog, int id, unsigned maxChars)
{
    HWND edit = item(dialog, id);
    if (!edit)
        return;
    // Room for every character as a pair; the subclass counts the characters.
    SendMessageW(edit, EM_LIMITTEXT, maxChars > 0 && maxChars < 0x3FFFFFFF ? 2 * maxChars : 0, 0);
    SetPropA(edit, kLimitProperty, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(maxChars) + 1));
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
