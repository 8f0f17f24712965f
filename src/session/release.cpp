// Logout, and giving back the records that VX_InitDev / VX_InitDevEx handed out.
#include <cstring>

#include "common/guard.h"
#include "common/state.h"
#include "protocol/exchange.h"
#include "transport/completeness.h"
#include "transport/usbio.h"

using namespace vx;

extern "C" {

VX_API uint32_t VX_Logout(VestraInfo *dev) {
    return guarded<uint32_t>(0, [&]() -> uint32_t {
        if (!CheckRecord(dev)) return 0;
        LibGuard lock(lib_lock());
        if (dev->isLogin != 0) {
            char reply[kReplyArea];
            int n = Transact(dev, "VX+LOGOUT\r\n", reply, sizeof reply);
            if (n > 4 && CheckCmdResult(reply) == 1 && std::strstr(reply, "+LOGOUT:Sucess"))
                dev->isLogin = 0;
            SetErrStr(dev, reply);
        }
        return 1;
    });
}

VX_API void VX_UnInitDev(VestraInfo *dev) {
    guarded_void([&] {
        if (dev == nullptr) return;
        dev->errNo = VX_STATUS_OK;
        VX_Logout(dev);
        LibGuard lock(lib_lock());
        Close_Device(dev);
        if (dev != &gb_dev()) delete dev;
    });
}

VX_API void VX_UnInitDevEx(VestraInfo *dev) { VX_UnInitDev(dev); }

}  // extern "C"
