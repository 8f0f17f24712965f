#include "common/outcome.h"

#include "common/state.h"

namespace vx {
namespace {

// clang-format off
constexpr Published kPublished[kOutcomes] = {
    {Outcome::Done,         kRuleStatus,           nullptr,           true,  1, kGbCallSuccess},
    {Outcome::Special,      kRuleStatus,           nullptr,           true,  1, kGbCallSuccess},
    {Outcome::Refused,      VX_STATUS_FAILED,      nullptr,           false, 0, kGbCallRefusal},
    {Outcome::NoReply,      VX_STATUS_FAILED,      nullptr,           false, 0, kGbCallRefusal},
    {Outcome::DeviceError,  VX_STATUS_FAILED,      nullptr,           false, 0, kGbCallRefusal},
    {Outcome::NotParsed,    VX_STATUS_FAILED,      nullptr,           false, 0, kGbCallRefusal},
    {Outcome::DeviceGone,   VX_STATUS_FAILED,      nullptr,           false, 0, kGbCallRefusal},
    {Outcome::NotOpen,      VX_STATUS_NOT_OPEN,    "Device not Open", false, 0, VX_GB_NO_DEVICE},
    {Outcome::NoLogin,      VX_STATUS_NO_LOGIN,    "No Login Device", false, 0, VX_GB_LOGIN_FAILED},
    {Outcome::ConfigFailed, VX_STATUS_SET_CONFIG,  nullptr,           false, 0, VX_GB_NO_DEVICE},
    {Outcome::ClaimFailed,  VX_STATUS_CLAIM_IFACE, nullptr,           false, 0, VX_GB_NO_DEVICE},
};
// clang-format on

constexpr bool InOrder() {
    for (int i = 0; i < kOutcomes; ++i)
        if (int(kPublished[i].outcome) != i) return false;
    return true;
}
static_assert(InOrder(), "one row per outcome, in the enum's order");

}  // namespace

const Published &PublishedOf(Outcome outcome) { return kPublished[int(outcome)]; }

uint32_t SetOutcome(VestraInfo *dev, Outcome outcome, const char *text, int32_t rule_status) {
    const Published &row = PublishedOf(outcome);
    dev->errNo = row.status == kRuleStatus ? rule_status : row.status;
    if (row.text != nullptr)
        SetErrStr(dev, row.text);
    else if (text != nullptr || !row.keeps_text)
        SetErrStr(dev, text);
    return row.result;
}

int32_t GbStatusOf(Outcome outcome, int32_t success, int32_t refusal) {
    const int32_t gb = PublishedOf(outcome).gb;
    return gb == kGbCallSuccess ? success : gb == kGbCallRefusal ? refusal : gb;
}

}  // namespace vx
