// Little helpers for RIFF chunk headers: little-endian numbers, tags compared
// without regard to letter case, sizes padded to even.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>

namespace vx::riff {

inline uint32_t le32(const uint8_t *p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

inline char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Compares the first n characters of two tags, ignoring case.
inline bool TagEq(const void *a, const char *b, std::size_t n = 4) {
    const char *x = static_cast<const char *>(a);
    for (std::size_t i = 0; i < n; ++i) {
        if (lower(x[i]) != lower(b[i])) return false;
    }
    return true;
}

inline uint64_t padded(uint32_t size) { return uint64_t{size} + (size & 1u); }

// Reads up to n bytes at absolute offset pos; returns how many came.
std::size_t ReadAt(std::istream &in, uint64_t pos, void *buf, std::size_t n);

}  // namespace vx::riff
