#include "wide_text_win32.h"

#include <windows.h>

#include "windows1252.h"

bool wideFromUtf8(const std::string& text, std::vector<wchar_t>& wide)
{
    wide.assign(1, L'\0');
    if (text.empty())
        return true;
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0)
        return false;
    wide.assign(static_cast<std::size_t>(length) + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return true;
}

std::vector<wchar_t> wideFromUtf8(const std::string& text)
{
    std::vector<wchar_t> wide;
    wideFromUtf8(text, wide);
    return wide;
}

std::string utf8FromWide(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return std::string();
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back(); // the terminator
    return utf8;
}

std::vector<wchar_t> wideFromShownText(const std::string& text)
{
    std::vector<wchar_t> wide;
    if (wideFromUtf8(text, wide))
        return wide;
    wide.clear();
    for (char byte : text)
        wide.push_back(static_cast<wchar_t>(unicodeFromWindows1252(static_cast<unsigned char>(byte))));
    wide.push_back(L'\0');
    return wide;
}
