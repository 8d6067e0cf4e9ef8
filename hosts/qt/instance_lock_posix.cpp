#include "instance_lock.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The user's name for the lock in the abstract socket namespace: one place, whatever
// the environment says, and the kernel frees it when the process ends, however it
// ends. No file is left behind to obey or to clean up.
sockaddr_un lockAddress(const char* name, socklen_t& length)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const std::string text = std::string(name) + "-" + std::to_string(getuid());
    const std::size_t size = text.size() < sizeof address.sun_path - 1 ? text.size() : sizeof address.sun_path - 1;
    std::memcpy(address.sun_path + 1, text.data(), size); // sun_path[0] stays 0: abstract
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + size);
    return address;
}

// Whether the holder of the name runs as this user. Anybody may take any abstract
// name: another user's squatting must not keep this user's program from running.
// Never waits: a holder that takes no more callers cannot be told apart, and counts
// as someone else's.
bool heldByThisUser(const sockaddr_un& address, socklen_t length)
{
    const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    ucred peer {};
    socklen_t size = sizeof peer;
    const bool mine = probe >= 0 && connect(probe, reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
                      getsockopt(probe, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
    if (probe >= 0)
        close(probe);
    return mine;
}

} // namespace

int acquireInstanceLock(const char* name)
{
    socklen_t length = 0;
    const sockaddr_un address = lockAddress(name, length);
    // Not inherited by anything the program starts.
    const int lock = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (lock < 0)
        return 1;
    if (bind(lock, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
        // Listening lets a later start ask who holds it; nobody is accepted, so each
        // such start stays in the queue. The socket stays open on purpose until the
        // process ends.
        listen(lock, SOMAXCONN);
        return 1;
    }
    const bool taken = errno == EADDRINUSE;
    close(lock);
    return taken && heldByThisUser(address, length) ? 0 : 1;
}
