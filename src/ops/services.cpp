// The eight platform service configurations: one set and one get each, all
// over the keyed-list rows.
#include "common/guard.h"
#include "ops/rows.h"
#include "ops/steps.h"

using namespace vx;
using namespace vx::ops;

namespace {

uint32_t SetService(VestraInfo *dev, const char *password, const Row &row,
                    std::initializer_list<Arg> args) {
    return Guarded(0u, [&] { return Set(dev, password, row, args); });
}
uint32_t GetService(VestraInfo *dev, const char *password, const Row &row,
                    std::initializer_list<Out> outs) {
    return Guarded(0u, [&] { return Get(dev, password, row, outs); });
}
Out T(char *text) { return Out::TextArea(text); }

}  // namespace

extern "C" {

VX_API uint32_t VX_SetTalkBackCfg(VestraInfo *dev, const char *password, uint32_t bEnable,
                                  const char *servIp, const char *servPort, const char *devNo,
                                  const char *devName, const char *devPasswd) {
    return SetService(dev, password, rows::kSetTalkBack,
                      {bEnable, servIp, servPort, devNo, devName, devPasswd});
}
VX_API uint32_t VX_GetTalkBackCfg(VestraInfo *dev, const char *password, uint32_t *bEnable, char *servIp,
                                  char *servPort, char *devNo, char *devName, char *devPasswd) {
    return GetService(
        dev, password, rows::kGetTalkBack,
        {Out::Num(bEnable), T(servIp), T(servPort), T(devNo), T(devName), T(devPasswd)});
}

VX_API uint32_t VX_SetGb28181Cfg(VestraInfo *dev, const char *password, uint32_t bEnable,
                                 const char *servIp, const char *servPort, const char *devNo,
                                 const char *chnNo, const char *chnName, const char *servId,
                                 const char *passwd) {
    return SetService(dev, password, rows::kSetGb28181,
                      {bEnable, servIp, servPort, devNo, chnNo, chnName, servId, passwd});
}
VX_API uint32_t VX_GetGb28181Cfg(VestraInfo *dev, const char *password, uint32_t *bEnable, char *servIp,
                                 char *servPort, char *devNo, char *chnNo, char *chnName,
                                 char *servId, char *passwd) {
    return GetService(dev, password, rows::kGetGb28181,
                      {Out::Num(bEnable), T(servIp), T(servPort), T(devNo), T(chnNo), T(chnName),
                       T(servId), T(passwd)});
}

VX_API uint32_t VX_SetGpsServCfg(VestraInfo *dev, const char *password, uint32_t bEnable,
                                 const char *servIp, const char *servPort, const char *devNo,
                                 const char *passwd, int32_t reportTime) {
    return SetService(dev, password, rows::kSetGpsServ,
                      {bEnable, servIp, servPort, devNo, passwd, reportTime});
}
VX_API uint32_t VX_GetGpsServCfg(VestraInfo *dev, const char *password, uint32_t *bEnable, char *servIp,
                                 char *servPort, char *devNo, char *passwd, uint32_t *reportTime) {
    return GetService(
        dev, password, rows::kGetGpsServ,
        {Out::Num(bEnable), T(servIp), T(servPort), T(devNo), T(passwd), Out::Num(reportTime)});
}

VX_API uint32_t VX_SetCmsv6Cfg(VestraInfo *dev, const char *password, uint32_t bEnable,
                               const char *servIp, const char *servPort, const char *devNo,
                               int32_t reportTime) {
    return SetService(dev, password, rows::kSetCmsv6, {bEnable, servIp, servPort, devNo, reportTime});
}
VX_API uint32_t VX_GetCmsv6Cfg(VestraInfo *dev, const char *password, uint32_t *bEnable, char *servIp,
                               char *servPort, char *devNo, uint32_t *reportTime) {
    return GetService(dev, password, rows::kGetCmsv6,
                      {Out::Num(bEnable), T(servIp), T(servPort), T(devNo), Out::Num(reportTime)});
}

VX_API uint32_t VX_SetPtytCfg(VestraInfo *dev, const char *password, uint32_t bEnable,
                              const char *servIp, const char *servPort, const char *devNo,
                              const char *devName, const char *devPasswd, int32_t reportTime) {
    return SetService(dev, password, rows::kSetPtyt,
                      {bEnable, servIp, servPort, devNo, devName, devPasswd, reportTime});
}
VX_API uint32_t VX_GetPtytCfg(VestraInfo *dev, const char *password, uint32_t *bEnable, char *servIp,
                              char *servPort, char *devNo, char *devName, char *devPasswd,
                              uint32_t *reportTime) {
    return GetService(dev, password, rows::kGetPtyt,
                      {Out::Num(bEnable), T(servIp), T(servPort), T(devNo), T(devName),
                       T(devPasswd), Out::Num(reportTime)});
}

VX_API uint32_t VX_Set0787Serv01Cfg(VestraInfo *dev, const char *password, uint32_t bEnable,
                                    const char *servIp, const char *servPort, const char *devNo,
                                    const char *passwd, int32_t reportTime) {
    return SetService(dev, password, rows::kSet0787Serv01,
                      {bEnable, servIp, servPort, devNo, passwd, reportTime});
}
VX_API uint32_t VX_Get0787Serv01Cfg(VestraInfo *dev, const char *password, uint32_t *bEnable,
                                    char *servIp, char *servPort, char *devNo, char *passwd,
                                    uint32_t *reportTime) {
    return GetService(
        dev, password, rows::kGet0787Serv01,
        {Out::Num(bEnable), T(servIp), T(servPort), T(devNo), T(passwd), Out::Num(reportTime)});
}

VX_API uint32_t VX_SetLBSCfg(VestraInfo *dev, const char *password, uint32_t bEnable,
                             const char *loginUrl, const char *devPasswd, int32_t reportTime) {
    return SetService(dev, password, rows::kSetLbs, {bEnable, loginUrl, devPasswd, reportTime});
}
VX_API uint32_t VX_GetLBSCfg(VestraInfo *dev, const char *password, uint32_t *bEnable, char *loginUrl,
                             char *devPasswd, uint32_t *reportTime) {
    return GetService(dev, password, rows::kGetLbs,
                      {Out::Num(bEnable), T(loginUrl), T(devPasswd), Out::Num(reportTime)});
}

VX_API uint32_t VX_SetNetCheckServCfg(VestraInfo *dev, const char *password, uint32_t bEnable,
                                      const char *servIp, const char *servPort) {
    return SetService(dev, password, rows::kSetNetCheck, {bEnable, servIp, servPort});
}
VX_API uint32_t VX_GetNetCheckServCfg(VestraInfo *dev, const char *password, uint32_t *bEnable,
                                      char *servIp, char *servPort) {
    return GetService(dev, password, rows::kGetNetCheck, {Out::Num(bEnable), T(servIp), T(servPort)});
}

}  // extern "C"
