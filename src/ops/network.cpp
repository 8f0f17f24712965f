// Mobile network, VPN, server address, Wi-Fi access points and switches.
#include "common/guard.h"
#include "ops/rows.h"
#include "ops/steps.h"

using namespace vx;
using namespace vx::ops;

namespace {

// Delete and select: the reply must echo the name, else the row's status.
uint32_t SetEchoed(VestraInfo *dev, const char *password, const Row &row, const char *name) {
    return Guarded(0u, [&] {
        const char *text = name != nullptr ? name : "";
        const Arg args[] = {text};
        return Call(dev, password, Request{.row = row, .args = args, .expect = text});
    });
}

}  // namespace

extern "C" {

VX_API uint32_t VX_SetVpn(VestraInfo *dev, const char *password, const char *first, const char *second,
                          const char *third) {
    return Guarded(0u, [&] { return Set(dev, password, rows::kSetVpn, {first, second, third}); });
}
VX_API uint32_t VX_GetVpn(VestraInfo *dev, const char *password, char *first, char *second,
                          char *third) {
    return Guarded(0u, [&] {
        return Get(dev, password, rows::kGetVpn,
                   {Out::FieldNotNull(first, kArea), Out::FieldNotNull(second, kArea),
                    Out::FieldNotNull(third, kArea)});
    });
}
VX_API uint32_t VX_SetServAddr(VestraInfo *dev, const char *password, const char *address,
                               int32_t port) {
    return Guarded(0u, [&] { return Set(dev, password, rows::kSetServAddr, {address, port}); });
}
VX_API uint32_t VX_GetServAddr(VestraInfo *dev, const char *password, char *address, uint32_t *port) {
    return Guarded(0u, [&] {
        return Get(dev, password, rows::kGetServAddr, {Out::Field(address, kArea), Out::Num(port)});
    });
}

// The header's names: its fourth argument is the access point's password.
VX_API uint32_t VX_AddAp(VestraInfo *dev, const char *pwd, const char *ssid, const char *password) {
    return Guarded(0u, [&] { return Set(dev, pwd, rows::kAddAp, {ssid, password}); });
}
VX_API uint32_t VX_DelAp(VestraInfo *dev, const char *password, const char *ssid) {
    return SetEchoed(dev, password, rows::kDelAp, ssid);
}
VX_API uint32_t VX_DelAllAp(VestraInfo *dev, const char *password) {
    return SetEchoed(dev, password, rows::kDelAp, "ALL");
}
VX_API uint32_t VX_SetSelAp(VestraInfo *dev, const char *password, const char *ssid) {
    return SetEchoed(dev, password, rows::kSetSelAp, ssid);
}

}  // extern "C"
