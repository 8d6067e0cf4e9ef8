#pragma once
// Texts as the records take them: Windows-1252 bytes (the ANSI code page of
// Western Windows systems), whatever code page or text type the platform uses;
// and what a single-line edit takes of an inserted text.

#include <string>

// A character that Windows-1252 lacks becomes '?'; a pair of UTF-16 surrogates is
// one character. The five bytes that Windows-1252 leaves undefined stand for the
// control characters of the same number, as in Windows' own table.
std::string ansiFromUtf16(const std::u16string& text);
std::u16string utf16FromAnsi(const std::string& text);
unsigned char ansiFromUtf16(char16_t character); // '?' also for a surrogate
char16_t utf16FromAnsi(unsigned char byte);

// The upper-case letter of an upper-case edit; a byte whose upper case is not in
// Windows-1252 (or that has none) stays as it is.
unsigned char ansiUpper(unsigned char byte);

// What a single-line edit takes of a typed or pasted text: the text up to its
// first line break (as a Windows single-line edit cuts a paste), without any
// other control character (below 32, and 127).
std::u16string singleLineInput(const std::u16string& text);
std::string singleLineInput(const std::string& text);
