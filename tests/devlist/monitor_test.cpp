// The monitor and refresh threads in real time (a few cases: the timing
// rules themselves are checked against a controllable clock in unit/),
// a stress run, and process exit while they work.
#include <cstdlib>
#include <memory>

#include "devlist/devlist_fixture.h"
#include "support/log_capture.h"

namespace devlist {
namespace {

using Monitor = ListTest;

// Faults: the first refresh not scanning the bus, or coming before the
// debounce; kind 1 missing or after kind 2; slots not filled; the ID-code
// accessor not bounded by DevSum.
TEST_F(Monitor, FirstRefreshFillsTheListAndCallsBack) {
    if (RunIsolated()) return;
    Plug("A1234567_1");
    Plug("B7654321_1", "VX001", 1);
    TheCalls().start = std::chrono::steady_clock::now();
    VX_InitDevListPthreadEx(Record);
    ASSERT_TRUE(TheCalls().WaitFor(2));
    auto calls = TheCalls().Snapshot();
    ASSERT_EQ(KindsAndValues(calls), (Pairs{{1, 2}, {2, 2}}));
    EXPECT_GE(calls[0].at_ms, 2300);  // 300 ms to the refresh thread, then 2 s
    EXPECT_LT(calls[0].at_ms, 4000);
    EXPECT_EQ(2, VX_GetDevListSum());
    EXPECT_EQ(1u, VX_GetDevListIsUpdate());
    // The ID-code accessor takes indexes below the refreshed DevSum only.
    char id[VX_ID_CODE_LEN] = {};
    EXPECT_EQ(1u, VX_GetDevIDCodeFromList(1, id));
    EXPECT_STREQ("3400001", id);
    EXPECT_EQ(0u, VX_GetDevIDCodeFromList(2, id));
    VX_InitDevListPthreadEx(nullptr);  // a second start does nothing
    EXPECT_EQ(2, VX_GetDevListSum());
}

// Faults: a kind-1 callback for the start's unchanged (empty) list; one
// refresh per event instead of one per debounce window; the kind-2 value not
// the last event's; removal not seen through events; an event-caused
// callback running without the library lock.
TEST_F(Monitor, EventsAreDebouncedAndCarryTheirKind) {
    if (RunIsolated()) return;
    // Another thread asks for the lock while an event refresh calls back:
    // it must not get it before the callback returns.
    static std::atomic<int> got_lock_during_callback{0};
    VX_InitDevListPthreadEx([](int32_t kind, int32_t value) {
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::thread([done] {
            VX_GetDevListSum();
            *done = true;
        }).detach();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        if (done->load()) ++got_lock_during_callback;
        Record(kind, value);
    });
    ASSERT_TRUE(TheCalls().WaitFor(1));  // the start's own refresh
    int a = Plug("A1234567_1");
    Plug("B1234567_1");
    Plug("C1234567_1");
    ASSERT_TRUE(TheCalls().WaitFor(3));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    auto calls = TheCalls().Snapshot();
    ASSERT_EQ(KindsAndValues(calls), (Pairs{{2, 2}, {1, 3}, {2, 1}}));
    EXPECT_GE(calls[1].at_ms - calls[0].at_ms, 1900);

    vsim::unplug(a);
    ASSERT_TRUE(TheCalls().WaitFor(5));
    EXPECT_EQ(KindsAndValues(TheCalls().Snapshot()),
              (Pairs{{2, 2}, {1, 3}, {2, 1}, {1, 2}, {2, 2}}));
    EXPECT_FALSE(InUse(0));
    EXPECT_TRUE(InUse(1));
    EXPECT_EQ(0, got_lock_during_callback.load());
}

// Faults: without an event source the start failing, staying silent, or
// the first refresh not coming.
TEST_F(Monitor, WithoutAnEventSourceTheTimedRefreshesRemain) {
    if (RunIsolated()) return;
    vsim::set_uevents(false);
    Plug("A1234567_1");
    testsupport::LogCapture log;
    VX_InitDevListPthreadEx(Record);
    ASSERT_TRUE(TheCalls().WaitFor(2));
    std::string out = log.text();
    EXPECT_NE(std::string::npos, out.find("no USB event source")) << out;
    EXPECT_NE(std::string::npos, out.find("refresh udiskflag=2,duration=2.")) << out;
    EXPECT_EQ(1, VX_GetDevListSum());
}

// Faults: a crash, a use of a closed handle, an inconsistent list, or a race
// the thread sanitizer reports while host threads work on listed records and
// the standard set and the maintenance commands walk the bus, as recorders
// come and go beside the refresh thread.
TEST_F(Monitor, StressOperationsWhileRecordersComeAndGo) {
    if (RunIsolated()) return;
    std::vector<int> ids;
    for (int i = 0; i < 6; ++i) ids.push_back(Plug("S000000" + std::to_string(i) + "_1"));
    Plug("G0000001_1", "VX006");
    Plug("M0000001_1", "VX005");
    VX_InitDevListPthreadEx(Record);
    ASSERT_TRUE(TheCalls().WaitFor(2));
    std::atomic<bool> stop{false};
    std::atomic<int> ok{0}, failed{0}, standard_ok{0}, maintenance_ok{0};
    std::vector<std::thread> hosts;
    for (int t = 0; t < 4; ++t) {
        hosts.emplace_back([&, t] {
            unsigned seed = static_cast<unsigned>(t);
            while (!stop.load()) {
                int slot = static_cast<int>(rand_r(&seed) % 8);
                VestraInfo *h = VX_GetDevHandleFromList(slot);
                char name[VX_TEXT_AREA] = {};
                (VX_GetDevName(h, "888888", name) == 1 ? ok : failed)++;
                DevListInfo info[VX_LIST_SLOTS];
                VX_ListEnterCriticalSection();
                uint32_t n = VX_GetDevAllListInfoFromList(info, VX_LIST_SLOTS);
                for (uint32_t i = 0; i < n; ++i) EXPECT_NE(nullptr, info[i].handle->usbHandle);
                VX_ListLeaveCriticalSection();
                int32_t index = 0;
                VX_GetDevIdxFromList("S0000001", &index);
            }
        });
    }
    hosts.emplace_back([&] {
        while (!stop.load()) {
            char code[8] = {};
            int32_t st = 0, level = 0;
            if (Init_Device(code, &st) == 1 &&
                ReadDeviceBatteryDumpEnergy(&level, "888888", &st) == 1)
                ++standard_ok;
            UnInit_Device(&st);
            uint32_t battery = 0;
            if (GBCmd_GetBatteryVal("M000", "888888", &battery, &st) == 1) ++maintenance_ok;
        }
    });
    unsigned seed = 99;
    for (int round = 0; round < 40; ++round) {
        std::size_t pick = rand_r(&seed) % ids.size();
        vsim::unplug(ids[pick]);
        ids[pick] = Plug("S000000" + std::to_string(pick) + "_1");
        VX_InitDevList();  // the host updates too, beside the refresh thread
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    stop = true;
    for (auto &h : hosts) h.join();
    EXPECT_GT(ok.load(), 0);
    EXPECT_GT(standard_ok.load(), 0);
    EXPECT_GT(maintenance_ok.load(), 0);
    VX_InitDevList();
    VX_ListEnterCriticalSection();
    int in_use = 0;
    for (int i = 0; i < VX_LIST_SLOTS; ++i) in_use += InUse(i) ? 1 : 0;
    VX_ListLeaveCriticalSection();
    EXPECT_EQ(8, in_use);
}

// Faults: exit while a refresh is in the middle of a slow arrival pass, or
// while a callback runs, crashing, hanging or tripping a sanitizer.
TEST_F(Monitor, ExitDuringARefresh) {
    if (RunIsolated()) return;
    vsim::set_realtime(true);  // each arrival waits out real time-outs
    for (int i = 0; i < 10; ++i) Plug("E000000" + std::to_string(i) + "_1");
    VX_InitDevListPthreadEx(Record);
    std::this_thread::sleep_for(std::chrono::milliseconds(2600));  // inside the first refresh
    std::exit(0);
}

// Faults: exit while the refresh thread rests tearing down what it rests on,
// or waking it into state that static destruction ends (a crash, a hang or
// a sanitizer report at exit).
TEST_F(Monitor, ExitWhileTheRefreshThreadRests) {
    if (RunIsolated()) return;
    Plug("A1234567_1");
    VX_InitDevListPthreadEx(Record);
    ASSERT_TRUE(TheCalls().WaitFor(2));  // the first refresh called back: it rests next
    std::exit(0);
}

TEST_F(Monitor, ExitWhileACallbackRuns) {
    if (RunIsolated()) return;
    static std::atomic<bool> in_callback{false};
    VX_InitDevListPthreadEx([](int32_t, int32_t) {
        in_callback = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        VX_GetDevListSum();
    });
    while (!in_callback.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::exit(0);
}

}  // namespace
}  // namespace devlist
