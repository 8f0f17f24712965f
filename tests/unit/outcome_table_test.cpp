// The one table of what each outcome publishes: the record's status number
// and error text, the operation's result, and the standard set's status.
#include <gtest/gtest.h>

#include <cstdio>

#include "LibVestra.h"
#include "common/outcome.h"

namespace {

using vx::Outcome;

// Faults: a published number or text changed, a success that clears the
// error text, a failure that keeps an old one, a special number lost, a
// standard-set call that reports its success for a failure.
TEST(OutcomeTable, EachOutcomePublishesItsNumberTextResultAndStandardStatus) {
    constexpr int32_t kSuccess = 5, kRefusal = 6;  // SyncDevTime's own pair
    const struct {
        Outcome outcome;
        int32_t err_no;
        const char *err_str;  // after "old" in the record and "reply" handed in
        uint32_t result;
        int32_t gb;
    } cases[] = {
        {Outcome::Done, VX_STATUS_OK, "reply", 1, kSuccess},
        {Outcome::Special, VX_STATUS_AP_EMPTY_SEL, "reply", 1, kSuccess},
        {Outcome::Refused, VX_STATUS_FAILED, "reply", 0, kRefusal},
        {Outcome::NoReply, VX_STATUS_FAILED, "reply", 0, kRefusal},
        {Outcome::DeviceError, VX_STATUS_FAILED, "reply", 0, kRefusal},
        {Outcome::NotParsed, VX_STATUS_FAILED, "reply", 0, kRefusal},
        {Outcome::DeviceGone, VX_STATUS_FAILED, "reply", 0, kRefusal},
        {Outcome::NotOpen, VX_STATUS_NOT_OPEN, "Device not Open", 0, VX_GB_NO_DEVICE},
        {Outcome::NoLogin, VX_STATUS_NO_LOGIN, "No Login Device", 0, VX_GB_LOGIN_FAILED},
        {Outcome::ConfigFailed, VX_STATUS_SET_CONFIG, "reply", 0, VX_GB_NO_DEVICE},
        {Outcome::ClaimFailed, VX_STATUS_CLAIM_IFACE, "reply", 0, VX_GB_NO_DEVICE},
    };
    static_assert(sizeof cases / sizeof cases[0] == vx::kOutcomes);
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.outcome));
        VestraInfo dev{};
        std::snprintf(dev.errStr, sizeof dev.errStr, "old");
        const int32_t rule_status = c.outcome == Outcome::Special ? VX_STATUS_AP_EMPTY_SEL : 1;
        EXPECT_EQ(vx::SetOutcome(&dev, c.outcome, "reply", rule_status), c.result);
        EXPECT_EQ(dev.errNo, c.err_no);
        EXPECT_STREQ(dev.errStr, c.err_str);
        EXPECT_EQ(vx::GbStatusOf(c.outcome, kSuccess, kRefusal), c.gb);
        // No text handed in: a success keeps the record's, a failure has none
        // but its fixed one.
        std::snprintf(dev.errStr, sizeof dev.errStr, "old");
        vx::SetOutcome(&dev, c.outcome);
        const char *fixed = vx::PublishedOf(c.outcome).text;
        EXPECT_STREQ(dev.errStr, c.result == 1 ? "old" : fixed != nullptr ? fixed : "");
    }
}

}  // namespace
