#include "instance_lock.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// 1: this process holds the lock at path now; 0: another process holds it; -1: no
// lock could be made there.
int lockAt(const std::string& path)
{
    // Not inherited by anything the program starts, no symlinks followed.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || info.st_uid != getuid() || !S_ISREG(info.st_mode)) {
        close(fd); // someone else's file: not a lock to obey or to hold
        return -1;
    }
    int result;
    do
        result = flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        close(fd);
        return heldElsewhere ? 0 : -1;
    }
    // The descriptor stays open on purpose: the kernel drops the lock when the
    // process ends, also after a crash or SIGKILL.
    return 1;
}

} // namespace

int acquireInstanceLock(const char* name)
{
    // Per user: the runtime directory is the user's own (mode 0700), so nobody else
    // can take or block the name. Without a usable one (su, sudo, cron, some
    // containers), /tmp: shared, hence the uid in the name there.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) {
        const int held = lockAt(std::string(runtime) + "/" + name + ".lock");
        if (held >= 0)
            return held;
    }
    const int held = lockAt("/tmp/" + std::string(name) + "-" + std::to_string(getuid()) + ".lock");
    return held >= 0 ? held : 1;
}
