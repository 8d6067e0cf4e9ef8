// Its own file, so that a test can link a stand-in: a pseudo-terminal always
// reports an empty queue.
#include "port_testing.h"

#include <sys/ioctl.h>

int queuedOutputBytes(int fd)
{
    int queued = 0;
    return ::ioctl(fd, TIOCOUTQ, &queued) == 0 ? queued : 0;
}
