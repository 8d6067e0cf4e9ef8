#pragma once
// File names on Windows: the program holds them as UTF-8, so that a name with
// characters outside any code page survives; the system's calls take UTF-16.

#include <string>
#include <vector>

// Terminated, for the wide calls. False (and nothing) for a text that is not UTF-8.
bool wideFromUtf8(const std::string& text, std::vector<wchar_t>& wide);
std::vector<wchar_t> wideFromUtf8(const std::string& text);
std::string utf8FromWide(const wchar_t* text);

// A text to show: UTF-8 where it is (file names), else the Windows-1252 bytes of
// the rest of the program's texts, which are seldom valid UTF-8 as well.
std::vector<wchar_t> wideFromShownText(const std::string& text);
