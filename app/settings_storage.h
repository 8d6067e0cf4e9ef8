#pragma once
// Reading and storing settings files; one implementation per system.

#include <cstddef>
#include <string>

// At most maxBytes + 1 bytes of the file, so that a larger file shows as larger.
// 1, or 0 and the system's words for why.
int readFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& why);

// Writes text to a new file in path's folder and renames it over path, so that a
// failure leaves the previous file whole. 1, or 0 and why.
int writeFileAtomically(const std::string& path, const std::string& text, std::string& why);
