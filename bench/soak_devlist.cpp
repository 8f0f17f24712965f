// The device-list soak: plug/unplug cycles of up to 50 recorders on the
// virtual bus with the monitor and refresh threads running, the host's
// callback, a host thread doing operations on listed records and one reading
// the list. It reports the process's resident memory, open descriptors and
// threads at the start, half way and at the end, and accounts for every
// arrival and removal the callback saw. Exit status 0 when the run was flat
// (RSS growth under 1 MiB, no descriptor, no thread) and every recorder
// arrived and left exactly once per cycle.
//
//   soak_devlist [cycles]     (default 2000; scripts/soak.sh runs it)
//
// The refresh thread acts on an event no sooner than 2 s after the previous
// refresh; the library's clock is moved on by that much once per half-cycle
// (before the last event of a batch), so a cycle takes milliseconds, not 4 s.
#include <dirent.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "LibVestra.h"
#include "common/clock.h"
#include "devlist/refresh_timer.h"
#include "vsim.h"

namespace {

constexpr int kRecorders = VX_LIST_SLOTS;
constexpr long kFlatRssKiB = 1024;

// ---- The library's clock: real time plus what the soak moved it on by ----
std::atomic<uint32_t> g_skew_ms{0};
const auto g_t0 = std::chrono::steady_clock::now();
uint32_t SkewedClock() {
    auto real = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - g_t0)
                    .count();
    return static_cast<uint32_t>(real) + g_skew_ms.load();
}
// Past the debounce: the next device event is acted on at once.
void SkipDebounce() { g_skew_ms += vx::kEventDebounceMs + 1; }

std::string Serial(int i) {
    char s[16];
    std::snprintf(s, sizeof s, "S%07d", 4000 + i);
    return s;
}

// ---- What the callback saw ------------------------------------------------
struct Seen {
    std::mutex lock;
    std::condition_variable changed;
    std::set<std::string> listed;  // serials in use after the last kind-1 call
    std::vector<long> arrivals = std::vector<long>(kRecorders, 0);
    std::vector<long> removals = std::vector<long>(kRecorders, 0);
    long twice = 0;      // an arrival of a listed one, a removal of an unlisted one
    long unchanged = 0;  // a kind-1 call for a list that did not change
    long wrong_sum = 0;  // its value not the number of records in use
    long kind2[3] = {0, 0, 0};
};
Seen g_seen;

int IndexOf(const std::string &serial) {
    for (int i = 0; i < kRecorders; ++i)
        if (Serial(i) == serial) return i;
    return -1;
}

void OnListChange(int32_t kind, int32_t value) {
    if (kind == 2) {
        std::lock_guard<std::mutex> g(g_seen.lock);
        if (value >= 0 && value <= 2) ++g_seen.kind2[value];
        return;
    }
    DevListInfo info[VX_LIST_SLOTS];
    uint32_t n = VX_GetDevAllListInfoFromList(info, VX_LIST_SLOTS);
    std::set<std::string> now;
    for (uint32_t i = 0; i < n; ++i) now.insert(info[i].serial);
    std::lock_guard<std::mutex> g(g_seen.lock);
    if (static_cast<int32_t>(now.size()) != value) ++g_seen.wrong_sum;
    if (now == g_seen.listed) ++g_seen.unchanged;
    for (const std::string &s : now) {
        if (g_seen.listed.count(s)) continue;
        int i = IndexOf(s);
        if (i < 0 || g_seen.arrivals[i] != g_seen.removals[i])
            ++g_seen.twice;
        else
            ++g_seen.arrivals[i];
    }
    for (const std::string &s : g_seen.listed) {
        if (now.count(s)) continue;
        int i = IndexOf(s);
        if (i < 0 || g_seen.removals[i] + 1 != g_seen.arrivals[i])
            ++g_seen.twice;
        else
            ++g_seen.removals[i];
    }
    g_seen.listed = now;
    g_seen.changed.notify_all();
}

// Waits until the callback has seen exactly the first k recorders listed.
// A batch whose events straddled a refresh needs one more debounce.
bool WaitListed(int k) {
    std::set<std::string> want;
    for (int i = 0; i < k; ++i) want.insert(Serial(i));
    std::unique_lock<std::mutex> lk(g_seen.lock);
    for (int tries = 0; tries < 100; ++tries) {
        if (g_seen.changed.wait_for(lk, std::chrono::milliseconds(100),
                                    [&] { return g_seen.listed == want; }))
            return true;
        SkipDebounce();
    }
    return false;
}

// The event thread has taken every event the bus posted.
void WaitEventsTaken() {
    for (int i = 0; i < 1000; ++i) {
        pollfd p{vsim::uevent_fd(), POLLIN, 0};
        if (poll(&p, 1, 0) == 0) break;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// ---- The process's own figures ---------------------------------------------
struct Figures {
    long rss_kib = 0;
    long threads = 0;
    long fds = 0;
};
Figures Measure() {
    Figures f;
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") status >> f.rss_kib;
        if (key == "Threads:") status >> f.threads;
    }
    if (DIR *d = opendir("/proc/self/fd")) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.') ++f.fds;
        closedir(d);
        --f.fds;  // the listing's own
    }
    return f;
}

}  // namespace

int main(int argc, char **argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 2000;
    VX_SetLibLog(VX_LOG_OFF);
    vsim::reset();
    vsim::add_bus("001", 1);
    vx::SetClockForTesting(SkewedClock);

    std::vector<int> ids;
    auto plug = [&](int i) {
        if (i < static_cast<int>(ids.size())) return vsim::plug_again(ids[i]);
        vsim::DeviceSpec spec;
        spec.model = "VX001";
        spec.serial = Serial(i) + "_1";
        spec.id_code = "34" + std::to_string(10000 + i);
        ids.push_back(vsim::plug(spec));
        return ids.back() > 0;
    };
    long plugs = 0, failures = 0;
    auto cycle = [&](int k) {
        for (int i = 0; i < k; ++i) {
            if (i == k - 1) {
                WaitEventsTaken();
                SkipDebounce();
            }
            plugs += plug(i) ? 1 : 0;
        }
        if (!WaitListed(k)) ++failures;
        for (int i = 0; i < k; ++i) {
            if (i == k - 1) {
                WaitEventsTaken();
                SkipDebounce();
            }
            vsim::unplug(ids[i]);
        }
        if (!WaitListed(0)) ++failures;
        vsim::clear_record();  // the bus's traffic record, not the library's
    };

    VX_InitDevListPthreadEx(OnListChange);
    SkipDebounce();
    if (!WaitListed(0)) ++failures;

    std::atomic<bool> stop{false};
    std::atomic<long> ops_ok{0}, ops_failed{0}, reads{0}, torn{0};
    std::thread host([&] {  // operations on whatever is listed
        for (int slot = 0; !stop.load(); slot = (slot + 1) % kRecorders) {
            VestraInfo *h = VX_GetDevHandleFromList(slot);
            if (h == nullptr || VX_CheckDevHandle(h) != 1) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            char name[VX_TEXT_AREA] = {};
            (VX_GetDevName(h, "888888", name) == 1 ? ops_ok : ops_failed)++;
        }
    });
    std::thread reader([&] {  // one consistent view of the list at a time
        while (!stop.load()) {
            DevListInfo info[VX_LIST_SLOTS];
            VX_ListEnterCriticalSection();
            int32_t sum = VX_GetDevListSum();
            uint32_t n = VX_GetDevAllListInfoFromList(info, VX_LIST_SLOTS);
            for (uint32_t i = 0; i < n; ++i)
                if (info[i].handle == nullptr || info[i].serial[0] == '\0') ++torn;
            if (sum < 0 || sum > VX_LIST_SLOTS) ++torn;
            VX_ListLeaveCriticalSection();
            ++reads;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    cycle(kRecorders);  // warm-up: every recorder made and listed once
    const Figures start = Measure();
    Figures half = start;
    const auto t0 = std::chrono::steady_clock::now();
    for (int c = 1; c <= cycles; ++c) {
        cycle(1 + (c * 37) % kRecorders);  // 1 to 50 recorders, all counts in turn
        if (c == cycles / 2) half = Measure();
    }
    const Figures end = Measure();
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    stop = true;
    host.join();
    reader.join();

    std::printf("%-22s %10s %8s %8s\n", "point", "RSS KiB", "fds", "threads");
    std::printf("%-22s %10ld %8ld %8ld\n", "start (after warm-up)", start.rss_kib, start.fds,
                start.threads);
    std::printf("%-22s %10ld %8ld %8ld\n", ("after " + std::to_string(cycles / 2)).c_str(),
                half.rss_kib, half.fds, half.threads);
    std::printf("%-22s %10ld %8ld %8ld\n", ("after " + std::to_string(cycles)).c_str(), end.rss_kib,
                end.fds, end.threads);

    std::lock_guard<std::mutex> g(g_seen.lock);
    long arrivals = 0, removals = 0;
    for (int i = 0; i < kRecorders; ++i) {
        arrivals += g_seen.arrivals[i];
        removals += g_seen.removals[i];
    }
    std::printf(
        "cycles %d in %.1f s; plugs %ld; arrivals seen %ld, removals seen %ld; "
        "seen twice %ld; unchanged-list calls %ld; wrong DevSum %ld; kind-2 calls "
        "%ld arrival, %ld removal; missed %ld\n",
        cycles, secs, plugs, arrivals, removals, g_seen.twice, g_seen.unchanged, g_seen.wrong_sum,
        g_seen.kind2[1], g_seen.kind2[2], failures);
    std::printf("host operations %ld ok, %ld failed; list reads %ld, torn %ld\n", ops_ok.load(),
                ops_failed.load(), reads.load(), torn.load());

    bool flat = end.rss_kib - start.rss_kib < kFlatRssKiB && end.fds == start.fds &&
                end.threads == start.threads;
    bool counted = arrivals == plugs && removals == plugs && g_seen.twice == 0 &&
                   g_seen.unchanged == 0 && g_seen.wrong_sum == 0 && failures == 0 &&
                   torn.load() == 0;
    std::printf("%s\n", flat && counted ? "flat, every arrival and removal seen once"
                                        : (flat ? "NOT ACCOUNTED FOR" : "NOT FLAT"));
    return flat && counted ? 0 : 1;
}
