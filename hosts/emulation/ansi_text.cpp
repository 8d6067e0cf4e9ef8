#include "ansi_text.h"

#include "windows1252.h"

#include <type_traits>

namespace {

bool isSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }
bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool isLineBreak(unsigned code) { return code == '\r' || code == '\n'; }
bool isControl(unsigned code) { return code < 0x20 || code == 0x7F; }

template <typename Text, typename Unit>
Text singleLine(const Text& text)
{
    Text kept;
    for (Unit c : text) {
        const unsigned code = static_cast<typename std::make_unsigned<Unit>::type>(c);
        if (isLineBreak(code))
            break;
        if (!isControl(code))
            kept.push_back(c);
    }
    return kept;
}

} // namespace

unsigned char ansiFromUtf16(char16_t character) { return windows1252FromUnicode(character); }

char16_t utf16FromAnsi(unsigned char byte) { return static_cast<char16_t>(unicodeFromWindows1252(byte)); }

std::string ansiFromUtf16(const std::u16string& text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
            ++i;
        bytes.push_back(static_cast<char>(isSurrogate(text[i]) ? '?' : ansiFromUtf16(text[i])));
    }
    return bytes;
}

std::u16string utf16FromAnsi(const std::string& text)
{
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text)
        wide.push_back(utf16FromAnsi(static_cast<unsigned char>(c)));
    return wide;
}

unsigned char ansiUpper(unsigned char byte) { return windows1252Upper(byte); }

std::u16string singleLineInput(const std::u16string& text) { return singleLine<std::u16string, char16_t>(text); }
std::string singleLineInput(const std::string& text) { return singleLine<std::string, char>(text); }
