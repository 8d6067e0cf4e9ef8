#pragma once
// Test support for the port table; the command line also reaches a device by
// path through setPortDevicePathForTesting (port_lookup_posix.cpp).

#include <cstdint>

#include "port_table.h"

struct termios;

// POSIX: makes slot 0 to 8 stand for another device (a pseudo-terminal, say) at
// its next probe or open; nullptr gives the slot back its own device.
void setPortDevicePathForTesting(unsigned slot, const char* path);

// POSIX: turns settings (as read from the device) into those that openPort
// applies for the line. Returns 1, or 0 when the platform has no such line
// (1.5 or undefined stop bits, a rate it lacks); openPort then fails with EINVAL.
int termiosForLine(const LineSettings& line, termios& settings);

// POSIX: bytes written but not yet sent by the device (TIOCOUTQ), 0 when it cannot
// tell. Defined in a file of its own, so a test can link a stand-in.
int queuedOutputBytes(int fd);

// Win32: the bit-field word of the DCB that openPort applies for the line.
std::uint32_t dcbFlagWord(const LineSettings& line);
