// The three exported catalogue functions. The block is read-only after its
// first use, so none of them takes a lock; none logs or touches the last error.
#include "LibVestra.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "common/guard.h"
#include "timezone/catalogue.h"

namespace {

using namespace vx::tz;

constexpr std::size_t kNameLimit = 511;  // longest name looked at
constexpr std::size_t kWorkSize = 512;

// A name field of the block, up to its first zero (always inside the field).
std::string_view field(std::size_t offset, std::size_t width) {
    const char *at = reinterpret_cast<const char *>(block() + offset);
    return {at, ::strnlen(at, width - 1)};
}

bool InRange(int32_t value, std::size_t slots) {
    return value >= 0 && static_cast<std::size_t>(value) < slots;
}

// First zone of the region whose location equals the given text; walks filled
// slots only, in index order.
bool FindLocation(std::size_t r, std::string_view location, int32_t *country, int32_t *city) {
    for (std::size_t c = 0; c < kCountrySlots; ++c) {
        if (field(CodeOffset(r, c), kCodeWidth).empty()) break;
        for (std::size_t z = 0; z < kZoneSlots; ++z) {
            std::string_view here = field(LocationOffset(r, c, z), kLocationWidth);
            if (here.empty()) break;
            if (here == location) {
                *country = static_cast<int32_t>(c);
                *city = static_cast<int32_t>(z);
                return true;
            }
        }
    }
    return false;
}

}  // namespace

extern "C" {

VX_API void GetAllTimeZone(void *dest) {
    vx::GuardedVoid([&] {
        if (dest != nullptr) std::memcpy(dest, block(), kBlockSize);
    });
}

VX_API int32_t GetTimeZoneStr(int32_t region, int32_t country, int32_t city, char *out) {
    return vx::Guarded<int32_t>(0, [&]() -> int32_t {
        if (out == nullptr) return 0;
        if (!InRange(region, kRegions) || !InRange(country, kCountrySlots) ||
            !InRange(city, kZoneSlots))
            return 0;
        auto r = static_cast<std::size_t>(region);
        auto c = static_cast<std::size_t>(country);
        auto z = static_cast<std::size_t>(city);
        std::string_view code = field(CodeOffset(r, c), kCodeWidth);
        std::string_view name = field(RegionNameOffset(r), kRegionNameWidth);
        std::string_view location = field(LocationOffset(r, c, z), kLocationWidth);
        char work[kWorkSize] = {};
        int n = std::snprintf(work, sizeof work, "%.*s/%.*s/%.*s", static_cast<int>(code.size()),
                              code.data(), static_cast<int>(name.size()), name.data(),
                              static_cast<int>(location.size()), location.data());
        if (n < 0) return 0;
        // By the field widths the text is at most VX_TZ_TEXT_MIN - 1 characters.
        std::size_t length = ::strnlen(work, VX_TZ_TEXT_MIN - 1);
        std::memcpy(out, work, length);
        out[length] = '\0';
        return 1;
    });
}

VX_API int32_t GetTimeZoneIndex(const char *name, int32_t *region, int32_t *country,
                                int32_t *city) {
    return vx::Guarded<int32_t>(0, [&]() -> int32_t {
        if (region != nullptr) *region = -1;
        if (country != nullptr) *country = -1;
        if (city != nullptr) *city = 1;  // 1, not -1: callers know this value
        if (name == nullptr || region == nullptr || country == nullptr || city == nullptr) return 0;

        std::string_view text(name, ::strnlen(name, kNameLimit));
        std::size_t slash = text.find('/');
        std::string_view region_part = text.substr(0, slash);
        std::string_view location_part =
            slash == std::string_view::npos ? std::string_view() : text.substr(slash + 1);
        // Parts longer than their fields can hold match nothing.
        if (region_part.size() >= kRegionNameWidth) return 0;

        for (std::size_t r = 0; r < kRegions; ++r) {
            if (field(RegionNameOffset(r), kRegionNameWidth) != region_part) continue;
            *region = static_cast<int32_t>(r);
            if (location_part.size() < kLocationWidth)
                FindLocation(r, location_part, country, city);
            break;
        }
        if (*region < 0) return 0;
        return InRange(*country, kCountrySlots) && InRange(*city, kZoneSlots) ? 1 : 0;
    });
}

}  // extern "C"
