// Logout, and giving back the records that VX_InitDev / VX_InitDevEx handed out.
#include <cstring>

#include "common/guard.h"
#include "common/state.h"
#include "protocol/exchange.h"
#include "session/record.h"
#include "transport/usbio.h"

using namespace vx;

extern "C" {

VX_API uint32_t VX_Logout(VestraInfo *dev) {
    return Guarded<uint32_t>(0, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        if (!CheckRecord(dev)) return 0;
        if (dev->isLogin != 0) {
            char reply[kReplyArea];
            int n = Transact(dev, "VX+LOGOUT\r\n", reply, sizeof reply);
            if (ReplyAccepted(reply, n) && std::strstr(reply, "+LOGOUT:Sucess")) dev->isLogin = 0;
            SetErrStr(dev, reply);
        }
        return 1;
    });
}

VX_API void VX_UnInitDev(VestraInfo *dev) {
    GuardedVoid([&] {
        if (dev == nullptr) return;
        dev->errNo = VX_STATUS_OK;
        VX_Logout(dev);
        LibGuard lock(LibLock());
        Close_Device(dev);
        if (dev != &GbDev()) delete dev;
    });
}

VX_API void VX_UnInitDevEx(VestraInfo *dev) { VX_UnInitDev(dev); }

}  // extern "C"
