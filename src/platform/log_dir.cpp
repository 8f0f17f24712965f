#include "platform/log_dir.h"

#include <atomic>
#include <cstring>
#include <mutex>

namespace vx::platform {

namespace {

// A sequence lock: odd while the area changes. Every byte is an atomic, so a
// reader racing a change reads a torn text it then throws away, never an
// undefined one.
std::atomic<unsigned> g_seq{0};
std::atomic<std::size_t> g_length{0};
std::atomic<char> g_area[kLogDirArea];
constexpr int kReadAttempts = 8;

}  // namespace

std::mutex &SetterLock() {
    static std::mutex lock;
    return lock;
}

bool SetLogDir(const char *dir) {
    std::size_t n = dir != nullptr ? ::strnlen(dir, kLogDirArea) : 0;
    if (n >= kLogDirArea) return false;
    std::lock_guard<std::mutex> guard(SetterLock());
    g_seq.fetch_add(1);  // odd: changing
    for (std::size_t i = 0; i < n; ++i) g_area[i].store(dir[i], std::memory_order_relaxed);
    g_length.store(n, std::memory_order_relaxed);
    g_seq.fetch_add(1);  // even: settled
    return true;
}

std::size_t CopyLogDir(char *out, std::size_t capacity) {
    if (capacity == 0) return 0;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        unsigned before = g_seq.load(std::memory_order_acquire);
        if ((before & 1) != 0) continue;
        std::size_t n = g_length.load(std::memory_order_relaxed);
        if (n >= capacity) break;
        for (std::size_t i = 0; i < n; ++i) out[i] = g_area[i].load(std::memory_order_relaxed);
        out[n] = '\0';
        std::atomic_thread_fence(std::memory_order_acquire);
        if (g_seq.load(std::memory_order_relaxed) == before) return n;
    }
    out[0] = '\0';
    return 0;
}

}  // namespace vx::platform
