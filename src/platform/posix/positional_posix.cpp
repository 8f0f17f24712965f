// Positional file I/O with pread/pwrite.
#include "platform/platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::platform {

FileHandle OpenForRead(const char *path) {
    if (path == nullptr) return kNoFile;
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    return fd < 0 ? kNoFile : FileHandle(fd);
}

FileHandle OpenForUpdate(const char *path) {
    if (path == nullptr) return kNoFile;
    int fd = ::open(path, O_RDWR | O_CLOEXEC);
    return fd < 0 ? kNoFile : FileHandle(fd);
}

long long ReadAt(FileHandle file, uint64_t pos, void *buf, std::size_t n) {
    if (pos > uint64_t(INT64_MAX)) return -1;
    std::size_t got = 0;
    while (got < n) {
        ssize_t r = ::pread(int(file), static_cast<char *>(buf) + got, n - got, off_t(pos + got));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return -1;
        if (r == 0) break;  // end of file
        got += std::size_t(r);
    }
    return static_cast<long long>(got);
}

bool WriteAt(FileHandle file, uint64_t pos, const void *buf, std::size_t n) {
    if (pos > uint64_t(INT64_MAX)) return false;
    std::size_t put = 0;
    while (put < n) {
        ssize_t r =
            ::pwrite(int(file), static_cast<const char *>(buf) + put, n - put, off_t(pos + put));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        put += std::size_t(r);
    }
    return true;
}

long long SizeOf(FileHandle file) {
    struct stat st {};
    if (::fstat(int(file), &st) != 0) return -1;
    return static_cast<long long>(st.st_size);
}

void CloseFile(FileHandle file) {
    if (file != kNoFile) ::close(int(file));
}

}  // namespace vx::platform
