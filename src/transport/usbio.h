// Opening and closing a recorder, and the two transfers of every exchange:
// a command written to the bulk OUT endpoint, a reply read from bulk IN.
// Every function here expects the library lock to be held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <usb.h>
#include <string_view>

#include "LibVestra.h"

namespace vx {

constexpr int kWriteTimeoutMs = 1000;
constexpr int kReadTimeoutMs = 1000;
constexpr int kFlushTimeoutMs = 100;
constexpr int kFlushChunk = 4096;
constexpr int kMaxWrites = 7;

// Opens the first attached device with these ids into the record (whose model
// fields are filled), sets its configuration and claims its interface.
// state: 1 on success, 2 on failure. The status number is not touched.
int Open_Device(VestraInfo *dev, uint32_t pid, uint32_t vid, int *state);
// Sets the record's configuration and claims its interface on an opened
// handle. On failure the libusb error, formatted as the open operations report
// it, is left in text. who: the routine that logs the successes, or null.
bool ConfigureAndClaim(VestraInfo *dev, usb_dev_handle *handle, const char *who, char *text,
                       std::size_t size);
// Releases the claimed interface and closes the handle if open; always leaves
// the record closed with device number -1.
void Close_Device(VestraInfo *dev);

// Drops whatever stale input the device has waiting.
void FlushReadDev(VestraInfo *dev);
// Flushes, then writes the command in at most 7 bulk transfers. Returns the
// bytes written, or -1 (the record is then closed).
int WriteFullDev(VestraInfo *dev, std::string_view command);
// Reads into reply (zero-filled, capacity bytes) until the reply is complete
// or the area is full; the text always stays NUL-terminated. Returns the
// bytes read, or -1. A time-out keeps the record open; any other error closes
// it and sets DeviceChangeState to 2.
int ReadFullDev(VestraInfo *dev, char *reply, int capacity);

}  // namespace vx
