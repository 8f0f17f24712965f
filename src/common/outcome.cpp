#include "common/outcome.h"

#include "common/state.h"

namespace vx {
namespace {

constexpr Published kPublished[kOutcomes] = {
    {.outcome = Outcome::Done,
     .status = kRuleStatus,
     .keeps_text = true,
     .result = 1,
     .gb = kGbCallSuccess},
    {.outcome = Outcome::Special,
     .status = kRuleStatus,
     .keeps_text = true,
     .result = 1,
     .gb = kGbCallSuccess},
    {.outcome = Outcome::Refused, .status = VX_STATUS_FAILED, .result = 0, .gb = kGbCallRefusal},
    {.outcome = Outcome::NoReply, .status = VX_STATUS_FAILED, .result = 0, .gb = kGbCallRefusal},
    {.outcome = Outcome::DeviceError,
     .status = VX_STATUS_FAILED,
     .result = 0,
     .gb = kGbCallRefusal},
    {.outcome = Outcome::NotParsed, .status = VX_STATUS_FAILED, .result = 0, .gb = kGbCallRefusal},
    {.outcome = Outcome::DeviceGone, .status = VX_STATUS_FAILED, .result = 0, .gb = kGbCallRefusal},
    {.outcome = Outcome::NotOpen,
     .status = VX_STATUS_NOT_OPEN,
     .text = "Device not Open",
     .result = 0,
     .gb = VX_GB_NO_DEVICE},
    {.outcome = Outcome::NoLogin,
     .status = VX_STATUS_NO_LOGIN,
     .text = "No Login Device",
     .result = 0,
     .gb = VX_GB_LOGIN_FAILED},
    {.outcome = Outcome::ConfigFailed,
     .status = VX_STATUS_SET_CONFIG,
     .result = 0,
     .gb = VX_GB_NO_DEVICE},
    {.outcome = Outcome::ClaimFailed,
     .status = VX_STATUS_CLAIM_IFACE,
     .result = 0,
     .gb = VX_GB_NO_DEVICE},
};

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
