// The few services that differ by operating system. Everything else in the
// library reaches the system through this header only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

namespace vx::platform {

// What the platform's libusb 0.1 returns for a bulk transfer that timed out
// (libusb-win32: -116; libusb 0.1 on Linux: -ETIMEDOUT).
extern const int kUsbTimeout;

// Directory of the host executable (not of this library), in the narrow
// encoding the file functions take; no trailing separator. Empty if unknown.
std::string HostExeDir();

// The path separator used when joining a directory and a file name.
extern const char kPathSep;

// Wall-clock milliseconds since the process started, from a monotonic clock.
uint32_t MillisSinceStart();
void SleepMs(uint32_t ms);

// Thread-safe broken-down time. Return false if the value cannot be broken down.
bool UtcFields(std::time_t t, std::tm *out);
bool LocalFields(std::time_t t, std::tm *out);

// Code-page conversions. "ANSI" and "OEM" are the system's current narrow
// code pages (on POSIX both are the locale's UTF-8). Each returns the number
// of units the whole text needs including its terminator, and converts only
// when that fits in capacity; 0 on a conversion the platform refuses.
std::size_t AnsiToWide(const char *src, char16_t *dst, std::size_t capacity);
std::size_t WideToOem(const char16_t *src, char *dst, std::size_t capacity);

// Files. Every path the library is given is the host's own narrow text, and
// every file operation takes it as it came: POSIX passes the bytes to the
// system unchanged; Windows reads them in the ANSI code page and calls the
// wide (W) functions. No caller converts a path itself, so the operations of
// one call can never disagree about which file a path names.

// Copies the file from over the file to (created or replaced), with the
// fastest copy the system offers. False when the source cannot be read, both
// name the same file, or the copy fails (no partial output is left then).
bool CopyFileReplace(const char *from, const char *to);
// Deletes the file; false when it could not be deleted (or did not exist).
bool RemoveFile(const char *path);
// Renames from to to, replacing an existing to.
bool RenameFile(const char *from, const char *to);
// The size of an existing file; false when it cannot be queried.
bool FileSize(const char *path, uint64_t *size);
// Appends n bytes to the file, creating it; one open, write and close.
bool AppendToFile(const char *path, const char *data, std::size_t n);

// Positional file I/O: one system call per read or write at an offset, no
// shared file position.
using FileHandle = std::intptr_t;
constexpr FileHandle kNoFile = -1;
FileHandle OpenForRead(const char *path);    // existing file, read only
FileHandle OpenForUpdate(const char *path);  // existing file, read and write
// Bytes read (short at the end of the file), or -1 on an error.
long long ReadAt(FileHandle file, uint64_t pos, void *buf, std::size_t n);
bool WriteAt(FileHandle file, uint64_t pos, const void *buf, std::size_t n);
// Size of the open file, or -1.
long long SizeOf(FileHandle file);
void CloseFile(FileHandle file);

// Device events and the crash collector. Where a platform has none (yet),
// these report false and do nothing.
// Delivers one call per USB arrival (1) or removal (2) to on_change, from a
// thread the platform owns, until the process ends.
bool StartDeviceEvents(void (*on_change)(int change));
// Installs the process-wide crash handler that writes the dump beside the
// host executable, pinned against replacement by later code.
bool InstallCrashHandler();

}  // namespace vx::platform
