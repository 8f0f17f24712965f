// Whole-file operations on byte paths, passed to the system unchanged.
#include "platform/platform.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::platform {

bool RemoveFile(const char *path) { return path != nullptr && ::unlink(path) == 0; }

bool RenameFile(const char *from, const char *to) {
    return from != nullptr && to != nullptr && std::rename(from, to) == 0;
}

bool FileSize(const char *path, uint64_t *size) {
    struct stat st {};
    if (path == nullptr || ::stat(path, &st) != 0) return false;
    *size = static_cast<uint64_t>(st.st_size);
    return true;
}

Append AppendToFile(const char *path, const char *data, std::size_t n) {
    if (path == nullptr) return Append::kFailed;
    int fd = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0640);
    if (fd < 0) return errno == ELOOP ? Append::kLinkRefused : Append::kFailed;
    bool ok = true;
    for (std::size_t put = 0; put < n;) {
        ssize_t w = ::write(fd, data + put, n - put);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            ok = false;
            break;
        }
        put += std::size_t(w);
    }
    ::close(fd);
    return ok ? Append::kWritten : Append::kFailed;
}

}  // namespace vx::platform
