// A host that crashes, for the crash dump tests. Modes:
//   monitor        start the monitor, then fault (SIGSEGV)
//   own-handler    start the monitor, install its own SIGSEGV handler (with
//                  sigaction and with signal), then fault
//   dlopen         load the library with dlopen as ctypes does, start the
//                  monitor through dlsym, install its own handler, then fault
//   abort          start the monitor, then abort()
//   no-monitor     fault without starting the monitor
// and hosts with a SIGSEGV (or SIGABRT) action of their own installed before
// the monitor, which the collector must hand the fault to first:
//   resume-elsewhere, longjmp, longjmp-thread  resolve kPlanned faults
//                  (a rewritten context; siglongjmp on the main thread and on
//                  a thread without an alternate stack), then leave one
//                  unresolved
//   returns-unchanged, reraise, reraise-nodefer, reraise-noreturn, ignored,
//   abort-reraise
//                  leave the first one unresolved
//   fix-memory     make the faulting page accessible and return: exits 0
//   two-threads    no action of its own; two threads fault at once
//   log-dir        choose the log folder (VX_CRASH_LOG_DIR), then fault
//   zone-log       start the monitor in UTC, move to UTC+9, write one log
//                  line, then fault (the dump is named in UTC+9)
//   zone-refresh   start the monitor and refresh thread in UTC, move to
//                  UTC+9, fault after the first refresh (named in UTC+9)
//   zone-dst       the log off, the monitor alone, started in a zone whose
//                  daylight time (UTC+1) begins 2 s later; after the change
//                  one operation that would log, then fault (named in UTC+1)
//   dump-link      plant links to target.txt under every name the dump could
//                  have in the next seconds, then fault (no dump, target kept)
// Every mode runs with umask 0, so a file's mode is the one the library asks.
#include <atomic>
#include <chrono>
#include <csignal>
#include <pthread.h>
#include <setjmp.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <ucontext.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <dlfcn.h>
#include <unistd.h>

#include "LibVestra.h"

namespace {
void OwnHandler(int) {
    static const char kText[] = "own handler ran\n";
    (void)!::write(2, kText, sizeof kText - 1);
    ::_exit(42);
}
void InstallOwn() {
    struct sigaction sa {};
    sa.sa_handler = OwnHandler;
    ::sigaction(SIGSEGV, &sa, nullptr);
    ::signal(SIGSEGV, OwnHandler);
}
// The address comes from outside the compiler's view, so the store is a
// real fault and not an optimised-out null dereference.
[[gnu::noinline]] void Fault() {
    auto *p = reinterpret_cast<volatile int *>(std::strtoul(
        std::getenv("VX_FAULT_ADDRESS") ? std::getenv("VX_FAULT_ADDRESS") : "0x10", nullptr, 0));
    *p = 1;
}

void Say(const char *text) { (void)!::write(2, text, std::strlen(text)); }

void SayCount(const char *what, int n) {
    char line[64];
    int len = std::snprintf(line, sizeof line, "%s %d\n", what, n);
    (void)!::write(2, line, static_cast<std::size_t>(len));
}

constexpr int kPlanned = 1000;
volatile sig_atomic_t g_resolve = 1;
volatile sig_atomic_t g_resolved = 0;
sigjmp_buf g_env;

void Install(int sig, void (*handler)(int, siginfo_t *, void *), int flags) {
    struct sigaction sa {};
    sa.sa_sigaction = handler;
    sa.sa_flags = SA_SIGINFO | flags;
    ::sigaction(sig, &sa, nullptr);
}

// As Mono and the JVM do: the thread resumes in another function, on its
// own stack as if that function had just been called.
[[noreturn]] void Resumed();
void RewriteContext(int, siginfo_t *, void *context) {
    if (!g_resolve) return;
#if defined(__x86_64__)
    auto *uc = static_cast<ucontext_t *>(context);
    uc->uc_mcontext.gregs[REG_RIP] = reinterpret_cast<greg_t>(&Resumed);
    uc->uc_mcontext.gregs[REG_RSP] = (uc->uc_mcontext.gregs[REG_RSP] & ~greg_t{15}) - 8;
#endif
}
void Resumed() {
    g_resolved = g_resolved + 1;  // not ++: deprecated on a volatile
    if (g_resolved == kPlanned) {
        SayCount("resolved", g_resolved);
        g_resolve = 0;
    }
    Fault();
    ::_exit(3);
}

void JumpBack(int, siginfo_t *, void *) {
    if (g_resolve) ::siglongjmp(g_env, 1);
}

// Planned faults, each recovered by the handler's siglongjmp; the last one
// is not.
void *FaultsRecoveredByJump(void *) {
    while (g_resolved < kPlanned) {
        if (sigsetjmp(g_env, 1) == 0) Fault();
        g_resolved = g_resolved + 1;
    }
    SayCount("resolved", g_resolved);
    g_resolve = 0;
    Fault();
    return nullptr;
}

void Report(int, siginfo_t *, void *) {
    Say("earlier handler ran\n");
    if (g_resolve) ::raise(SIGSEGV);  // g_resolve: re-raise after the report
}

// As abort() inside Mono's SIGABRT handler: raise, and never return.
void RaiseAndExit(int, siginfo_t *, void *) {
    Say("earlier handler ran\n");
    ::raise(SIGSEGV);
    ::_exit(7);
}

void ReportAbort(int) {
    Say("earlier handler ran\n");
    ::raise(SIGABRT);
}

long g_page = 0;
char *g_pages = nullptr;  // [no access][read only]
void GrantAccess(int, siginfo_t *info, void *) {
    auto page = reinterpret_cast<uintptr_t>(info->si_addr) & ~static_cast<uintptr_t>(g_page - 1);
    int prot = reinterpret_cast<char *>(page) == g_pages ? PROT_READ : PROT_READ | PROT_WRITE;
    ::mprotect(reinterpret_cast<void *>(page), static_cast<std::size_t>(g_page), prot);
}

pthread_barrier_t g_both;
void *FaultTogether(void *) {
    pthread_barrier_wait(&g_both);
    Fault();
    return nullptr;
}

int FaultOnThreads(int count, void *(*body)(void *)) {
    pthread_t threads[2];
    for (int i = 0; i < count; ++i) pthread_create(&threads[i], nullptr, body, nullptr);
    for (int i = 0; i < count; ++i) pthread_join(threads[i], nullptr);
    return 4;
}

// Beside the executable, as the dump goes there.
void PlantDumpLinks() {
    char exe[4096] = {};
    if (::readlink("/proc/self/exe", exe, sizeof exe - 1) <= 0) return;
    std::string dir = exe;
    dir.erase(dir.rfind('/'));
    std::string target = dir + "/target.txt";
    if (std::FILE *f = std::fopen(target.c_str(), "w")) {
        std::fputs("untouched\n", f);
        std::fclose(f);
    }
    for (std::time_t t = std::time(nullptr) - 1, end = t + 12; t <= end; ++t) {
        std::tm tm{};
        ::localtime_r(&t, &tm);
        char name[64];
        std::strftime(name, sizeof name, "/TarnbyCrash-%Y%m%d %H%M%S.dmp", &tm);
        (void)!::symlink(target.c_str(), (dir + name).c_str());
    }
}

// A zone of UTC+0 whose daylight time (UTC+1) begins in_s seconds from now
// and lasts 100 days (the start's day of the year counts from 0).
std::string ZoneWithChangeIn(int in_s) {
    std::time_t at = std::time(nullptr) + in_s;
    std::tm tm{};
    ::gmtime_r(&at, &tm);
    char rule[96];
    std::snprintf(rule, sizeof rule, "XST0XDT-1,%d/%02d:%02d:%02d,%d/0", tm.tm_yday, tm.tm_hour,
                  tm.tm_min, tm.tm_sec, (tm.tm_yday + 100) % 365);
    return rule;
}

// Installs the host's own action before the monitor starts, if the mode has
// one.
void PrepareHost(const std::string &mode) {
    if (mode == "resume-elsewhere") Install(SIGSEGV, RewriteContext, 0);
    if (mode == "longjmp" || mode == "longjmp-thread") Install(SIGSEGV, JumpBack, 0);
    if (mode == "returns-unchanged") {
        g_resolve = 0;
        Install(SIGSEGV, Report, 0);
    }
    if (mode == "reraise") Install(SIGSEGV, Report, 0);
    if (mode == "reraise-nodefer") Install(SIGSEGV, Report, SA_NODEFER);
    if (mode == "reraise-noreturn") Install(SIGSEGV, RaiseAndExit, 0);
    if (mode == "ignored") ::signal(SIGSEGV, SIG_IGN);
    if (mode == "abort-reraise") ::signal(SIGABRT, ReportAbort);
    if (mode == "fix-memory") {
        g_page = ::sysconf(_SC_PAGESIZE);
        void *p = ::mmap(nullptr, static_cast<std::size_t>(2 * g_page), PROT_NONE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        g_pages = static_cast<char *>(p);
        ::mprotect(g_pages + g_page, static_cast<std::size_t>(g_page), PROT_READ);
        Install(SIGSEGV, GrantAccess, 0);
    }
    if (mode == "two-threads") pthread_barrier_init(&g_both, nullptr, 2);
    if (mode == "log-dir") VX_SetLibLogDir(std::getenv("VX_CRASH_LOG_DIR"));
    if (mode == "dump-link") PlantDumpLinks();
}

// After the monitor start: the planned faults.
int RunHost(const std::string &mode) {
    if (mode == "resume-elsewhere") Fault();
    if (mode == "longjmp") FaultsRecoveredByJump(nullptr);
    if (mode == "longjmp-thread") return FaultOnThreads(1, FaultsRecoveredByJump);
    if (mode == "abort" || mode == "abort-reraise") std::abort();
    if (mode == "two-threads") return FaultOnThreads(2, FaultTogether);
    if (mode == "fix-memory") {
        volatile char *pages = g_pages;
        char seen = pages[0];  // a read of a page with no access
        pages[g_page] = 'w';   // a write to a read-only page
        Say(pages[g_page] == 'w' && seen == 0 ? "written\n" : "not written\n");
        return 0;
    }
    Fault();
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    std::string mode = argv[1];
    ::umask(0);
    VX_SetLibLog(VX_LOG_OFF);
    if (mode == "dlopen") {
        void *lib = ::dlopen(argc > 2 ? argv[2] : "LibVestra.so", RTLD_NOW | RTLD_LOCAL);
        if (lib == nullptr) return 3;
        auto start = reinterpret_cast<void (*)()>(::dlsym(lib, "VX_InitDevListPthread"));
        if (start == nullptr) return 4;
        start();
        InstallOwn();
        Fault();
    }
    if (mode == "no-monitor") Fault();
    if (mode == "zone-log" || mode == "zone-refresh") {
        static std::atomic<bool> refreshed{false};
        ::setenv("TZ", "UTC0", 1);
        if (mode == "zone-log") VX_InitDevListPthread();
        if (mode == "zone-refresh")
            VX_InitDevListPthreadEx([](int32_t kind, int32_t) { refreshed = kind == 2; });
        ::setenv("TZ", "XST-9", 1);  // before the first refresh, 2 s after the start
        if (mode == "zone-log") {
            VX_SetLibLog(VX_LOG_FILE);
            VX_GetDevName(nullptr, "", nullptr);  // logs "No Find Device"
        }
        for (int i = 0; mode == "zone-refresh" && !refreshed.load() && i < 3000; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Fault();
    }
    if (mode == "zone-dst") {
        ::setenv("TZ", ZoneWithChangeIn(2).c_str(), 1);
        std::time_t change = std::time(nullptr) + 2;
        VX_InitDevListPthread();                               // UTC+0 noted
        while (std::time(nullptr) <= change) ::usleep(50000);  // daylight time now
        VX_GetDevName(nullptr, "", nullptr);                   // would log "No Find Device"
        Fault();
    }
    PrepareHost(mode);
    VX_InitDevListPthread();
    if (mode == "own-handler") InstallOwn();
    return RunHost(mode);
}
