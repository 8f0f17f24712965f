// The device list kept by the library's monitor on the system's libusb 0.1,
// with arrivals and removals announced by umockdev's uevents through
// libudev, as the kernel's would be.
#include <mutex>
#include <utility>
#include <vector>

#include "LibVestra.h"
#include "umock/testbed.h"
#include "umock/umock_fixture.h"

namespace umock {
namespace {

std::mutex g_calls_lock;
std::vector<std::pair<int, int>> g_calls;

void Record(int32_t kind, int32_t value) {
    std::lock_guard<std::mutex> guard(g_calls_lock);
    g_calls.emplace_back(kind, value);
}

std::vector<std::pair<int, int>> Calls() {
    std::lock_guard<std::mutex> guard(g_calls_lock);
    return g_calls;
}

bool CallsReach(std::size_t n) {
    return WaitUntil([n] { return Calls().size() >= n; });
}

std::string Serial(int index) {
    char s[VX_SERIAL_LEN] = {};
    VX_GetDevSNFromList(index, s);
    return s;
}

bool InUse(int index) { return VX_CheckDevHandle(VX_GetDevHandleFromList(index)) == 1; }

// Faults: the monitor not hearing udev's "add" or "remove" (the kind-2
// value tells an event-caused refresh from a timed one); the serial string
// not read over a control transfer, cut short or not split at its underscore; the ID
// code not read through bulk URBs; a removed recorder's slot kept in use
// or its serial lost.
TEST(RealLibusbList, ArrivalAndRemovalThroughUdev) {
    if (RunUnderUmockdev()) return;
    VX_SetLibLog(VX_LOG_OFF);
    Testbed testbed;
    // The serial of 15 characters is the longest the list reads.
    UsbfsDevice recorder({.vendor = 0x5E31,
                          .product = 0x0001,
                          .bulk_in = 0x81,
                          .bulk_out = 0x01,
                          .devnum = 7,
                          .serial = "A12345678901_23"},
                         RecorderSpec{});

    VX_InitDevListPthreadEx(Record);
    ASSERT_TRUE(CallsReach(1));  // the start's own refresh: an empty bus
    EXPECT_EQ((std::pair<int, int>(2, 2)), Calls()[0]);
    EXPECT_EQ(0, VX_GetDevListSum());

    ASSERT_TRUE(testbed.Plug(recorder, true));
    ASSERT_TRUE(CallsReach(3));
    EXPECT_EQ((std::pair<int, int>(1, 1)), Calls()[1]);
    EXPECT_EQ((std::pair<int, int>(2, 1)), Calls()[2]);
    EXPECT_EQ(1, VX_GetDevListSum());
    EXPECT_TRUE(InUse(0));
    EXPECT_EQ("A12345678901", Serial(0));
    int32_t udisk = -1;
    EXPECT_EQ(1u, VX_GetUdiskStatuFromList(0, &udisk));
    EXPECT_EQ(23, udisk);
    char id[VX_ID_CODE_LEN] = {};
    EXPECT_EQ(1u, VX_GetDevIDCodeFromList(0, id));
    EXPECT_STREQ("3400001", id);
    EXPECT_EQ(std::vector<std::string>{"VX+GBIDCODE?\r\n"}, recorder.Written());
    EXPECT_EQ(std::vector<int>{1}, recorder.Seen().configurations);
    EXPECT_EQ(std::vector<int>{0}, recorder.Seen().claims);

    // Under the list lock no refresh can scan between the event and the
    // node's removal.
    VX_ListEnterCriticalSection();
    testbed.Unplug(recorder);
    VX_ListLeaveCriticalSection();
    ASSERT_TRUE(CallsReach(5));
    EXPECT_EQ((std::pair<int, int>(1, 0)), Calls()[3]);
    EXPECT_EQ((std::pair<int, int>(2, 2)), Calls()[4]);
    EXPECT_EQ(0, VX_GetDevListSum());
    EXPECT_FALSE(InUse(0));
    EXPECT_EQ("A12345678901", Serial(0));
    EXPECT_EQ(std::vector<std::string>{"VX+GBIDCODE?\r\n"},
              recorder.Written());  // no logout to a gone device
}

}  // namespace
}  // namespace umock
