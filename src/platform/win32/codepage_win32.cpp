// The system's ANSI and OEM code pages, through the system's conversions.
#include "platform/platform.h"

#include <windows.h>

namespace vx::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 units");

std::size_t AnsiToWide(const char *src, char16_t *dst, std::size_t capacity) {
    if (src == nullptr) return 0;
    int need = ::MultiByteToWideChar(CP_ACP, 0, src, -1, nullptr, 0);
    if (need <= 0) return 0;
    if (dst != nullptr && std::size_t(need) <= capacity)
        ::MultiByteToWideChar(CP_ACP, 0, src, -1, reinterpret_cast<wchar_t *>(dst), need);
    return std::size_t(need);
}

std::size_t WideToOem(const char16_t *src, char *dst, std::size_t capacity) {
    if (src == nullptr) return 0;
    const auto *w = reinterpret_cast<const wchar_t *>(src);
    int need = ::WideCharToMultiByte(CP_OEMCP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    if (need <= 0) return 0;
    if (dst != nullptr && std::size_t(need) <= capacity)
        ::WideCharToMultiByte(CP_OEMCP, 0, w, -1, dst, need, nullptr, nullptr);
    return std::size_t(need);
}

}  // namespace vx::platform
