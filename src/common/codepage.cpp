#include "common/codepage.h"

#include "platform/platform.h"

namespace vx {

int AnsiToWide(const char *src, char16_t *dst, uint32_t capacity) {
    std::size_t need = platform::AnsiToWide(src, nullptr, 0);
    if (need == 0 || dst == nullptr || need > capacity) return 0;
    platform::AnsiToWide(src, dst, capacity);
    return 1;
}

int WideToOem(const char16_t *src, char *dst, uint32_t capacity) {
    std::size_t need = platform::WideToOem(src, nullptr, 0);
    if (need == 0 || dst == nullptr || need > capacity) return 0;
    platform::WideToOem(src, dst, capacity);
    return 1;
}

}  // namespace vx
