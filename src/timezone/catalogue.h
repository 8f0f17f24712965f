// The time-zone catalogue: one fixed binary block, laid out once, read-only.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vx::tz {

// Shape of the block. Every integer is signed 32-bit little-endian; every
// name is zero-padded to its field's width.
constexpr std::size_t kRegions = 9;
constexpr std::size_t kCountrySlots = 54;
constexpr std::size_t kZoneSlots = 32;

constexpr std::size_t kRegionNameWidth = 12;
constexpr std::size_t kCodeWidth = 24;
constexpr std::size_t kLocationWidth = 28;

constexpr std::size_t kZoneSize = 4 + kLocationWidth;                                     // 32
constexpr std::size_t kCountrySize = 4 + kCodeWidth + kZoneSlots * kZoneSize;             // 1052
constexpr std::size_t kRegionSize = 4 + kRegionNameWidth + kCountrySlots * kCountrySize;  // 56824
constexpr std::size_t kBlockSize = kRegions * kRegionSize;                                // 511416

static_assert(kBlockSize == 511416, "the block size is an external interface");

// Byte offsets of the fields inside the block.
constexpr std::size_t RegionOffset(std::size_t r) { return r * kRegionSize; }
constexpr std::size_t RegionNameOffset(std::size_t r) { return RegionOffset(r) + 4; }
constexpr std::size_t CountryOffset(std::size_t r, std::size_t c) {
    return RegionOffset(r) + 4 + kRegionNameWidth + c * kCountrySize;
}
constexpr std::size_t CodeOffset(std::size_t r, std::size_t c) { return CountryOffset(r, c) + 4; }
constexpr std::size_t ZoneOffset(std::size_t r, std::size_t c, std::size_t z) {
    return CountryOffset(r, c) + 4 + kCodeWidth + z * kZoneSize;
}
constexpr std::size_t LocationOffset(std::size_t r, std::size_t c, std::size_t z) {
    return ZoneOffset(r, c, z) + 4;
}

// The laid-out block, kBlockSize bytes. Built on first use (thread-safe),
// never written afterwards.
const unsigned char *block();

}  // namespace vx::tz
