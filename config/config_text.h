#pragma once
// Internal to config/: the parts of the dialog's texts that records and budget use.

#include <cstddef>
#include <string>
#include <string_view>

// Up to the first NUL byte (where the dialog's C string ends), at most maxChars characters.
inline std::string_view textPortion(const std::string& text, std::size_t maxChars)
{
    const std::size_t end = text.find('\0');
    const std::size_t length = end == std::string::npos ? text.size() : end;
    return std::string_view(text.data(), length < maxChars ? length : maxChars);
}

// The encoded path elements of a path field: none for a compressed path,
// otherwise its first 255 characters through encodePath.
std::string encodedPathElements(const std::string& pathField);
