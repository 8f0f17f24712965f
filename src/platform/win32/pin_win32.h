// Keeps the library's unhandled-exception filter in force: kernel32's
// SetUnhandledExceptionFilter is redirected to a routine that installs
// nothing and reports no previous filter.
#pragma once

namespace vx::platform {

// True when the entry point was rewritten.
bool PinExceptionFilter();

}  // namespace vx::platform
