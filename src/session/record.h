// The device record: making one, and the checks every use of one starts with.
#pragma once

#include <memory>
#include <string_view>

#include "LibVestra.h"
#include "common/state.h"

namespace vx {

// A zeroed record, owned until it is handed to the caller (release()).
// Null when memory is short.
std::unique_ptr<VestraInfo> NewRecord();

// The "Device not Open" road: closes the record, status -101, error text
// "Device not Open", log line, g_device_change_state 2.
void MarkNotOpen(VestraInfo *dev) REQUIRES(LibLock());

// A null record is logged ("No Find Device") and refused; a closed one takes
// the "Device not Open" road. True when the record is open. An export checks
// once, under the lock it then holds to the end, so no other thread can
// close the record between the check and the use.
bool CheckRecord(VestraInfo *dev) REQUIRES(LibLock());

// A USB serial-number string "SERIAL_N": the serial text is the part before
// the first underscore, the U-disk status the number behind it (leading
// digits, 0 if none), the bus ids those of the record's model. Without an
// underscore the whole string becomes the serial text and false is returned.
bool ApplySerialString(VestraInfo *dev, std::string_view text);

}  // namespace vx
