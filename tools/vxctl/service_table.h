// The eight platform services: one row each, pairing the vxctl name with the
// library's row (keyword and field list) and the exported getter and setter,
// adapted to one signature each (texts by field index).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LibVestra.h"
#include "ops/rows.h"
#include "output.h"

namespace vxctl {

constexpr int kMaxServiceTexts = 8;
using ServiceGet = uint32_t (*)(VestraInfo *, const char *, uint32_t *enable, char *const *texts,
                                uint32_t *report);
using ServiceSet = uint32_t (*)(VestraInfo *, const char *, uint32_t enable,
                                const char *const *texts, int32_t report);

struct ServiceOp {
    const char *name;
    const vx::ops::Row *row;  // the get row: keyword and service fields
    ServiceGet get;
    ServiceSet set;
};

const std::vector<ServiceOp> &ServiceOps();
const ServiceOp *FindService(const std::string &name);
bool HasReportTime(const ServiceOp &s);
// The text fields in argument order (ServIP, ServPort, ...).
std::vector<std::string> ServiceFields(const ServiceOp &s);
// {"enable": n, "ServIP": "...", ..., "ReportTime": n} or Unavailable(...).
bool ReadService(const ServiceOp &s, VestraInfo *dev, const char *pw, Json &value);

}  // namespace vxctl
