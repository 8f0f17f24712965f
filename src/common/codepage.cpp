#include "common/codepage.h"

#include "platform/platform.h"

namespace vx {

int AnsiToWide(const char *src, char16_t *dst, uint32_t capacity) {
    std::size_t need = platform::ansi_to_wide(src, nullptr, 0);
    if (need == 0 || dst == nullptr || need > capacity) return 0;
    platform::ansi_to_wide(src, dst, capacity);
    return 1;
}

int WideToOem(const char16_t *src, char *dst, uint32_t capacity) {
    std::size_t need = platform::wide_to_oem(src, nullptr, 0);
    if (need == 0 || dst == nullptr || need > capacity) return 0;
    platform::wide_to_oem(src, dst, capacity);
    return 1;
}

}  // namespace vx
