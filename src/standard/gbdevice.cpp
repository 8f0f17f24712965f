// The national-standard function set: Init_Device and friends on the
// library-owned record, with the automatic login of the fixed user and the
// status values the standard defines. Every call takes the library lock for
// its bus walk and exchange, so it is safe beside the hot-plug monitor.
#include "standard/gbdevice.h"

#include <cstring>
#include <string>

#include "common/guard.h"
#include "common/log.h"
#include "common/outcome.h"
#include "common/state.h"
#include "common/text.h"
#include "common/timeutil.h"
#include "ops/rows.h"
#include "ops/steps.h"
#include "session/login.h"
#include "transport/usbio.h"

namespace vx {

const DevModel GBModelTable[kGbModelRows] = {
    {0x5E31, 0x000F, 1, 0, 0x81, 0x01, "KQWZM"},
    {0x3A7C, 0x0C06, 1, 2, 0x83, 0x02, "KQWZM"},
    {0x3A7C, 0x0C07, 1, 0, 0x81, 0x01, "KQWZM"},
    {},
    {},
    {},
    {},
    {},
    {},
    {},
};

int OpenGbDev(int32_t *status) REQUIRES(LibLock()) {
    VestraInfo &gb = GbDev();
    *status = 2;
    for (const DevModel &row : GBModelTable) {
        if (row.productId == 0) break;
        gb.model = row;
        if (Open_Device(&gb, row.productId, row.vendorId, status)) return 1;
    }
    *status = 2;
    return 0;
}

}  // namespace vx

using namespace vx;
using namespace vx::ops;

namespace {

// Status values written through the caller's status argument: the header's.
constexpr int32_t kDone = VX_GB_DONE;
constexpr int32_t kNoDevice = VX_GB_NO_DEVICE;
constexpr int32_t kNoIdCode = VX_GB_NO_ID_CODE;
constexpr int32_t kNotWritten = 0;  // a refusal that leaves status as it was

constexpr std::size_t kIdCodeLength = 5;

// The identity last read with success; WriteZFYInfo sends its serial when the
// caller's is empty.
ZFYInfo g_cached_identity GUARDED_BY(LibLock()){};

// The exchange of every call with a password: record open, then the steps
// of every device operation (automatic login of the fixed user, one command
// from its row, the reply judged by the row); the outcome becomes the call's
// status by the outcome table. The record's status number is never touched.
int32_t GbRun(const char *password, int32_t *status, const Request &request, int32_t success,
              int32_t refusal) REQUIRES(LibLock()) {
    VestraInfo &gb = GbDev();
    Exchanged e;
    e.outcome = Outcome::NotOpen;
    if (gb.usbHandle == nullptr)
        Close_Device(&gb);
    else
        e = Perform(&gb, password, request);
    if (const int32_t st = GbStatusOf(e.outcome, success, refusal); st != kNotWritten) *status = st;
    if (e.Succeeded()) return 1;
    if (e.outcome != Outcome::NotOpen && e.outcome != Outcome::NoLogin) SetErrStr(&gb, e.Text());
    return 0;
}

// The ID code of the opened row, into the record; true when it has 5 characters.
bool TakeRowIdCode(VestraInfo &gb) {
    CopyText(gb.idCode, AreaText(gb.model.name, sizeof gb.model.name));
    return std::strlen(gb.idCode) == kIdCodeLength;
}

}  // namespace

extern "C" {

VX_API int32_t UnInit_Device(int32_t *status) {
    return Guarded<int32_t>(0, [&] {
        LibGuard lock(LibLock());
        VestraInfo &gb = GbDev();
        Logout(&gb);  // nothing is sent when closed
        Close_Device(&gb);
        gb = VestraInfo{};
        *StatusOf(status) = kDone;
        LibLog("[%s]:\n", "UnInit_Device");
        return 1;
    });
}

VX_API int32_t Release_Device(int32_t *status) {
    UnInit_Device(status);
    return 1;
}

VX_API int32_t Init_Device(char *idCode, int32_t *status) {
    return Guarded<int32_t>(0, [&]() -> int32_t {
        int32_t *st = StatusOf(status);
        LibGuard lock(LibLock());
        LibLog("[%s]:  IDCode  \n", "Init_Device");
        if (idCode == nullptr) {
            *st = kNoIdCode;
            LibLog("[%s]:  IDCode is NULL  \n", "Init_Device");
            return 0;
        }
        if (std::strlen(idCode) != kIdCodeLength)
            LibLog("[%s]:  IDCode:%s Error  \n", "Init_Device", idCode);
        else
            LibLog("[%s]:  IDCode:%s \n", "Init_Device", idCode);

        VestraInfo &gb = GbDev();
        if (gb.usbHandle != nullptr) {
            UnInit_Device(st);
            LibLog("[%s]:  UnInit_Device  \n", "Init_Device");
        }
        gb = VestraInfo{};
        if (!OpenGbDev(st)) {
            LibLog("[%s]:  Open_Device Failed  \n", "Init_Device");
            return 0;
        }
        if (!TakeRowIdCode(gb)) {
            *st = kNoDevice;
            Close_Device(&gb);
            return 0;
        }
        if (idCode[0] == '\0') {  // a request for the code
            std::memcpy(idCode, gb.idCode, kIdCodeLength + 1);
            *st = kDone;
            return 1;
        }
        if (std::strcmp(idCode, gb.idCode) != 0) {
            LibLog("[%s]:  IDCode  %s!=%s  \n", "Init_Device", gb.idCode, idCode);
            *st = kNoDevice;
            Close_Device(&gb);
            return 0;
        }
        *st = kDone;
        return 1;
    });
}

VX_API int32_t GetIDCode(char *idCode, int32_t *status) {
    return Guarded<int32_t>(0, [&]() -> int32_t {
        int32_t *st = StatusOf(status);
        LibGuard lock(LibLock());
        VestraInfo &gb = GbDev();
        if (gb.usbHandle == nullptr && !OpenGbDev(st)) return 0;
        if (!TakeRowIdCode(gb)) {
            *st = kNoDevice;
            return 0;
        }
        if (idCode != nullptr) std::memcpy(idCode, gb.idCode, kIdCodeLength + 1);
        *st = kDone;
        return 1;
    });
}

VX_API int32_t GetZFYInfo(ZFYInfo *info, const char *password, int32_t *status) {
    return Guarded<int32_t>(0, [&]() -> int32_t {
        LibGuard lock(LibLock());
        ZFYInfo scratch{};
        ZFYInfo *z = info != nullptr ? info : &scratch;
        const Out outs[] = {
            Out::Field(z->serial, sizeof z->serial), Out::Field(z->userNo, sizeof z->userNo),
            Out::Field(z->userName, sizeof z->userName), Out::Field(z->unitNo, sizeof z->unitNo),
            Out::Field(z->unitName, sizeof z->unitName)};
        const Request request{.row = rows::kGetDevInfo, .outs = outs};
        if (!GbRun(password, StatusOf(status), request, kDone, kNotWritten)) return 0;
        g_cached_identity = *z;
        return 1;
    });
}

VX_API int32_t WriteZFYInfo(const ZFYInfo *info, const char *password, int32_t *status) {
    return Guarded<int32_t>(0, [&]() -> int32_t {
        LibGuard lock(LibLock());
        ZFYInfo empty{};
        const ZFYInfo &z = info != nullptr ? *info : empty;
        std::string_view serial = AreaText(z.serial, sizeof z.serial);
        if (serial.empty())
            serial = AreaText(g_cached_identity.serial, sizeof g_cached_identity.serial);
        const Arg args[] = {
            serial, AreaText(z.userNo, sizeof z.userNo), AreaText(z.userName, sizeof z.userName),
            AreaText(z.unitNo, sizeof z.unitNo), AreaText(z.unitName, sizeof z.unitName)};
        const Request request{.row = rows::kSetDevInfo, .args = args};
        return GbRun(password, StatusOf(status), request, kDone, kNotWritten);
    });
}

VX_API int32_t SyncDevTime(const char *password, int32_t *status) {
    return Guarded<int32_t>(0, [&] {
        LibGuard lock(LibLock());
        char now[32] = {};
        GetUtcTimeStr(now, sizeof now);
        const Arg args[] = {now};
        return GbRun(password, StatusOf(status), Request{.row = rows::kSetDevTime, .args = args},
                     VX_GB_CLOCK_SET, VX_GB_CLOCK_REFUSED);
    });
}

VX_API int32_t SetMSDC(const char *password, int32_t *status) {
    return Guarded<int32_t>(0, [&]() -> int32_t {
        LibGuard lock(LibLock());
        const Arg args[] = {int32_t(2)};
        if (!GbRun(password, StatusOf(status), Request{.row = rows::kEnterDiskMode, .args = args},
                   VX_GB_DISK_MODE, VX_GB_DISK_REFUSED))
            return 0;
        int32_t own = 0;  // the recorder is a disk now: the record is closed and cleared
        UnInit_Device(&own);
        return 1;
    });
}

VX_API int32_t ReadDeviceResolution(int32_t *width, int32_t *height, const char *password,
                                    int32_t *status) {
    return Guarded<int32_t>(0, [&] {
        LibGuard lock(LibLock());
        uint32_t rate = 0, bitrate = 0;
        const Out outs[] = {
            Out::WxH(reinterpret_cast<uint32_t *>(width), reinterpret_cast<uint32_t *>(height)),
            Out::Num(&rate), Out::Num(&bitrate)};
        const Request request{.row = rows::kGetMasterVe, .outs = outs};
        return GbRun(password, StatusOf(status), request, kDone, kNoDevice);
    });
}

VX_API int32_t ReadDeviceBatteryDumpEnergy(int32_t *level, const char *password, int32_t *status) {
    return Guarded<int32_t>(0, [&] {
        LibGuard lock(LibLock());
        const Out outs[] = {Out::Num(reinterpret_cast<uint32_t *>(level))};
        const Request request{.row = rows::kGetBatVal, .outs = outs};
        return GbRun(password, StatusOf(status), request, kDone, kNoDevice);
    });
}

}  // extern "C"
