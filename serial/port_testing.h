#pragma once
// Test support for the port table. The program never includes this header.

#include <cstdint>

#include "port_table.h"

struct termios;

// POSIX: turns settings (as read from the device) into those that openPort
// applies for the line. Returns 1, or 0 when the platform has no such line
// (1.5 or undefined stop bits, a rate it lacks); openPort then fails with EINVAL.
int termiosForLine(const LineSettings& line, termios& settings);

// POSIX: bytes written but not yet sent by the device (TIOCOUTQ), 0 when it cannot
// tell. Defined in a file of its own, so a test can link a stand-in.
int queuedOutputBytes(int fd);

// Win32: the bit-field word of the DCB that openPort applies for the line.
std::uint32_t dcbFlagWord(const LineSettings& line);
