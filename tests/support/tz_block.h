// Reads the time-zone block as a caller does: through GetAllTimeZone, decoding
// the bytes by their documented offsets (independent of the library's structs).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "LibVestra.h"

namespace tztest {

constexpr std::size_t kBlock = 511416, kRegion = 56824, kCountry = 1052, kZone = 32;
constexpr std::size_t kRegions = 9, kCountries = 54, kZones = 32;

inline std::size_t region_at(std::size_t r) { return r * kRegion; }
inline std::size_t country_at(std::size_t r, std::size_t c) {
    return region_at(r) + 16 + c * kCountry;
}
inline std::size_t zone_at(std::size_t r, std::size_t c, std::size_t z) {
    return country_at(r, c) + 28 + z * kZone;
}

struct Block {
    std::vector<unsigned char> bytes = std::vector<unsigned char>(kBlock);

    Block() { GetAllTimeZone(bytes.data()); }

    int32_t int32_at(std::size_t off) const {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[off + i];
        return static_cast<int32_t>(v);
    }
    // The text of a zero-padded field (up to its first zero or its width).
    std::string text_at(std::size_t off, std::size_t width) const {
        const char *p = reinterpret_cast<const char *>(&bytes[off]);
        return std::string(p, ::strnlen(p, width));
    }
    std::string region_name(std::size_t r) const { return text_at(region_at(r) + 4, 12); }
    std::string code(std::size_t r, std::size_t c) const {
        return text_at(country_at(r, c) + 4, 24);
    }
    std::string location(std::size_t r, std::size_t c, std::size_t z) const {
        return text_at(zone_at(r, c, z) + 4, 28);
    }
};

struct Zone {
    int r, c, z;
    std::string code, region, location;
    std::string name() const { return region + "/" + location; }
};

// Every filled zone slot, in catalogue order (filled slots come first).
inline std::vector<Zone> zones(const Block &b) {
    std::vector<Zone> out;
    for (std::size_t r = 0; r < kRegions; ++r)
        for (std::size_t c = 0; c < kCountries && !b.code(r, c).empty(); ++c)
            for (std::size_t z = 0; z < kZones && !b.location(r, c, z).empty(); ++z)
                out.push_back(
                    {int(r), int(c), int(z), b.code(r, c), b.region_name(r), b.location(r, c, z)});
    return out;
}

}  // namespace tztest
