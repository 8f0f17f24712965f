// Opening and closing a recorder, and the two transfers of every exchange:
// a command written to the bulk OUT endpoint, a reply read from bulk IN.
// Every function here expects the library lock to be held.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "LibVestra.h"
#include "common/fnref.h"
#include "common/state.h"

namespace vx {

// What libusb 0.1 returns for a bulk transfer that timed out (libusb-win32:
// -116; libusb 0.1 on Linux: -ETIMEDOUT).
#if defined(_WIN32)
constexpr int kUsbTimeout = -116;
#else
constexpr int kUsbTimeout = -ETIMEDOUT;
#endif

constexpr int kWriteTimeoutMs = 1000;
constexpr int kReadTimeoutMs = 1000;
constexpr int kFlushTimeoutMs = 100;
constexpr int kFlushChunk = 4096;
constexpr int kMaxWrites = 7;
// A device that keeps sending must not hold the caller forever: the flush
// gives up after this many reads, a reply read after this many empty packets.
constexpr int kMaxFlushReads = 256;
constexpr int kMaxEmptyReads = 16;

// Opens the first attached device with these ids into the record (whose model
// fields are filled), sets its configuration and claims its interface.
// state: 1 on success, 2 on failure. The status number is not touched.
int Open_Device(VestraInfo *dev, uint32_t pid, uint32_t vid, int *state) REQUIRES(LibLock());
// Opens the first attached device of the record's model (as VX_InitDev
// does: no success lines), sets its configuration and claims its interface.
// On failure the libusb error, formatted as the open operations report it,
// is left in text and the record stays closed.
bool OpenModel(VestraInfo *dev, char *text, std::size_t size) REQUIRES(LibLock());
// Sets the configuration and claims the interface of a record opened by a
// bus walk. On failure the handle is closed (not released), the status
// number is -106 or -107 and the error text says why (also logged). 1 or 0.
int ClaimDev(VestraInfo *dev) REQUIRES(LibLock());

// Opens each attached device with these ids, in bus order, into the record
// (whose model fields are filled) and hands it to visit with its serial-number
// string (at most 15 characters; empty when it has none). visit returns true
// to end the walk, leaving the record as visit left it; otherwise the record
// is closed before the next device. A device that cannot be opened is skipped.
void VisitOpened(VestraInfo *dev, uint32_t pid, uint32_t vid,
                 FnRef<bool(VestraInfo *dev, const char *serial)> visit) REQUIRES(LibLock());

// Releases the claimed interface and closes the handle if open; always leaves
// the record closed with device number -1.
void Close_Device(VestraInfo *dev) REQUIRES(LibLock());

// Drops whatever stale input the device has waiting.
void FlushReadDev(VestraInfo *dev) REQUIRES(LibLock());
// Flushes, then writes the command in at most 7 bulk transfers. Returns the
// bytes written, or -1 (the record is then closed).
int WriteFullDev(VestraInfo *dev, std::string_view command) REQUIRES(LibLock());
// The protocol's completeness rule, handed to the read: non-zero once the
// text read so far is a whole reply (its value is the read's verdict).
using CompleteRule = int (*)(const char *text);

// What a read ended with: the bytes read (-1: the read failed) and the
// verdict the completeness rule gave the text read (0: never complete).
struct ReadResult {
    int bytes = -1;
    int verdict = 0;
};

// Reads into reply (zero-filled, capacity bytes) until complete says the
// reply is whole or the area is full; the text always stays NUL-terminated.
// The record is open (WriteFullDev has just checked it). A time-out keeps
// the record open; any other error closes it and sets g_device_change_state to 2.
ReadResult ReadFullDev(VestraInfo *dev, char *reply, int capacity, CompleteRule complete)
    REQUIRES(LibLock());

}  // namespace vx
