// Path-text conversions between the system's ANSI code page, UTF-16 and the
// OEM code page. Each converts only when the whole text, terminator included,
// fits the destination; otherwise it returns 0 and writes nothing.
#pragma once

#include <cstdint>

namespace vx {

int AnsiToWide(const char *src, char16_t *dst, uint32_t capacity);
int WideToOem(const char16_t *src, char *dst, uint32_t capacity);

}  // namespace vx
