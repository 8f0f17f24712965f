// The public records' layouts, checked wherever the library is compiled: a
// host written against the header must see the same bytes on x64 and x86.
#include <cstddef>

#include "LibVestra.h"

namespace vx {
namespace {

constexpr std::size_t P = sizeof(void *);

static_assert(sizeof(DevModel) == 32, "DevModel: six numbers and the name");
static_assert(sizeof(ZFYInfo) == 94, "ZFYInfo: five packed texts, 94 bytes");
static_assert(offsetof(ZFYInfo, unitName) == 61, "ZFYInfo.unitName");

static_assert(offsetof(VestraInfo, devNum) == P, "VestraInfo.devNum");
static_assert(offsetof(VestraInfo, model) == P + 4, "VestraInfo.model");
static_assert(offsetof(VestraInfo, serial) == P + 48, "VestraInfo.serial");
static_assert(offsetof(VestraInfo, errNo) == P + 72, "VestraInfo.errNo");
static_assert(offsetof(VestraInfo, lastCmd) == P + 76, "VestraInfo.lastCmd");
static_assert(offsetof(VestraInfo, errStr) == P + 1100, "VestraInfo.errStr");
static_assert(offsetof(VestraInfo, extraFlags) == P + 2124, "VestraInfo.extraFlags");
static_assert(offsetof(VestraInfo, lastBatteryQuery) == P + 2144, "VestraInfo.lastBatteryQuery");
static_assert(sizeof(VestraInfo) == (P == 4 ? 2152 : 2160), "VestraInfo: 2152 bytes x86, 2160 x64");

static_assert(sizeof(UmsIniItem) == (P == 4 ? 40 : 48), "UmsIniItem: 40 bytes x86, 48 x64");
static_assert(offsetof(UmsIniItem, valueText) == (P == 4 ? 36 : 40), "UmsIniItem.valueText");
static_assert(sizeof(UmsIniCmd) == 40 + VX_INI_ITEMS * sizeof(UmsIniItem), "UmsIniCmd");

static_assert(sizeof(TimeZoneCity) == 32 && sizeof(TimeZoneCountry) == 1052 &&
                  sizeof(TimeZoneRegion) == 56824,
              "time-zone records");
static_assert(VX_TZ_REGIONS * sizeof(TimeZoneRegion) == VX_TZ_BLOCK_SIZE, "time-zone block");

}  // namespace
}  // namespace vx
