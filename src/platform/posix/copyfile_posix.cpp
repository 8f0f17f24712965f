// File copy with replace: copy_file_range over the data extents of the source
// (holes stay holes), with a read/write loop where the kernel refuses it.
#include "platform/platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace vx::platform {
namespace {

struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

bool CopyPlain(int in, int out, off_t pos, off_t end) {
    char buf[1 << 16];
    while (pos < end) {
        std::size_t want = static_cast<std::size_t>(std::min<off_t>(end - pos, sizeof buf));
        ssize_t n = ::pread(in, buf, want, pos);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::pwrite(out, buf + done, static_cast<std::size_t>(n - done), pos + done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return false;
            done += w;
        }
        pos += n;
    }
    return true;
}

// Copies bytes [pos, end) to the same offsets of out.
bool CopyRange(int in, int out, off_t pos, off_t end) {
    while (pos < end) {
        off_t out_pos = pos;
        ssize_t n =
            ::copy_file_range(in, &pos, out, &out_pos, static_cast<std::size_t>(end - pos), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
            return CopyPlain(in, out, pos, end);
        if (n <= 0) return false;  // an error, or the source shrank
    }
    return true;
}

bool CopyExtents(int in, int out, off_t size) {
    off_t pos = 0;
    while (pos < size) {
        off_t data = ::lseek(in, pos, SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO) break;             // only a hole is left
            return CopyRange(in, out, pos, size);  // no extent map: copy it all
        }
        off_t hole = ::lseek(in, data, SEEK_HOLE);
        if (hole < 0 || hole > size) hole = size;
        if (!CopyRange(in, out, data, hole)) return false;
        pos = hole;
    }
    return ::ftruncate(out, size) == 0;  // trailing hole
}

}  // namespace

// The paths are bytes and reach the system as they are.
bool CopyFileReplace(const char *src, const char *dst) {
    if (src == nullptr || dst == nullptr || *src == '\0' || *dst == '\0') return false;
    Fd in(::open(src, O_RDONLY | O_CLOEXEC));
    struct stat si {};
    if (in.fd < 0 || ::fstat(in.fd, &si) != 0 || !S_ISREG(si.st_mode)) return false;
    struct stat so {};
    if (::stat(dst, &so) == 0 && so.st_dev == si.st_dev && so.st_ino == si.st_ino)
        return false;  // truncating the output would destroy the input
    // A fresh mode, not the source's: a read-only recording must still give
    // an output that can be decrypted in place.
    Fd out(::open(dst, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (out.fd < 0) return false;
    if (!CopyExtents(in.fd, out.fd, si.st_size)) {
        ::unlink(dst);
        return false;
    }
    return true;
}

}  // namespace vx::platform
