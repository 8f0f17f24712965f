// The crash dump collector: the process's unhandled-exception filter writes
// a minidump beside the host executable (or in the log folder the host chose), named by the local time, and lets
// the system's handling go on, so the process ends as it would have. The
// filter uses no C runtime and no heap: the crashed thread may hold their locks.
#include <windows.h>
#include <dbghelp.h>

#include <atomic>

#include "platform/log_dir.h"
#include "platform/platform.h"
#include "platform/win32/pin_win32.h"
#include "platform/win32/proc_address.h"

namespace vx::platform {

namespace {

using MiniDumpWriter = BOOL(WINAPI *)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                      PMINIDUMP_EXCEPTION_INFORMATION,
                                      PMINIDUMP_USER_STREAM_INFORMATION,
                                      PMINIDUMP_CALLBACK_INFORMATION);

constexpr DWORD kLongestPath = 32768;
constexpr wchar_t kDumpPrefix[] = L"TarnbyCrash-";
// Stack kept back on the library's threads for the filter after an overflow.
constexpr ULONG kStackGuarantee = 64 * 1024;

MiniDumpWriter g_write_dump = nullptr;
// The executable's folder with its separator, made at install; the filter
// appends the file name. One dump per process, so one buffer serves.
wchar_t g_dump_path[kLongestPath + 64];
DWORD g_dir_length = 0;
std::atomic<bool> g_dumped{false};

// The system's own dbghelp.dll, by full path: never one planted in the
// host's folder or on the search path.
MiniDumpWriter LoadDumpWriter() {
    wchar_t path[MAX_PATH + 16];
    UINT n = ::GetSystemDirectoryW(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    ::lstrcpyW(path + n, L"\\dbghelp.dll");
    return SystemProc<MiniDumpWriter>(::LoadLibraryW(path), "MiniDumpWriteDump");  // kept loaded
}

bool NoteExecutableFolder() {
    DWORD n = ::GetModuleFileNameW(nullptr, g_dump_path, kLongestPath);
    if (n == 0 || n >= kLongestPath) return false;
    while (n > 0 && g_dump_path[n - 1] != L'\\' && g_dump_path[n - 1] != L'/') --n;
    g_dir_length = n;
    return true;
}

wchar_t *PutDigits(wchar_t *p, unsigned value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value /= 10)
        p[i] = static_cast<wchar_t>(L'0' + value % 10);
    return p + digits;
}

// "<folder>TarnbyCrash-YYYYMMDD HHMMSS.dmp" for the local time now.
const wchar_t *DumpName() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    wchar_t *p = g_dump_path + g_dir_length;
    for (const wchar_t *s = kDumpPrefix; *s != L'\0'; ++s) *p++ = *s;
    p = PutDigits(p, now.wYear, 4);
    p = PutDigits(p, now.wMonth, 2);
    p = PutDigits(p, now.wDay, 2);
    *p++ = L' ';
    p = PutDigits(p, now.wHour, 2);
    p = PutDigits(p, now.wMinute, 2);
    p = PutDigits(p, now.wSecond, 2);
    for (const wchar_t *s = L".dmp"; *s != L'\0'; ++s) *p++ = *s;
    *p = L'\0';
    return g_dump_path;
}

void WriteCrashDump(const wchar_t *name, EXCEPTION_POINTERS *pointers) {
    // A new file only: whatever already has the name (a planted link or
    // junction among them) is not opened, let alone followed.
    HANDLE file = ::CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;  // an unwritable folder leaves no dump
    MINIDUMP_EXCEPTION_INFORMATION info{};
    info.ThreadId = ::GetCurrentThreadId();
    info.ExceptionPointers = pointers;
    info.ClientPointers = TRUE;
    g_write_dump(::GetCurrentProcess(), ::GetCurrentProcessId(), file, MiniDumpNormal, &info,
                 nullptr, nullptr);
    ::CloseHandle(file);
}

// The log folder when the host chose one (VX_SetLibLogDir), in place of the
// executable's folder noted at install. Called once: one dump per process.
void UseChosenFolder() {
    static char chosen[kLogDirArea];
    if (CopyLogDir(chosen, sizeof chosen) == 0) return;
    int n = ::MultiByteToWideChar(CP_ACP, 0, chosen, -1, g_dump_path, kLongestPath);
    if (n <= 1) {
        NoteExecutableFolder();
        return;
    }
    DWORD length = static_cast<DWORD>(n - 1);
    if (g_dump_path[length - 1] != L'\\' && g_dump_path[length - 1] != L'/')
        g_dump_path[length++] = L'\\';
    g_dir_length = length;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS *pointers) {
    // A second crash (in here, or on another thread at once) goes straight on.
    if (!g_dumped.exchange(true)) {
        UseChosenFolder();
        WriteCrashDump(DumpName(), pointers);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void InstallCrashHandler(bool *pinned) {
    *pinned = false;
    g_write_dump = LoadDumpWriter();
    if (g_write_dump == nullptr || !NoteExecutableFolder()) return;  // no dump could be written
    // Through the real entry first; the pin then closes it to everyone else.
    ::SetUnhandledExceptionFilter(CrashFilter);
    *pinned = PinExceptionFilter();
}

void PrepareThreadForCrashes() {
    ULONG size = kStackGuarantee;
    ::SetThreadStackGuarantee(&size);
}

// The filter reads the local time from the system, which keeps the zone
// current itself.
void NoteLocalTimeOffset() {}
void NoteLocalTimeOffset(const std::tm &) {}

}  // namespace vx::platform
