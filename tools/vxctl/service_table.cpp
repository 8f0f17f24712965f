#include "service_table.h"

namespace vxctl {
namespace {

namespace rows = vx::ops::rows;
using R = uint32_t;
using D = VestraInfo *;
using P = const char *;
using T = char *const *;
using C = const char *const *;

}  // namespace

const std::vector<ServiceOp> &ServiceOps() {
    // clang-format off
    static const std::vector<ServiceOp> kServices{
        {"talkback", &rows::kGetTalkBack,
         [](D d, P p, R *e, T t, R *) { return VX_GetTalkBackCfg(d, p, e, t[0], t[1], t[2], t[3], t[4]); },
         [](D d, P p, R e, C t, int32_t) { return VX_SetTalkBackCfg(d, p, e, t[0], t[1], t[2], t[3], t[4]); }},
        {"gb28181", &rows::kGetGb28181,
         [](D d, P p, R *e, T t, R *) { return VX_GetGb28181Cfg(d, p, e, t[0], t[1], t[2], t[3], t[4], t[5], t[6]); },
         [](D d, P p, R e, C t, int32_t) { return VX_SetGb28181Cfg(d, p, e, t[0], t[1], t[2], t[3], t[4], t[5], t[6]); }},
        {"gps", &rows::kGetGpsServ,
         [](D d, P p, R *e, T t, R *r) { return VX_GetGpsServCfg(d, p, e, t[0], t[1], t[2], t[3], r); },
         [](D d, P p, R e, C t, int32_t r) { return VX_SetGpsServCfg(d, p, e, t[0], t[1], t[2], t[3], r); }},
        {"cmsv6", &rows::kGetCmsv6,
         [](D d, P p, R *e, T t, R *r) { return VX_GetCmsv6Cfg(d, p, e, t[0], t[1], t[2], r); },
         [](D d, P p, R e, C t, int32_t r) { return VX_SetCmsv6Cfg(d, p, e, t[0], t[1], t[2], r); }},
        {"ptyt", &rows::kGetPtyt,
         [](D d, P p, R *e, T t, R *r) { return VX_GetPtytCfg(d, p, e, t[0], t[1], t[2], t[3], t[4], r); },
         [](D d, P p, R e, C t, int32_t r) { return VX_SetPtytCfg(d, p, e, t[0], t[1], t[2], t[3], t[4], r); }},
        {"lbs", &rows::kGetLbs,
         [](D d, P p, R *e, T t, R *r) { return VX_GetLBSCfg(d, p, e, t[0], t[1], r); },
         [](D d, P p, R e, C t, int32_t r) { return VX_SetLBSCfg(d, p, e, t[0], t[1], r); }},
        {"0787serv01", &rows::kGet0787Serv01,
         [](D d, P p, R *e, T t, R *r) { return VX_Get0787Serv01Cfg(d, p, e, t[0], t[1], t[2], t[3], r); },
         [](D d, P p, R e, C t, int32_t r) { return VX_Set0787Serv01Cfg(d, p, e, t[0], t[1], t[2], t[3], r); }},
        {"diagnostic", &rows::kGetNetCheck,
         [](D d, P p, R *e, T t, R *) { return VX_GetNetCheckServCfg(d, p, e, t[0], t[1]); },
         [](D d, P p, R e, C t, int32_t) { return VX_SetNetCheckServCfg(d, p, e, t[0], t[1]); }},
    };
    // clang-format on
    return kServices;
}

const ServiceOp *FindService(const std::string &name) {
    for (const ServiceOp &s : ServiceOps())
        if (name == s.name) return &s;
    return nullptr;
}

bool HasReportTime(const ServiceOp &s) { return s.row->service->report != vx::ops::Report::None; }

std::vector<std::string> ServiceFields(const ServiceOp &s) {
    const vx::ops::Service &svc = *s.row->service;
    return {svc.fields, svc.fields + svc.count};
}

bool ReadService(const ServiceOp &s, VestraInfo *dev, const char *pw, Json &value) {
    std::vector<std::string> fields = ServiceFields(s);
    char areas[kMaxServiceTexts][VX_TEXT_AREA] = {};
    char *texts[kMaxServiceTexts];
    for (int i = 0; i < kMaxServiceTexts; ++i) texts[i] = areas[i];
    uint32_t enable = 0, report = 0;
    if (!s.get(dev, pw, &enable, texts, &report)) {
        value = Unavailable(dev);
        return false;
    }
    value = Json{{"enable", enable}};
    for (std::size_t i = 0; i < fields.size(); ++i) value[fields[i]] = areas[i];
    if (HasReportTime(s)) value["ReportTime"] = report;
    return true;
}

}  // namespace vxctl
