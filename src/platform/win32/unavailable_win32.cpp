// Not yet on Windows: the device-event source (a hidden "myusbmsg" window
// registered for USB hub and device interface notifications) and the crash
// collector (unhandled-exception filter writing a minidump, with its pin).
// Both report "not available" until they are written; the device list then
// refreshes on its timer only, and a crash leaves no dump.
#include "platform/platform.h"

namespace vx::platform {

bool StartDeviceEvents(void (*)(int)) { return false; }

bool InstallCrashHandler() { return false; }

}  // namespace vx::platform
