// Storage, power, the device's own log, and the video OSD texts.
#include <cstdio>

#include "common/guard.h"
#include "common/log.h"
#include "common/state.h"
#include "common/text.h"
#include "ops/rows.h"
#include "ops/steps.h"

using namespace vx;
using namespace vx::ops;

namespace {

constexpr std::size_t kKeywordArea = 64;

// "VIDEOOSD" with its index: the index is part of the keyword.
std::string OsdKeyword(int32_t index) {
    char keyword[kKeywordArea];
    std::snprintf(keyword, sizeof keyword, "%s%d", rows::kGetVideoOsd.key, int(index));
    return keyword;
}

}  // namespace

extern "C" {

VX_API uint32_t VX_FormatUdisk(VestraInfo *dev, const char *password, int32_t fsType) {
    return Guarded(0u, [&]() -> uint32_t {
        const char *name = fsType == 1 ? "FAT32" : fsType == 2 ? "EXFAT" : nullptr;
        if (name != nullptr) return Set(dev, password, rows::kFormatUdisk, {name});
        // An unknown type sends nothing, after the login as every operation.
        return WithLogin(dev, password, [](VestraInfo *d) { return Refuse(d, "fstype Error"); });
    });
}

VX_API uint32_t VX_ExportDevLog(VestraInfo *dev, const char *password) {
    return Guarded(0u, [&] { return Call(dev, password, Request{.row = rows::kExportLog}); });
}

VX_API uint32_t VX_CtrlReboot(VestraInfo *dev, const char *password) {
    return Guarded(0u, [&] {
        return WithLogin(dev, password, [&](VestraInfo *d) REQUIRES(LibLock()) {
            std::string serial(AreaText(d->serial, sizeof d->serial));
            LibLog("CtrlReboot[%s]\n", serial.c_str());
            return Set(d, password, rows::kPowerOff, {int32_t(2)});
        });
    });
}

VX_API uint32_t VX_SetVideoOsd(VestraInfo *dev, const char *password, int32_t index, int32_t value,
                               const char *text) {
    return Guarded(0u, [&] {
        std::string keyword = OsdKeyword(index);
        const Arg args[] = {value, text};
        return Call(dev, password, Request{.row = rows::kSetVideoOsd, .args = args, .keyword = keyword});
    });
}

VX_API uint32_t VX_GetVideoOsd(VestraInfo *dev, const char *password, int32_t index, uint32_t *value,
                               char *text, uint32_t size) {
    return Guarded(0u, [&]() -> uint32_t {
        std::string keyword = OsdKeyword(index);
        if (size == 0)  // no room even for the terminator: nothing is written
            return WithLogin(dev, password, [](VestraInfo *d) { return Refuse(d, "text size 0"); });
        const Out outs[] = {Out::Num(value), Out::TextArea(text, size)};
        return Call(dev, password, Request{.row = rows::kGetVideoOsd, .outs = outs, .keyword = keyword});
    });
}

}  // extern "C"
