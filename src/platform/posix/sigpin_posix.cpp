// The pin: the first bytes of libc's sigaction become an absolute jump to
// PinnedSigaction. A patch of the code, not of a symbol binding, so it holds
// for every caller: the host, libraries it loads later, a host that loaded
// this library with dlopen, and sanitizer runtimes that forward to libc.
// The filter does what libc's sigaction does (the kernel call with libc's
// signal-return trampoline) for every other signal.
#include "platform/posix/sigpin_posix.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vx::platform {

#if defined(__x86_64__) && defined(__linux__)

namespace {

// The kernel's struct sigaction on x86_64 (not libc's).
struct KernelSigaction {
    void *handler;
    unsigned long flags;
    void *restorer;
    uint64_t mask;
};
constexpr unsigned long kSaRestorer = 0x04000000;
constexpr int kMaxSignal = 64;
// libc keeps these for its threads and refuses them to the program.
constexpr int kLibcInternal1 = 32, kLibcInternal2 = 33;

std::atomic<uint64_t> g_pinned{0};  // bit n: signal n is pinned
std::atomic<void *> g_restorer{nullptr};

bool Pinned(int sig) {
    return sig > 0 && sig <= kMaxSignal && ((g_pinned.load() >> (sig - 1)) & 1) != 0;
}

int RawSigaction(int sig, const KernelSigaction *act, KernelSigaction *old) {
    return static_cast<int>(::syscall(SYS_rt_sigaction, sig, act, old, sizeof(uint64_t)));
}

void ToLibc(const KernelSigaction &k, struct sigaction *out) {
    std::memset(out, 0, sizeof *out);
    out->sa_handler = reinterpret_cast<void (*)(int)>(k.handler);
    out->sa_flags = static_cast<int>(k.flags);
    std::memcpy(&out->sa_mask, &k.mask, sizeof k.mask);
    out->sa_restorer = reinterpret_cast<void (*)()>(k.restorer);
}

extern "C" int PinnedSigaction(int sig, const struct sigaction *act, struct sigaction *old) {
    if (sig <= 0 || sig > kMaxSignal || sig == kLibcInternal1 || sig == kLibcInternal2) {
        errno = EINVAL;
        return -1;
    }
    KernelSigaction kold{};
    if (act != nullptr && Pinned(sig)) {
        // Refused quietly: the caller sees success and the action in force.
        if (old != nullptr) {
            if (RawSigaction(sig, nullptr, &kold) < 0) return -1;
            ToLibc(kold, old);
        }
        return 0;
    }
    KernelSigaction knew{};
    if (act != nullptr) {
        knew.handler = reinterpret_cast<void *>(act->sa_handler);
        knew.flags = static_cast<unsigned long>(act->sa_flags) | kSaRestorer;
        knew.restorer = g_restorer.load();
        std::memcpy(&knew.mask, &act->sa_mask, sizeof knew.mask);
    }
    int r = RawSigaction(sig, act != nullptr ? &knew : nullptr, old != nullptr ? &kold : nullptr);
    if (r < 0) return -1;
    if (old != nullptr) ToLibc(kold, old);
    return 0;
}

bool WriteJump(void *entry, void *target) {
    unsigned char patch[14] = {0xFF, 0x25, 0, 0, 0, 0};  // jmp *0(%rip)
    auto addr = reinterpret_cast<uint64_t>(target);
    std::memcpy(patch + 6, &addr, sizeof addr);
    long page = ::sysconf(_SC_PAGESIZE);
    auto start = reinterpret_cast<uintptr_t>(entry) & ~static_cast<uintptr_t>(page - 1);
    auto end = reinterpret_cast<uintptr_t>(entry) + sizeof patch;
    size_t len = end - start;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the page of entry itself
    if (::mprotect(reinterpret_cast<void *>(start), len, PROT_READ | PROT_WRITE | PROT_EXEC) != 0)
        return false;  // W^X enforced: no pin, the handler still works
    std::memcpy(entry, patch, sizeof patch);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the page of entry itself
    ::mprotect(reinterpret_cast<void *>(start), len, PROT_READ | PROT_EXEC);
    __builtin___clear_cache(static_cast<char *>(entry), static_cast<char *>(entry) + sizeof patch);
    return true;
}

}  // namespace

bool PinSignals(const int *signals, int count) {
    // libc's signal-return trampoline, as the kernel holds it for the
    // handler just installed through libc.
    KernelSigaction current{};
    if (count <= 0 || RawSigaction(signals[0], nullptr, &current) < 0 ||
        current.restorer == nullptr)
        return false;
    g_restorer.store(current.restorer);
    uint64_t bits = 0;
    for (int i = 0; i < count; ++i) bits |= uint64_t{1} << (signals[i] - 1);
    g_pinned.store(bits);

    // The C library's own entry, however this library was loaded.
    void *libc = ::dlopen("libc.so.6", RTLD_NOW | RTLD_NOLOAD);
    void *entry = libc != nullptr ? ::dlsym(libc, "sigaction") : nullptr;
    if (entry == nullptr) return false;
    return WriteJump(entry, reinterpret_cast<void *>(&PinnedSigaction));
}

#else

bool PinSignals(const int *, int) { return false; }

#endif

}  // namespace vx::platform
