// Mobile network, VPN, server address, Wi-Fi access points and switches.
#include "common/guard.h"
#include "ops/rows.h"
#include "ops/steps.h"

using namespace vx;
using namespace vx::ops;

namespace {

uint32_t SetSwitch(VestraInfo *dev, const char *pwd, const Row &row, int32_t value) {
    return Guarded(0u, [&] { return Set(dev, pwd, row, {value}); });
}
uint32_t GetSwitch(VestraInfo *dev, const char *pwd, const Row &row, uint32_t *value) {
    return Guarded(0u, [&] { return Get(dev, pwd, row, {Out::Num(value)}); });
}
uint32_t GetText(VestraInfo *dev, const char *pwd, const Row &row, char *out, std::size_t size) {
    return Guarded(0u, [&] { return Get(dev, pwd, row, {Out::TextArea(out, size)}); });
}
// Delete and select: the reply must echo the name, else the row's status.
uint32_t SetEchoed(VestraInfo *dev, const char *pwd, const Row &row, const char *name) {
    return Guarded(0u, [&] {
        const char *text = name != nullptr ? name : "";
        const Arg args[] = {text};
        return Call(dev, pwd, Request{.row = row, .args = args, .expect = text});
    });
}

}  // namespace

extern "C" {

VX_API uint32_t VX_SetApn(VestraInfo *dev, const char *pwd, const char *apn) {
    return Guarded(0u, [&] { return Set(dev, pwd, rows::kSetApn, {apn}); });
}
VX_API uint32_t VX_GetApn(VestraInfo *dev, const char *pwd, char *apn) {
    return GetText(dev, pwd, rows::kGetApn, apn, kArea);
}
VX_API uint32_t VX_SetVpn(VestraInfo *dev, const char *pwd, const char *first, const char *second,
                          const char *third) {
    return Guarded(0u, [&] { return Set(dev, pwd, rows::kSetVpn, {first, second, third}); });
}
VX_API uint32_t VX_GetVpn(VestraInfo *dev, const char *pwd, char *first, char *second,
                          char *third) {
    return Guarded(0u, [&] {
        return Get(dev, pwd, rows::kGetVpn,
                   {Out::FieldNotNull(first, kArea), Out::FieldNotNull(second, kArea),
                    Out::FieldNotNull(third, kArea)});
    });
}
VX_API uint32_t VX_SetServAddr(VestraInfo *dev, const char *pwd, const char *address,
                               int32_t port) {
    return Guarded(0u, [&] { return Set(dev, pwd, rows::kSetServAddr, {address, port}); });
}
VX_API uint32_t VX_GetServAddr(VestraInfo *dev, const char *pwd, char *address, uint32_t *port) {
    return Guarded(0u, [&] {
        return Get(dev, pwd, rows::kGetServAddr, {Out::Field(address, kArea), Out::Num(port)});
    });
}
VX_API uint32_t VX_SetDevSSID(VestraInfo *dev, const char *pwd, const char *ssid) {
    return Guarded(0u, [&] { return Set(dev, pwd, rows::kSetDevSsid, {ssid}); });
}
VX_API uint32_t VX_GetDevSSID(VestraInfo *dev, const char *pwd, char *ssid) {
    return GetText(dev, pwd, rows::kGetDevSsid, ssid, kArea);
}

VX_API uint32_t VX_AddAp(VestraInfo *dev, const char *pwd, const char *ssid, const char *password) {
    return Guarded(0u, [&] { return Set(dev, pwd, rows::kAddAp, {ssid, password}); });
}
VX_API uint32_t VX_DelAp(VestraInfo *dev, const char *pwd, const char *ssid) {
    return SetEchoed(dev, pwd, rows::kDelAp, ssid);
}
VX_API uint32_t VX_DelAllAp(VestraInfo *dev, const char *pwd) {
    return SetEchoed(dev, pwd, rows::kDelAp, "ALL");
}
VX_API uint32_t VX_SetSelAp(VestraInfo *dev, const char *pwd, const char *ssid) {
    return SetEchoed(dev, pwd, rows::kSetSelAp, ssid);
}
VX_API uint32_t VX_GetSelAp(VestraInfo *dev, const char *pwd, char *ssid) {
    return GetText(dev, pwd, rows::kGetSelAp, ssid, kArea);
}
VX_API uint32_t VX_GetApList(VestraInfo *dev, const char *pwd, char *list) {
    return GetText(dev, pwd, rows::kGetApList, list, VX_AP_LIST_AREA);
}

VX_API uint32_t VX_SetDevUDiskAuthEn(VestraInfo *dev, const char *pwd, int32_t value) {
    return SetSwitch(dev, pwd, rows::kSetUDiskAuthEn, value);
}
VX_API uint32_t VX_GetDevUDiskAuthEn(VestraInfo *dev, const char *pwd, uint32_t *value) {
    return GetSwitch(dev, pwd, rows::kGetUDiskAuthEn, value);
}
VX_API uint32_t VX_SetDevPFPTTEn(VestraInfo *dev, const char *pwd, int32_t value) {
    return SetSwitch(dev, pwd, rows::kSetPfpttEn, value);
}
VX_API uint32_t VX_GetDevPFPTTEn(VestraInfo *dev, const char *pwd, uint32_t *value) {
    return GetSwitch(dev, pwd, rows::kGetPfpttEn, value);
}
VX_API uint32_t VX_SetDevReportTime(VestraInfo *dev, const char *pwd, int32_t seconds) {
    return SetSwitch(dev, pwd, rows::kSetReportTime, seconds);
}
VX_API uint32_t VX_GetDevReportTime(VestraInfo *dev, const char *pwd, uint32_t *seconds) {
    return GetSwitch(dev, pwd, rows::kGetReportTime, seconds);
}
VX_API uint32_t VX_SetDevGpsEn(VestraInfo *dev, const char *pwd, int32_t value) {
    return SetSwitch(dev, pwd, rows::kSetGpsEn, value);
}
VX_API uint32_t VX_GetDevGpsEn(VestraInfo *dev, const char *pwd, uint32_t *value) {
    return GetSwitch(dev, pwd, rows::kGetGpsEn, value);
}

}  // extern "C"
