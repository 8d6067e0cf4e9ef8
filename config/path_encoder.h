#pragma once
// Digipeater path text to fixed-width path elements.

#include <string>

// 6 callsign characters padded with spaces, then 2 SSID characters.
constexpr std::size_t kPathElementChars = 8;
// What the tracker's 256-byte path buffer holds; the encoder stops after the last whole one.
constexpr std::size_t kMaxPathElements = 31;

// Encodes a path text (any bytes; callers pass at most 255 characters) into whole
// 8-character elements. Never fails: malformed input gives space-padded elements.
std::string encodePath(const std::string& pathText);
