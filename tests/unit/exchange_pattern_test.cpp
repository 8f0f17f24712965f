// The exchange pattern's roads out: a record closed before the lock, and the
// library-wide device-change state the closing failures raise. The parse
// outcomes are the row table's and the rule tables' (tests/api).
#include <thread>

#include "api/ops_support.h"
#include "common/state.h"
#include "ops/steps.h"
#include "transport/usbio.h"

namespace {

class ExchangePattern : public ops_test::OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        vx::g_device_change_state = 0;
    }
    // The record released and opened again; with replug, on a recorder plugged anew.
    void reopen(bool replug = false) {
        forget(dev);
        VX_UnInitDev(dev);
        if (replug) {
            vsim::unplug(id);
            id = plug("VX001", "1000001");
        }
        dev = open("VX001");
    }
    uint32_t get_name(char *out) { return VX_GetDevName(dev, "888888", out); }
};

// Fault: the handle not checked again under the lock. Another thread closes
// the logged-in record between the first check and the lock (the hook, on a
// thread of its own); the operation must take the "Device not Open" road,
// not write to a closed record and report an empty failure.
TEST_F(ExchangePattern, RecordClosedBeforeTheLockIsCheckedAgainUnderIt) {
    const struct {
        const char *what;
        uint32_t (*run)(VestraInfo *dev);
    } cases[] = {
        {"get",
         [](VestraInfo *d) {
             char out[VX_TEXT_AREA] = {};
             return VX_GetDevName(d, "888888", out);
         }},
        {"set", [](VestraInfo *d) { return VX_SetDevName(d, "888888", "cam"); }},
        {"raw command", [](VestraInfo *d) { return VX_Cmd(d, "888888", "VX+UID?\r\n"); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(VX_Login(dev, "888888"), 1u);
        std::size_t before = vsim::commands(id).size();
        vx::g_device_change_state = 0;
        vx::ops::SetBeforeLockForTesting([](VestraInfo *d) {
            std::thread([d] {
                vx::LibGuard lock(vx::LibLock());
                vx::Close_Device(d);
            }).join();
        });
        EXPECT_EQ(c.run(dev), 0u);
        vx::ops::SetBeforeLockForTesting(nullptr);
        EXPECT_EQ(dev->errNo, VX_STATUS_NOT_OPEN);
        EXPECT_STREQ(dev->errStr, "Device not Open");
        EXPECT_EQ(vx::g_device_change_state.load(), 2);
        EXPECT_EQ(vsim::commands(id).size(), before);  // nothing written
        reopen();
        ASSERT_NE(dev, nullptr);
    }
}

// Faults: a road that raises the state without waking the refresh thread
// (the list would hear of the lost device only at the next timed refresh, up
// to an hour later); a wake lost because no thread rested when it came; a
// wake not taken by the rest it ends (the thread would spin; the draining
// loops here would not end); a time-out, which closes nothing, waking it.
TEST_F(ExchangePattern, ClosingFailuresWakeTheRefreshThread) {
    char out[VX_TEXT_AREA] = {};
    while (vx::WaitForDeviceChange(0)) {}
    vsim::script(id, "VX+DEVNAME?\r\n", "");  // silence: a time-out
    EXPECT_EQ(get_name(out), 0u);
    EXPECT_FALSE(vx::WaitForDeviceChange(0)) << "a time-out";

    const vsim::Faults write_fails{.reply_split = {}, .write_error = vsim::kIoError};
    const vsim::Faults gone_after_command{.reply_split = {}, .unplug_after_command = true};
    for (const vsim::Faults &faults : {write_fails, gone_after_command}) {
        reopen(/*replug=*/true);
        ASSERT_NE(dev, nullptr);
        while (vx::WaitForDeviceChange(0)) {}
        vsim::set_faults(id, faults);
        EXPECT_EQ(get_name(out), 0u);
        EXPECT_TRUE(vx::WaitForDeviceChange(0)) << (faults.write_error ? "write" : "read");
    }
    EXPECT_EQ(get_name(out), 0u);
    EXPECT_EQ(dev->errNo, VX_STATUS_NOT_OPEN);
    EXPECT_TRUE(vx::WaitForDeviceChange(0)) << "the not-open road";
    vx::g_device_change_state = 0;
}

TEST_F(ExchangePattern, DirectOpenTurnsListUpdatesOff) {
    static char name[8];
    for (auto probe : {+[] { VX_ProbeDev(name); }, +[] { VX_UnInitDev(VX_InitDev("VX001")); },
                       +[] { VX_InitDevEx("nope"); }, +[] { VX_ProbeDevEx(name); }}) {
        vx::g_dev_list_enabled = 1;
        probe();
        EXPECT_EQ(vx::g_dev_list_enabled.load(), 0);
    }
}

}  // namespace
