#include "commands/write_file_bytes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Writes all bytes; false when the disk is full or the write fails otherwise.
bool WriteAll(int fd, const ByteSet& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

int WriteFileBytes(const Text& path, const ByteSet& bytes)
{
    if (path.empty()) return 0;

    // Not truncated yet: nothing may change until the file is known to be ours
    // to write. O_NONBLOCK keeps a FIFO of that name from blocking the open.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return 0;

    struct stat status{};
    const bool writable = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & 0222) != 0;
    if (!writable || flock(fd, LOCK_EX | LOCK_NB) != 0 || ftruncate(fd, 0) != 0) {
        close(fd);
        return 0;
    }
    const bool complete = WriteAll(fd, bytes);
    const bool closed = close(fd) == 0;
    return complete && closed ? 1 : 0;
}
