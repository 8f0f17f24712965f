// Maintenance commands of the standard mode, for the one model they serve:
// read the battery, enter download mode, power off (standby is refused). Each
// call opens its own record on the recorder whose serial contains the given
// text, logs in, does its job, logs out and releases the record. The calls
// share a lock of their own once the host has made it ready, and take the
// library lock for their bus walks and exchanges, so they are safe beside
// the hot-plug monitor.
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "common/guard.h"
#include "common/log.h"
#include "common/state.h"
#include "ops/rows.h"
#include "ops/steps.h"
#include "platform/platform.h"
#include "session/login.h"
#include "session/record.h"
#include "transport/models.h"
#include "transport/usbio.h"
#include "standard/gbdevice.h"
#include "util/base64.h"

using namespace vx;
using namespace vx::ops;

namespace {

// Status values written through the caller's status argument: the header's.
constexpr int32_t kDone = VX_GBCMD_DONE;
constexpr int32_t kNoRecorder = VX_GBCMD_NO_RECORDER;
constexpr int32_t kLoginRefused = VX_GBCMD_LOGIN_REFUSED;
constexpr int32_t kNotDelivered = VX_GBCMD_NOT_DELIVERED;

constexpr int kServedModelRow = 1;  // "VX005"
constexpr uint32_t kDownloadGapMs = 300;
constexpr const char *kDownloadFirst =
    "killall vestra_wdg.sh ;killall tamar_app ;/usr/local/sbin/i2ccmd W 2 0x70 0xaa 3 1 0xff 0xad";
constexpr const char *kDownloadSecond =
    "test_encode --idle --nopreview ;killall test_image ;echo 3 > /proc/sys/vm/drop_caches";
constexpr const char *kPowerOffLine = "/usr/local/sbin/i2ccmd W 2 0x70 0xaa 0x10 1 1 0xbc";

std::mutex g_cmd_lock;
std::atomic<int32_t> g_cmd_lock_ready{0};

// Holds the maintenance lock for a call when it is ready, and releases what
// it took whatever the host does with the flag meanwhile.
class CmdLockGuard {
public:
    CmdLockGuard() : held_(g_cmd_lock_ready.load() == 1) {
        if (held_) g_cmd_lock.lock();
    }
    ~CmdLockGuard() {
        if (held_) g_cmd_lock.unlock();
    }
    CmdLockGuard(const CmdLockGuard &) = delete;
    CmdLockGuard &operator=(const CmdLockGuard &) = delete;

private:
    bool held_;
};

struct Releaser {
    void operator()(VestraInfo *dev) const {
        VX_Logout(dev);  // "VX+LOGOUT" when logged in
        LibGuard lock(LibLock());
        Close_Device(dev);
        delete dev;
    }
};
using GbRecord = std::unique_ptr<VestraInfo, Releaser>;

// The first recorder of the served model whose serial contains the text (an
// empty text: the first with a readable serial), opened and claimed.
GbRecord GBOpenDev(uint32_t pid, uint32_t vid, const char *serial_text, int32_t *status) {
    *status = kNoRecorder;
    std::unique_ptr<VestraInfo> dev = NewRecord();
    if (!dev) {
        *status = VX_GBCMD_NO_MEMORY;
        LibLog("malloc Error");
        return nullptr;
    }
    const DevModel *model = FindModelByIds(vid, pid);
    if (model == nullptr) return nullptr;
    dev->model = *model;
    LibGuard lock(LibLock());
    VisitOpened(dev.get(), pid, vid, [&](VestraInfo *d, const char *serial) REQUIRES(LibLock()) {
        if (serial[0] == '\0') return false;
        ApplySerialString(d, serial);
        if (std::strstr(d->serial, serial_text) == nullptr) return false;
        if (ClaimDev(d) != 1) *status = VX_GBCMD_CLAIM_FAILED;  // the search ends either way
        return true;
    });
    if (dev->usbHandle == nullptr) return nullptr;
    *status = kDone;
    return GbRecord(dev.release());
}

GbRecord GBOpenLoginDev(const char *serial_text, const char *password, int32_t *status) {
    const DevModel &row = DevModelTable[kServedModelRow];
    GbRecord dev = GBOpenDev(row.productId, row.vendorId, serial_text, status);
    if (dev) VX_Login(dev.get(), password);
    return dev;
}

// "VX+SYSCMD=" with the line in Base64; no reply is read. False when the
// line could not be written.
bool SendShellLine(VestraInfo *dev, const char *line) {
    const Arg args[] = {Base64Encode(reinterpret_cast<const uint8_t *>(line), std::strlen(line))};
    std::string command;
    if (BuildCommand(rows::kShellLine, args, &command) != nullptr) return false;
    LibGuard lock(LibLock());
    return WriteFullDev(dev, command) > 0;
}

// Download mode and power-off: logged-in record, the shell lines with their
// gaps, status 0 and result 1 when every line was handed to the device.
int32_t RunShellLines(const char *serial_text, const char *password, int32_t *status,
                      std::initializer_list<const char *> lines, uint32_t gap_ms) {
    if (serial_text == nullptr) {
        *status = kNoRecorder;
        return 0;
    }
    CmdLockGuard cmd_lock;
    GbRecord dev = GBOpenLoginDev(serial_text, password, status);
    if (!dev) return 0;
    if (dev->usbHandle == nullptr || dev->isLogin != 1) {
        *status = kLoginRefused;
        return 0;
    }
    bool first = true;
    for (const char *line : lines) {
        if (!first) platform::SleepMs(gap_ms);
        first = false;
        if (!SendShellLine(dev.get(), line)) {
            *status = kNotDelivered;
            return 0;
        }
    }
    *status = kDone;
    return 1;
}

}  // namespace

// A maintenance call never runs host code, so a forking thread never holds
// the lock: in the child it can only have been held by a thread that is gone.
void vx::RenewMaintenanceLockInChild() { new (&g_cmd_lock) std::mutex; }

extern "C" {

VX_API void GBCmd_InitCriticalSection(void) { g_cmd_lock_ready.store(1); }

VX_API void GBCmd_UnInitCriticalSection(void) { g_cmd_lock_ready.store(0); }

VX_API int32_t GBCmd_GetBatteryVal(const char *serial, const char *password, uint32_t *level,
                                   int32_t *status) {
    return Guarded<int32_t>(0, [&]() -> int32_t {
        int32_t *st = StatusOf(status);
        if (serial == nullptr) {
            *st = kNoRecorder;
            return 0;
        }
        CmdLockGuard cmd_lock;
        LibLog("GBCmd_GetBatteryVal Start\n");
        GbRecord dev = GBOpenLoginDev(serial, password, st);
        if (!dev) return 0;
        if (dev->usbHandle == nullptr || dev->isLogin != 1) {
            *st = kLoginRefused;
            return 0;
        }
        LibGuard lock(LibLock());
        const Out outs[] = {Out::Num(level)};
        const Exchanged e =
            Perform(dev.get(), password, Request{.row = rows::kGetBatVal, .outs = outs});
        *st = e.Succeeded() ? kDone : VX_GBCMD_BATTERY_REFUSED;
        return e.Succeeded() ? 1 : 0;
    });
}

VX_API int32_t GBCmd_EnterDownLoadMode(const char *serial, const char *password, int32_t *status) {
    return Guarded<int32_t>(0, [&] {
        return RunShellLines(serial, password, StatusOf(status), {kDownloadFirst, kDownloadSecond},
                             kDownloadGapMs);
    });
}

VX_API int32_t GBCmd_PowerOff(const char *serial, const char *password, int32_t *status) {
    return Guarded<int32_t>(
        0, [&] { return RunShellLines(serial, password, StatusOf(status), {kPowerOffLine}, 0); });
}

VX_API int32_t GBCmd_EnterStandByMode(const char *serial, const char *password, int32_t *status) {
    *StatusOf(status) = VX_GBCMD_NOT_SUPPORTED;
    return 0;
}

}  // extern "C"
