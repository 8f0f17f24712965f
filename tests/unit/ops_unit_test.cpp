// Device-operation internals: the battery query's 20-second window on a
// clock the test controls, and the reply area an exchange reads into (the
// Base64 of the data packs is checked on the wire, tests/api).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "LibVestra.h"
#include "common/clock.h"
#include "common/state.h"
#include "protocol/exchange.h"
#include "vsim.h"

namespace {

uint32_t g_now = 0;
uint32_t TestClock() { return g_now; }

class OpsUnit : public ::testing::Test {
protected:
    void SetUp() override {
        vsim::reset();
        vsim::add_bus("001", 1);
        vsim::DeviceSpec spec;
        spec.model = "VX001";
        id = vsim::plug(spec);
        dev = VX_InitDev("VX001");
        ASSERT_NE(dev, nullptr);
        ASSERT_EQ(VX_Login(dev, "888888"), 1u);
        vsim::clear_record();
        vx::g_device_change_state = 0;
        vx::SetClockForTesting(TestClock);
    }
    void TearDown() override {
        vx::SetClockForTesting(nullptr);
        VX_UnInitDev(dev);
        vsim::reset();
    }
    int battery_queries() const {
        int n = 0;
        for (const auto &c : vsim::commands(id)) n += c == "VX+BATVAL?\r\n";
        return n;
    }
    int id = 0;
    VestraInfo *dev = nullptr;
};

TEST_F(OpsUnit, BatteryIsAskedAtMostOnceInTwentySeconds) {
    const int32_t last = 100000;
    struct Case {
        uint32_t now;
        bool asked;
    } cases[] = {
        {100000, false}, {110000, false}, {120000, false},
        {120001, true},  {99999, true},  // clock behind: asked
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.now);
        dev->lastBatteryQuery = last;
        dev->errNo = 7;
        std::strcpy(dev->errStr, "prior");
        vsim::clear_record();
        g_now = c.now;
        uint32_t level = 0;
        EXPECT_EQ(VX_GetBatVal(dev, "888888", &level), c.asked ? 1u : 0u);
        EXPECT_EQ(battery_queries(), c.asked ? 1 : 0);
        if (c.asked) {
            EXPECT_EQ(level, 87u);
            EXPECT_EQ(dev->errNo, 1);
            EXPECT_EQ(dev->lastBatteryQuery, int32_t(c.now));
        } else {
            EXPECT_TRUE(vsim::transfers().empty());
            EXPECT_EQ(dev->errNo, 7);
            EXPECT_STREQ(dev->errStr, "prior");
            EXPECT_EQ(dev->lastBatteryQuery, last);
        }
    }
}

TEST_F(OpsUnit, BatteryQueryTimeIsKeptEvenWhenTheExchangeFails) {
    vsim::script(id, "VX+BATVAL?\r\n", "Error: busy\r\n");
    dev->lastBatteryQuery = 0;
    g_now = 50000;
    uint32_t level = 0;
    EXPECT_EQ(VX_GetBatVal(dev, "888888", &level), 0u);
    EXPECT_EQ(dev->lastBatteryQuery, 50000);
    EXPECT_STREQ(dev->errStr, "Error: busy\r\n");
    g_now = 70000;
    vsim::clear_record();
    EXPECT_EQ(VX_GetBatVal(dev, "888888", &level), 0u);
    EXPECT_TRUE(vsim::transfers().empty());
}

TEST_F(OpsUnit, ZeroFilledRecordCountsTheClockReadingAsElapsed) {
    uint32_t level = 0;
    dev->lastBatteryQuery = 0;
    g_now = 15000;
    EXPECT_EQ(VX_GetBatVal(dev, "888888", &level), 0u);
    EXPECT_EQ(battery_queries(), 0);
    g_now = 25000;
    EXPECT_EQ(VX_GetBatVal(dev, "888888", &level), 1u);
    EXPECT_EQ(battery_queries(), 1);

    // A record that was never opened: refused inside the window without a
    // status; outside it, the not-open road.
    VestraInfo blank{};
    g_now = 15000;
    EXPECT_EQ(VX_GetBatVal(&blank, "888888", &level), 0u);
    EXPECT_EQ(blank.errNo, 0);
    g_now = 25000;
    EXPECT_EQ(VX_GetBatVal(&blank, "888888", &level), 0u);
    EXPECT_EQ(blank.errNo, VX_STATUS_NOT_OPEN);
    EXPECT_EQ(blank.lastBatteryQuery, 25000);

    EXPECT_EQ(VX_GetBatVal(nullptr, "888888", &level), 0u);
}

// The reply area is zero-filled before each read: nothing of an earlier,
// longer reply is left behind the new one.
TEST_F(OpsUnit, ReplyAreaIsClearedBeforeEachRead) {
    const std::string long_reply = "+DEVNAME:" + std::string(300, 'L') + "\r\nOK\r\n";
    vsim::script(id, "VX+DEVNAME?\r\n", long_reply);
    vsim::script(id, "VX+UID?\r\n", "+UID:1\r\nOK\r\n");
    vsim::script(id, "VX+VID?\r\n", "");  // silence
    char reply[vx::kReplyArea];
    std::memset(reply, 'G', sizeof reply);
    vx::LibGuard lock(vx::LibLock());
    ASSERT_EQ(vx::Transact(dev, "VX+DEVNAME?\r\n", reply, sizeof reply).n, int(long_reply.size()));
    ASSERT_EQ(std::string(reply), long_reply);
    EXPECT_EQ(vx::Transact(dev, "VX+UID?\r\n", reply, sizeof reply).n, 12);
    EXPECT_EQ(std::string(reply, 12), "+UID:1\r\nOK\r\n");
    for (std::size_t i = 12; i < sizeof reply; ++i) ASSERT_EQ(reply[i], '\0') << i;
    std::memset(reply, 'G', sizeof reply);
    EXPECT_EQ(vx::Transact(dev, "VX+VID?\r\n", reply, sizeof reply).n, -1);
    for (std::size_t i = 0; i < sizeof reply; ++i) ASSERT_EQ(reply[i], '\0') << i;
}

}  // namespace
