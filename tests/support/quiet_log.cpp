// Test programs run side by side and share one build folder: the library's
// log file stays off unless a test turns it on (only the log tests do, from
// a folder of their own).
#include "LibVestra.h"

namespace {
const int kQuiet = (VX_SetLibLog(VX_LOG_OFF), 0);
}  // namespace
