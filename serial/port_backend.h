#pragma once
// Each system's side of port_table.h, one file per OS; port_table.cpp has checked
// the arguments before any of these is called.

#include <cstdint>
#include <string>

#include "port_table.h"

// Opens the device at a rate of the table into port, which holds none; 1, or 0
// with error filled and nothing left open.
int openDevice(const std::string& devicePath, int baud, PortHandle& port, PortError* error);
// At least one byte, into an open port.
std::uint32_t writeDevice(const PortHandle& port, const void* data, std::uint32_t length, PortError* error);
void closeDevice(std::intptr_t device);

// Fills error (when given) and returns 0, for the failure paths.
int portFailure(PortError* error, PortErrorKind kind, int systemCode);
