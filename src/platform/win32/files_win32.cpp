// Whole-file operations: the ANSI path read into UTF-16, then the W calls.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/widepath.h"

namespace vx::platform {

bool WidePath(const char *path, std::wstring *out) {
    if (path == nullptr || *path == '\0') return false;
    int need = ::MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (need <= 1) return false;
    out->assign(std::size_t(need), L'\0');
    if (::MultiByteToWideChar(CP_ACP, 0, path, -1, out->data(), need) != need) return false;
    out->resize(std::size_t(need) - 1);
    return true;
}

bool CopyFileReplace(const char *from, const char *to) {
    std::wstring src, dst;
    if (!WidePath(from, &src) || !WidePath(to, &dst)) return false;
    // CopyFileW replaces the output (fail-if-exists false); copying a file
    // onto itself fails there with a sharing violation, leaving it whole.
    return ::CopyFileW(src.c_str(), dst.c_str(), FALSE) != 0;
}

bool RemoveFile(const char *path) {
    std::wstring w;
    return WidePath(path, &w) && ::DeleteFileW(w.c_str()) != 0;
}

bool RenameFile(const char *from, const char *to) {
    std::wstring a, b;
    return WidePath(from, &a) && WidePath(to, &b) &&
           ::MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool FileSize(const char *path, uint64_t *size) {
    std::wstring w;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!WidePath(path, &w) || !::GetFileAttributesExW(w.c_str(), GetFileExInfoStandard, &data))
        return false;
    *size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

// The reparse point itself is opened, not its target, and then refused.
Append AppendToFile(const char *path, const char *data, std::size_t n) {
    std::wstring w;
    if (!WidePath(path, &w)) return Append::kFailed;
    HANDLE h =
        ::CreateFileW(w.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Append::kFailed;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        ::CloseHandle(h);
        return Append::kLinkRefused;
    }
    bool ok = true;
    for (std::size_t put = 0; put < n;) {
        DWORD chunk = DWORD(n - put > 0x40000000 ? 0x40000000 : n - put), done = 0;
        if (!::WriteFile(h, data + put, chunk, &done, nullptr) || done == 0) {
            ok = false;
            break;
        }
        put += done;
    }
    ::CloseHandle(h);
    return ok ? Append::kWritten : Append::kFailed;
}

}  // namespace vx::platform
