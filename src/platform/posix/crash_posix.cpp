// The crash dump collector: a handler for the fatal signals, on an alternate
// stack. It hands each signal first to the action that was in force before
// it (see crash_chain_posix.h); a fault that action leaves unresolved gets a
// text dump (signal, fault address, registers, backtrace, memory map) in the
// log folder, written with async-signal-safe calls only, and the process then
// dies by the same signal.
#include <atomic>
#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include "platform/log_dir.h"
#include "platform/platform.h"
#include "platform/posix/crash_chain_posix.h"
#include "platform/posix/crash_writer_posix.h"
#include "platform/posix/sigpin_posix.h"

namespace vx::platform {

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr int kPathArea = 4096;
constexpr std::size_t kAltStackSize = std::size_t{64} * 1024;
constexpr int kMaxFrames = 64;

char g_exe_dir[kPathArea];           // filled before the handler is installed
char g_dump_dir[kPathArea];          // used by the one thread that writes the dump
std::atomic<long> g_zone_offset{0};  // local time minus UTC, seconds
std::atomic<long> g_dump_owner{0};   // kernel id of the thread writing the dump
std::atomic<bool> g_dump_done{false};

const char *SignalName(int sig) {
    switch (sig) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGILL:
        return "SIGILL";
    case SIGFPE:
        return "SIGFPE";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "?";
    }
}

void WriteAll(int fd, const char *p, std::size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w <= 0) return;
        p += w;
        n -= static_cast<std::size_t>(w);
    }
}

void Emit(int fd, const SafeText &t) { WriteAll(fd, t.Str(), t.Size()); }

void WriteRegisters(int fd, const void *context) {
    char buf[1024];
    SafeText t(buf, sizeof buf);
    t.Put("registers:\n");
#if defined(__x86_64__)
    const auto *uc = static_cast<const ucontext_t *>(context);
    static const struct {
        const char *name;
        int index;
    } kRegs[] = {{"rip", REG_RIP}, {"rsp", REG_RSP},   {"rbp", REG_RBP}, {"rax", REG_RAX},
                 {"rbx", REG_RBX}, {"rcx", REG_RCX},   {"rdx", REG_RDX}, {"rsi", REG_RSI},
                 {"rdi", REG_RDI}, {"r8", REG_R8},     {"r9", REG_R9},   {"r10", REG_R10},
                 {"r11", REG_R11}, {"r12", REG_R12},   {"r13", REG_R13}, {"r14", REG_R14},
                 {"r15", REG_R15}, {"eflags", REG_EFL}};
    for (const auto &r : kRegs)
        t.Put("  ")
            .Put(r.name)
            .Put(" ")
            .Hex(static_cast<uint64_t>(uc->uc_mcontext.gregs[r.index]))
            .Put("\n");
#elif defined(__aarch64__)
    const auto *uc = static_cast<const ucontext_t *>(context);
    for (int i = 0; i < 31; ++i)
        t.Put("  x").Dec(i).Put(" ").Hex(uc->uc_mcontext.regs[i]).Put("\n");
    t.Put("  sp ").Hex(uc->uc_mcontext.sp).Put("\n  pc ").Hex(uc->uc_mcontext.pc).Put("\n");
#else
    (void)context;
    t.Put("  (not recorded on this architecture)\n");
#endif
    Emit(fd, t);
}

void CopyFileTo(int fd, const char *path) {
    int in = ::open(path, O_RDONLY | O_CLOEXEC);
    if (in < 0) return;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(in, buf, sizeof buf)) > 0) WriteAll(fd, buf, static_cast<std::size_t>(n));
    ::close(in);
}

void WriteCrashDump(const char *name, int sig, siginfo_t *info, void *context) {
    // No access for others, and never through a link planted in its place.
    int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0640);
    if (fd < 0 && errno == ELOOP) {
        static const char kLink[] =
            "LibVestra: the crash dump's name is a symbolic link; no dump\n";
        WriteAll(2, kLink, sizeof kLink - 1);
    }
    if (fd < 0) return;  // an unwritable folder leaves no dump
    char buf[512];
    SafeText t(buf, sizeof buf);
    t.Put("LibVestra crash dump\nsignal: ").Dec(sig).Put(" (").Put(SignalName(sig)).Put(")");
    t.Put(" code ").Dec(info != nullptr ? info->si_code : 0).Put("\nfault address: ");
    t.Hex(info != nullptr ? reinterpret_cast<uint64_t>(info->si_addr) : 0);
    t.Put("\nprocess: ").Dec(::getpid()).Put(" thread: ").Dec(::syscall(SYS_gettid)).Put("\n");
    Emit(fd, t);
    if (context != nullptr) WriteRegisters(fd, context);
    static const char kTrace[] = "backtrace:\n";
    WriteAll(fd, kTrace, sizeof kTrace - 1);
    void *frames[kMaxFrames];
    int n = ::backtrace(frames, kMaxFrames);
    ::backtrace_symbols_fd(frames, n, fd);
    static const char kMaps[] = "memory map:\n";
    WriteAll(fd, kMaps, sizeof kMaps - 1);
    CopyFileTo(fd, "/proc/self/maps");
    ::close(fd);
}

// The default action back, by the kernel call: the pin refuses libc's.
void RestoreDefaultAction(int sig) {
    struct {
        void *handler;
        unsigned long flags;
        void *restorer;
        uint64_t mask;
    } dfl{};  // the kernel's layout; SIG_DFL is a null handler
    ::syscall(SYS_rt_sigaction, sig, &dfl, nullptr, sizeof dfl.mask);
}

// One dump per process, by the first thread with an unresolved fault; any
// other such thread waits for it (never returning into its fault with the
// collector in force), then all end by the default action. A fault of the
// writing thread inside the dump goes straight to the default action.
// The dump shows info and context; how the process ends follows this
// delivery (sent: raised again at once; a fault: faults again on return).
[[gnu::noinline]] void DumpOnceAndEnd(int sig, siginfo_t *info, void *context, bool sent) {
    long me = ::syscall(SYS_gettid);
    long owner = 0;
    if (g_dump_owner.compare_exchange_strong(owner, me)) {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        if (CopyLogDir(g_dump_dir, sizeof g_dump_dir) == 0)
            std::memcpy(g_dump_dir, g_exe_dir, sizeof g_dump_dir);
        char name[kPathArea + 64];
        CrashDumpName(g_dump_dir, static_cast<int64_t>(now.tv_sec) + g_zone_offset.load(), name,
                      sizeof name);
        WriteCrashDump(name, sig, info, context);
        g_dump_done.store(true);
    } else if (owner != me) {
        const timespec pause{0, 1000000};
        while (!g_dump_done.load()) ::nanosleep(&pause, nullptr);
    }
    RestoreDefaultAction(sig);
    // A fault returns to the faulting instruction and faults again; a signal
    // sent by raise/kill/abort is sent once more and arrives as soon as it is
    // unblocked here.
    if (sent) {
        ::syscall(SYS_tgkill, ::getpid(), me, sig);
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, sig);
        ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    }
}

void CrashHandler(int sig, siginfo_t *info, void *context) {
    int saved_errno = errno;
    bool sent = info == nullptr || info->si_code <= 0;
    CalledFor called_for;
    switch (OfferToEarlierAction(sig, info, context, &called_for)) {
    case EarlierVerdict::kResolved:
        break;
    case EarlierVerdict::kUnresolved:
        DumpOnceAndEnd(sig, info, context, sent);
        break;
    case EarlierVerdict::kReraised:
        DumpOnceAndEnd(sig, called_for.info, called_for.context, true);
        break;
    }
    errno = saved_errno;
}

void SetAltStack() {
    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) == 0)
        return;  // keep the host's
    stack_t st{};
    st.ss_sp = new char[kAltStackSize];  // for the thread's life; never freed
    st.ss_size = kAltStackSize;
    ::sigaltstack(&st, nullptr);
}

}  // namespace

void NoteLocalTimeOffset() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (LocalFields(now, &local)) g_zone_offset.store(local.tm_gmtoff);
}

void NoteLocalTimeOffset(const std::tm &local) { g_zone_offset.store(local.tm_gmtoff); }

void PrepareThreadForCrashes() { SetAltStack(); }

void InstallCrashHandler(bool *pinned) {
    std::string dir = HostExeDir();
    if (dir.empty()) dir.push_back('.');  // not = ".": a false -Wrestrict in GCC 12
    std::strncpy(g_exe_dir, dir.c_str(), sizeof g_exe_dir - 1);
    NoteLocalTimeOffset();
    // backtrace() loads its unwinder on first use; do that now, not in the handler.
    void *warm[2];
    ::backtrace(warm, 2);
    SetAltStack();

    // Not one-shot: a fault an earlier handler resolves leaves the collector
    // in force for the next one; the dump path restores the default itself.
    struct sigaction sa {};
    sa.sa_sigaction = CrashHandler;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    for (int sig : kFatalSignals) {
        RecordEarlierAction(sig);
        ::sigaction(sig, &sa, nullptr);
    }
    *pinned =
        PinSignals(kFatalSignals, static_cast<int>(sizeof kFatalSignals / sizeof kFatalSignals[0]));
}

}  // namespace vx::platform
