#pragma once
// Programming records "$#Pe0..." / "$#Pe1...": decimal byte values for the tracker's EEPROM.

#include <string>

#include "config_settings.h"

// Appends the AX.25 address values of six characters (code shifted left by one,
// kept to 8 bits), each followed by ",".
void appendAddressBytes(std::string& record, const char (&chars)[6]);

// Appends one value (1..255) per byte of text, each followed by ","; stops at the
// first NUL byte, as the dialog's texts end there.
void appendTextBytes(std::string& record, const std::string& text);

// The whole record; the last value is followed by one space, no line end.
std::string buildConfigRecord(const ConfigSettings& settings, int configNumber, bool secondConfigEnabled);
