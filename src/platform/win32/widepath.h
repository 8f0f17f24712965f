// The one path rule of the Windows build: a narrow path is text in the ANSI
// code page, read into UTF-16 for the wide (W) file functions.
#pragma once

#include <string>

namespace vx::platform {

// False for a null or empty path, or one the code page cannot read.
bool WidePath(const char *path, std::wstring *out);

}  // namespace vx::platform
