// The device list through the shipped library, on the virtual bus.
//
// The monitor's threads and the crash handler live until the process ends
// and only the first start counts, so every case runs in a fresh process of
// this program (RunIsolated); the parent only checks that the child passed.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "LibVestra.h"
#include "support/run_in_child.h"
#include "vsim.h"

namespace devlist {

inline bool InChild() { return std::getenv("VX_DEVLIST_CHILD") != nullptr; }

// In the parent: runs this test alone in a child process; true there (the
// caller returns). In the child: false, the test body runs.
inline bool RunIsolated() {
    if (InChild()) return false;
    testsupport::RunCaseInChild({"VX_DEVLIST_CHILD=1"});
    return true;
}

// Callbacks as the refresh thread delivered them, with when (ms since the
// recorder was made).
struct Calls {
    struct Call {
        int kind, value;
        long long at_ms;
    };
    std::mutex lock;
    std::vector<Call> calls;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

    void Add(int kind, int value) {
        long long at = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
        std::lock_guard<std::mutex> g(lock);
        calls.push_back({kind, value, at});
    }
    std::vector<Call> Snapshot() {
        std::lock_guard<std::mutex> g(lock);
        return calls;
    }
    // Waits (at most timeout_ms) until there are at least n calls.
    bool WaitFor(std::size_t n, int timeout_ms = 6000) {
        for (int waited = 0; waited < timeout_ms; waited += 10) {
            if (Snapshot().size() >= n) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
};

// The calls' kinds and values, in order.
using Pairs = std::vector<std::pair<int, int>>;
inline Pairs KindsAndValues(const std::vector<Calls::Call> &calls) {
    Pairs out;
    for (const Calls::Call &c : calls) out.emplace_back(c.kind, c.value);
    return out;
}

inline Calls &TheCalls() {
    static Calls *c = new Calls;
    return *c;
}
inline void Record(int32_t kind, int32_t value) { TheCalls().Add(kind, value); }

class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!InChild()) return;
        vsim::reset();
        vsim::add_bus("001", 1);
        vsim::add_bus("002", 2);
        VX_SetLibLog(VX_LOG_OFF);
    }

    static int Plug(const std::string &serial, const std::string &model = "VX007", int bus = 0,
                    const std::string &id_code = "3400001") {
        return vsim::plug(
            {.model = model, .bus = bus, .serial = serial, .id_code = id_code, .values = {}});
    }
    static std::string Serial(int index) {
        char s[VX_SERIAL_LEN] = {};
        VX_GetDevSNFromList(index, s);
        return s;
    }
    // The slots in use, counted from the records (DevSum is a refresh's).
    static int Listed() {
        DevListInfo info[VX_LIST_SLOTS];
        return static_cast<int>(VX_GetDevAllListInfoFromList(info, VX_LIST_SLOTS));
    }
    static bool InUse(int index) {
        VestraInfo *h = VX_GetDevHandleFromList(index);
        return h != nullptr && VX_CheckDevHandle(h) == 1;
    }
};

}  // namespace devlist
