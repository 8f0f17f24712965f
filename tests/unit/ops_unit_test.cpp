// Device-operation internals: the battery query's 20-second window on a
// clock the test controls, and the reply area an exchange reads into (the
// Base64 of the data packs is checked on the wire, tests/api).
#include <cstring>
#include <string>

#include "api/ops_support.h"
#include "common/clock.h"
#include "common/state.h"
#include "protocol/exchange.h"

namespace {

uint32_t g_now = 0;
uint32_t TestClock() { return g_now; }

class OpsUnit : public ops_test::OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        login();
        vx::g_device_change_state = 0;
        vx::SetClockForTesting(TestClock);
    }
    void TearDown() override {
        vx::SetClockForTesting(nullptr);
        OpsTest::TearDown();
    }
    int battery_queries() const { return count_commands(id, "VX+BATVAL?\r\n"); }
};

// A zero-filled record counts the clock reading itself as elapsed.
TEST_F(OpsUnit, BatteryIsAskedAtMostOnceInTwentySeconds) {
    struct Case {
        int32_t last;
        uint32_t now;
        bool asked;
    } cases[] = {
        {100000, 100000, false}, {100000, 110000, false}, {100000, 120000, false},
        {100000, 120001, true},  {100000, 99999, true},  // clock behind: asked
        {0, 15000, false},       {0, 25000, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.now);
        dev->lastBatteryQuery = c.last;
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
            EXPECT_EQ(dev->lastBatteryQuery, c.last);
        }
    }

    // A record that was never opened: refused inside the window without a
    // status; outside it, the not-open road.
    VestraInfo blank{};
    uint32_t level = 0;
    g_now = 15000;
    EXPECT_EQ(VX_GetBatVal(&blank, "888888", &level), 0u);
    EXPECT_EQ(blank.errNo, 0);
    g_now = 25000;
    EXPECT_EQ(VX_GetBatVal(&blank, "888888", &level), 0u);
    EXPECT_EQ(blank.errNo, VX_STATUS_NOT_OPEN);
    EXPECT_EQ(blank.lastBatteryQuery, 25000);
    EXPECT_EQ(VX_GetBatVal(nullptr, "888888", &level), 0u);
}

// VX_GetBatValNow asks at once, whatever the window, and notes its time as
// VX_GetBatVal does (before the exchange, so a refused query counts too).
// Faults: a query-now that honours the window (a fresh record could not be
// read in a process's first 20 s); one that does not note its time (the next
// VX_GetBatVal would ask again at once), or notes it only on success.
TEST_F(OpsUnit, BatteryNowAsksInsideTheWindowAndStartsItAgain) {
    // clang-format off
    const struct {
        const char *name;
        int32_t last;       // the record's last query
        uint32_t now;       // the clock at the query-now
        const char *reply;  // the device's answer to "VX+BATVAL?"
        uint32_t result, level;
    } cases[] = {
        {.name = "zero-filled record at process start", .last = 0, .now = 5000,
         .reply = "+BATVAL:87\r\nOK\r\n", .result = 1, .level = 87},
        {.name = "asked a second ago", .last = 100000, .now = 101000,
         .reply = "+BATVAL:40\r\nOK\r\n", .result = 1, .level = 40},
        {.name = "device refuses: the time is noted all the same", .last = 100000, .now = 101000,
         .reply = "Error: busy\r\n", .result = 0, .level = 0},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        vsim::script(id, "VX+BATVAL?\r\n", c.reply);
        vsim::clear_record();
        dev->lastBatteryQuery = c.last;
        g_now = c.now;
        uint32_t level = 0;
        EXPECT_EQ(VX_GetBatValNow(dev, "888888", &level), c.result);
        EXPECT_EQ(level, c.level);
        EXPECT_EQ(battery_queries(), 1);
        EXPECT_EQ(dev->lastBatteryQuery, int32_t(c.now));
        g_now = c.now + 20000;  // the window now counts from the query-now
        EXPECT_EQ(VX_GetBatVal(dev, "888888", &level), 0u);
        EXPECT_EQ(battery_queries(), 1);
    }
    uint32_t level = 0;
    EXPECT_EQ(VX_GetBatValNow(nullptr, "888888", &level), 0u);
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
