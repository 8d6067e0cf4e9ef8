#pragma once
// The single-instance guard: a named lock that the user's other processes can see,
// held until the process ends, however it ends.

// 1 when this process may run: it holds the lock now, or no lock could be made (the
// program then runs without a guard). 0 when another process of this user holds it.
int acquireInstanceLock(const char* name);
