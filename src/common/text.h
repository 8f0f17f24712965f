// Bounded text helpers: every copy is limited by its destination.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace vx {

// Copies src into dst (capacity bytes), cut to capacity - 1, NUL-terminated.
inline void CopyText(char *dst, std::size_t capacity, std::string_view src) {
    if (dst == nullptr || capacity == 0) return;
    std::size_t n = src.size() < capacity - 1 ? src.size() : capacity - 1;
    if (n > 0) std::memcpy(dst, src.data(), n);  // an empty view may have no data at all
    dst[n] = '\0';
}

template <std::size_t N>
inline void CopyText(char (&dst)[N], std::string_view src) {
    CopyText(dst, N, src);
}

// The text of a NUL-terminated area, never reading past its capacity.
inline std::string_view AreaText(const char *area, std::size_t capacity) {
    return std::string_view(area, ::strnlen(area, capacity));
}

inline bool Contains(std::string_view hay, std::string_view needle) {
    return hay.find(needle) != std::string_view::npos;
}

}  // namespace vx
