#include "settings_storage.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int failed(std::string& why, int code)
{
    why = std::strerror(code);
    return 0;
}

// A FIFO would block the reader until someone writes, and a device may answer
// for ever or do something on open: only regular files are settings files.
const char* notAFile(mode_t mode)
{
    if (S_ISREG(mode))
        return nullptr;
    if (S_ISDIR(mode))
        return "is a folder, not a file";
    if (S_ISFIFO(mode))
        return "is a named pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device, not a file";
    return "is not a regular file";
}

int refused(std::string& why, const char* reason)
{
    why = reason;
    return 0;
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

int readFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& why)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0)
        return failed(why, errno);
    if (const char* reason = notAFile(status.st_mode))
        return refused(why, reason);
    // Without blocking, and checked again on what was opened: the name may have
    // changed hands meanwhile.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return failed(why, errno);
    const char* reason = ::fstat(fd, &status) == 0 ? notAFile(status.st_mode) : "cannot be read";
    if (reason) {
        ::close(fd);
        return refused(why, reason);
    }
    bytes.clear();
    std::vector<char> buffer(16384);
    while (bytes.size() <= maxBytes) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int code = errno;
            ::close(fd);
            return failed(why, code);
        }
        if (n == 0)
            break;
        bytes.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (bytes.size() > maxBytes + 1)
        bytes.resize(maxBytes + 1);
    return 1;
}

int writeFileAtomically(const std::string& path, const std::string& text, std::string& why)
{
    // The rename would put a file in place of a folder, pipe or device.
    struct stat status;
    if (::stat(path.c_str(), &status) == 0 && notAFile(status.st_mode))
        return refused(why, notAFile(status.st_mode));
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return failed(why, errno);
    // mkstemp makes the file private; a settings file is as readable as any other.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    int code = 0;
    errno = 0;
    if (!writeAll(fd, text) || ::fsync(fd) != 0)
        code = errno ? errno : EIO;
    if (::close(fd) != 0 && code == 0)
        code = errno;
    if (code == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        code = errno;
    if (code != 0) {
        ::unlink(temporary.c_str());
        return failed(why, code);
    }
    return 1;
}
