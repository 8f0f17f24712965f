// The few services that differ by operating system. Everything else in the
// library reaches the system through this header only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

namespace vx::platform {

// Directory of the host executable (not of this library), in the narrow
// encoding the file functions take; no trailing separator. Empty if unknown.
std::string HostExeDir();

// The path separator used when joining a directory and a file name.
extern const char kPathSep;
// What a text file holds for each "\n" of a line: on Windows CR LF, as the C
// runtime's text mode writes it; elsewhere the LF itself.
extern const char kTextNewline[];

// Wall-clock milliseconds since the process started, from a monotonic clock.
uint32_t MillisSinceStart();
void SleepMs(uint32_t ms);

// A wake-up kept until it is taken (an auto-reset event): SetWake wakes the
// thread in WaitWake, or the next thread to call it. Made once and never
// destroyed: a thread may rest on it while the process exits.
struct Wake;
Wake *NewWake();
void SetWake(Wake *wake);
// Rests until the wake is set (true; it is taken) or ms have passed (false),
// measured on a clock that setting the system's time does not move.
bool WaitWake(Wake *wake, uint32_t ms);

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
bool CopyFileReplace(const char *src, const char *dst);
// Deletes the file; false when it could not be deleted (or did not exist).
bool RemoveFile(const char *path);
// Renames from to to, replacing an existing to.
bool RenameFile(const char *from, const char *to);
// The size of an existing file; false when it cannot be queried.
bool FileSize(const char *path, uint64_t *size);
// Appends n bytes to the file, creating it with no access for others (0640
// on POSIX); one open, write and close. A symbolic link (a reparse point on
// Windows) in the file's place is never followed: nothing is written then.
enum class Append { kWritten, kFailed, kLinkRefused };
Append AppendToFile(const char *path, const char *data, std::size_t n);

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

// ---- Device events ------------------------------------------------------
// The system's source of USB device arrivals and removals. Open returns null
// when none can be opened; name then says why, else which source it is.
struct DeviceEvents;
DeviceEvents *OpenDeviceEvents(std::string *name);
enum DeviceEvent { kNoEvent = 0, kArrival = 1, kRemoval = 2, kSourceFailed = -1 };
// Blocks until the next event. Other happenings of the device give kNoEvent.
DeviceEvent WaitDeviceEvent(DeviceEvents *source);

// Pins this library in memory for the rest of the process (its threads run
// its code until the process ends).
void KeepLibraryLoaded();
// True when the process is ending and the system has already ended every
// other thread (Windows does so before a DLL's static state goes). Exit code
// then has nothing to wait for, and must not wait: it holds the loader lock.
bool OtherThreadsEnded();

// ---- Crash dumps --------------------------------------------------------
// Makes the library the process's last-chance crash handler: a fatal fault
// writes "TarnbyCrash-YYYYMMDD HHMMSS.dmp" beside the host executable, then
// the process ends as it would have. Later attempts by other code to replace
// the handler do not take effect (pinned: true when that succeeded).
void InstallCrashHandler(bool *pinned);
// A thread the library starts calls this first, so a crash on it (a stack
// overflow included) still reaches the handler.
void PrepareThreadForCrashes();
// Takes the local time zone offset the handler names its file by (the
// handler itself may not read the zone): at the start, at each refresh and
// with each log line. The second form takes it from a local time just
// broken down (localtime's result), for free.
void NoteLocalTimeOffset();
void NoteLocalTimeOffset(const std::tm &local);

}  // namespace vx::platform
