#pragma once
// Test support for the POSIX port backend. The program never includes this header.

// Bytes written but not yet sent by the device (TIOCOUTQ), 0 when it cannot tell.
// Defined in a file of its own, so a test can link a stand-in.
int queuedOutputBytes(int fd);
