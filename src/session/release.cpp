// Logout, and giving back the records that VX_InitDev / VX_InitDevEx handed out.
#include "common/guard.h"
#include "common/state.h"
#include "common/outcome.h"
#include "session/login.h"
#include "session/record.h"
#include "transport/usbio.h"

using namespace vx;

extern "C" {

VX_API uint32_t VX_Logout(VestraInfo *dev) {
    return Guarded<uint32_t>(0, [&]() -> uint32_t {
        LibGuard lock(LibLock());
        if (!CheckRecord(dev)) return 0;
        if (dev->isLogin != 0) Logout(dev);
        return 1;
    });
}

VX_API void VX_UnInitDev(VestraInfo *dev) {
    GuardedVoid([&] {
        if (dev == nullptr) return;
        SetOutcome(dev, Outcome::Done);  // the status only; the text stays
        VX_Logout(dev);
        LibGuard lock(LibLock());
        Close_Device(dev);
        if (dev != &GbDev()) delete dev;
    });
}

VX_API void VX_UnInitDevEx(VestraInfo *dev) { VX_UnInitDev(dev); }

}  // extern "C"
