// Positional file I/O: ReadFile and WriteFile with the offset in an
// OVERLAPPED on a synchronous handle, so no file position is shared.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/widepath.h"

namespace vx::platform {
namespace {

HANDLE H(FileHandle f) { return reinterpret_cast<HANDLE>(f); }

FileHandle Open(const char *path, DWORD access) {
    std::wstring w;
    if (!WidePath(path, &w)) return kNoFile;
    HANDLE h = ::CreateFileW(w.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return kNoFile;
    return reinterpret_cast<FileHandle>(h);
}

OVERLAPPED At(uint64_t pos) {
    OVERLAPPED o{};
    o.Offset = DWORD(pos & 0xFFFFFFFFu);
    o.OffsetHigh = DWORD(pos >> 32);
    return o;
}

constexpr std::size_t kMaxChunk = 1u << 30;

}  // namespace

FileHandle OpenForRead(const char *path) { return Open(path, GENERIC_READ); }

FileHandle OpenForUpdate(const char *path) { return Open(path, GENERIC_READ | GENERIC_WRITE); }

long long ReadAt(FileHandle file, uint64_t pos, void *buf, std::size_t n) {
    if (pos > uint64_t(INT64_MAX)) return -1;
    std::size_t got = 0;
    while (got < n) {
        OVERLAPPED o = At(pos + got);
        DWORD want = DWORD(n - got < kMaxChunk ? n - got : kMaxChunk), done = 0;
        if (!::ReadFile(H(file), static_cast<char *>(buf) + got, want, &done, &o)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) break;
            return -1;
        }
        if (done == 0) break;  // end of file
        got += done;
    }
    return static_cast<long long>(got);
}

bool WriteAt(FileHandle file, uint64_t pos, const void *buf, std::size_t n) {
    if (pos > uint64_t(INT64_MAX)) return false;
    std::size_t put = 0;
    while (put < n) {
        OVERLAPPED o = At(pos + put);
        DWORD want = DWORD(n - put < kMaxChunk ? n - put : kMaxChunk), done = 0;
        if (!::WriteFile(H(file), static_cast<const char *>(buf) + put, want, &done, &o) ||
            done == 0)
            return false;
        put += done;
    }
    return true;
}

long long SizeOf(FileHandle file) {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(H(file), &size)) return -1;
    return static_cast<long long>(size.QuadPart);
}

void CloseFile(FileHandle file) {
    if (file != kNoFile) ::CloseHandle(H(file));
}

}  // namespace vx::platform
