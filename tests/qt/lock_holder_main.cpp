// Takes the instance lock as the program does, says whether it got it, and then
// holds it until it is killed.
#include <cstdio>

#include <unistd.h>

#include "app/instance_lock.h"

int main()
{
    const int mayRun = acquireInstanceLock("KorvelConfig");
    std::printf("%s\n", mayRun ? "locked" : "refused");
    std::fflush(stdout);
    if (!mayRun)
        return 1;
    for (;;)
        pause();
}
