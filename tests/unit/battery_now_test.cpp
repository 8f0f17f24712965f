// VX_GetBatValNow: the battery query at once, whatever the 20 s window of
// VX_GetBatVal, and noted as VX_GetBatVal notes it. Catches a query-now that
// still honours the window (a freshly opened record could never be read in
// the first 20 s of a process), one that forgets to note its time (the next
// VX_GetBatVal would ask the device again at once), and one that notes it
// only on success.
#include <gtest/gtest.h>

#include "LibVestra.h"
#include "common/clock.h"
#include "vsim.h"

namespace {

uint32_t g_now = 0;
uint32_t TestClock() { return g_now; }

int BatteryQueries(int id) {
    int n = 0;
    for (const auto &c : vsim::commands(id)) n += c == "VX+BATVAL?\r\n";
    return n;
}

TEST(BatteryNow, AsksInsideTheWindowAndStartsItAgain) {
    struct Case {
        const char *name;
        int32_t last;       // the record's last query
        uint32_t now;       // the clock at the query-now
        const char *reply;  // the device's answer to "VX+BATVAL?"
        uint32_t result;
        uint32_t level;
    } cases[] = {
        {"zero-filled record at process start", 0, 5000, "+BATVAL:87\r\nOK\r\n", 1, 87},
        {"asked a second ago", 100000, 101000, "+BATVAL:40\r\nOK\r\n", 1, 40},
        {"device refuses: the time is noted all the same", 100000, 101000, "Error: busy\r\n", 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        vsim::reset();
        vsim::add_bus("001", 1);
        vsim::DeviceSpec spec;
        spec.model = "VX001";
        int id = vsim::plug(spec);
        VestraInfo *dev = VX_InitDev("VX001");
        ASSERT_NE(dev, nullptr);
        ASSERT_EQ(VX_Login(dev, "888888"), 1u);
        vsim::script(id, "VX+BATVAL?\r\n", c.reply);
        vsim::clear_record();
        vx::SetClockForTesting(TestClock);
        dev->lastBatteryQuery = c.last;
        g_now = c.now;

        uint32_t level = 0;
        EXPECT_EQ(VX_GetBatValNow(dev, "888888", &level), c.result);
        EXPECT_EQ(level, c.level);
        EXPECT_EQ(BatteryQueries(id), 1);
        EXPECT_EQ(dev->lastBatteryQuery, int32_t(c.now));

        // The window now counts from the query-now.
        g_now = c.now + 20000;
        EXPECT_EQ(VX_GetBatVal(dev, "888888", &level), 0u);
        EXPECT_EQ(BatteryQueries(id), 1);

        vx::SetClockForTesting(nullptr);
        VX_UnInitDev(dev);
    }
    uint32_t level = 0;
    EXPECT_EQ(VX_GetBatValNow(nullptr, "888888", &level), 0u);
}

}  // namespace
